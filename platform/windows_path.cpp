#include "platform/windows_path.h"

#include <cctype>
#include <string_view>

namespace brisko {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool wildcardMatches(const char* mask, const char* name) {
    // Iterative matcher with one backtrack point: linear in practice.
    const char* starMask = nullptr;
    const char* starName = nullptr;
    while (*name != '\0') {
        if (*mask == '*') {
            starMask = ++mask;
            starName = name;
        } else if (*mask == '?' || (*mask != '\0' && upper(*mask) == upper(*name))) {
            ++mask;
            ++name;
        } else if (starMask != nullptr) {
            mask = starMask;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*mask == '*') ++mask;
    return *mask == '\0';
}

bool usableInShortName(char c) {
    return static_cast<unsigned char>(c) > ' ' && std::string_view("\"*+,./:;<=>?[\\]|").find(c) == std::string_view::npos;
}

bool isShortName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    for (char c : base + extension) {
        if (!usableInShortName(c)) return false;
    }
    return true;
}

std::string usablePart(const std::string& text, std::size_t most) {
    std::string kept;
    for (char c : text) {
        if (kept.size() == most) break;
        if (usableInShortName(c)) kept += upper(c);
    }
    return kept;
}

}  // namespace

std::string shortNameOf(const std::string& name) {
    if (name == "." || name == ".." || isShortName(name)) return name;
    const std::size_t dot = name.rfind('.');
    const std::string base = usablePart(name.substr(0, dot), 6);
    const std::string extension = dot == std::string::npos ? "" : usablePart(name.substr(dot + 1), 3);
    return base + "~1" + (extension.empty() ? "" : "." + extension);
}

char driveLetterOf(const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return 0;
    const char letter = upper(windowsPath[0]);
    return (letter >= 'A' && letter <= 'Z') ? letter : 0;
}

std::vector<std::string> pathComponents(const std::string& windowsPath) {
    std::vector<std::string> components;
    // Resolved as Windows does before it looks at the disk; ".." at the
    // root stays there, so no path climbs out of a drive's host folder.
    const auto add = [&components](const std::string& name) {
        if (name.empty() || name == ".") return;
        if (name != "..") {
            components.push_back(name);
        } else if (!components.empty()) {
            components.pop_back();
        }
    };
    std::string current;
    for (std::size_t i = driveLetterOf(windowsPath) != 0 ? 2 : 0; i < windowsPath.size(); ++i) {
        if (isSeparator(windowsPath[i])) {
            add(current);
            current.clear();
        } else {
            current += windowsPath[i];
        }
    }
    add(current);
    return components;
}

bool climbsToParent(const std::string& windowsPath) {
    std::size_t start = driveLetterOf(windowsPath) != 0 ? 2 : 0;
    while (start <= windowsPath.size()) {
        std::size_t end = start;
        while (end < windowsPath.size() && !isSeparator(windowsPath[end])) ++end;
        if (windowsPath.compare(start, end - start, "..") == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string pathKey(const std::string& windowsPath) {
    std::string key;
    if (const char letter = driveLetterOf(windowsPath); letter != 0) {
        key += letter;
        key += ':';
    }
    for (const std::string& component : pathComponents(windowsPath)) {
        key += '\\';
        for (char c : component) key += upper(c);
    }
    return key;
}

bool namesEqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

bool maskMatches(const std::string& mask, const std::string& name) {
    if (mask == "*.*") return true;
    return wildcardMatches(mask.c_str(), name.c_str());
}

}  // namespace brisko
