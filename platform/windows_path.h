#pragma once
// Windows path rules the backends over host folders need: separators, drive
// letters and the case-blind comparison of names.
#include <string>
#include <vector>

namespace brisko {

// Drive letter of a path such as "c:\dir" in capitals, or 0 without one.
char driveLetterOf(const std::string& windowsPath);
// The names after the drive, split at '\' and '/', empty names and "."
// dropped, each ".." taking away the name before it.
std::vector<std::string> pathComponents(const std::string& windowsPath);
// Whether any name of the path is "..".
bool climbsToParent(const std::string& windowsPath);
// The path with '/' turned into '\' and letters in capitals: two paths that
// name the same file on Windows give the same key.
std::string pathKey(const std::string& windowsPath);
bool namesEqualIgnoringCase(const std::string& a, const std::string& b);
// Matches a name against a search mask with '*' and '?', ignoring case;
// "*.*" matches every name, with or without a dot, as on Windows.
bool maskMatches(const std::string& mask, const std::string& name);
// The short (8.3) name of a file name: the name itself when it already is
// one, else the first six usable characters in capitals, "~1" and the first
// three of its extension. Clashes between names are not resolved.
std::string shortNameOf(const std::string& name);

}  // namespace brisko
