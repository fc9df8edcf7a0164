#include "cleanup/service_image_cleanup.h"

#include <algorithm>
#include <memory>

#include "base/text_compare.h"
#include "cleanup/registry_values.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr std::uint32_t kKeyNameOffered = 256;
constexpr const char* kServices = "\\Services";

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && equalIgnoringCase(text.c_str(), prefix.c_str(), prefix.size());
}

// The image path as a full path of drive C: and whatever follows it.
std::string fullImagePath(std::string path, const std::string& windowsFolder) {
    if (!path.empty() && path.front() == '"') path.erase(0, 1);
    for (const char* root : {"\\SystemRoot\\", "%SystemRoot%\\"}) {
        if (startsWithIgnoringCase(path, root)) return windowsFolder + "\\" + path.substr(std::string(root).size());
    }
    if (startsWithIgnoringCase(path, "\\??\\")) return path.substr(4);
    // "System32\drivers\x.sys": relative to the Windows folder.
    if (path.size() < 2 || path[1] != ':') return windowsFolder + "\\" + path;
    return path;
}

// The names of a key's subkeys; none when it does not open.
std::vector<std::string> subkeysOf(const std::string& keyName) {
    std::vector<std::string> names;
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName.c_str(), kKeyRead, RegistryView::kDefault, key) != kErrorSuccess) {
        return names;
    }
    char name[kKeyNameOffered];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t capacity = sizeof name;
        if (key->subkeyNameAt(index, name, capacity) != kErrorSuccess) break;
        names.emplace_back(name, capacity);
    }
    return names;
}

// Deletes a key with everything under it; false when any part stays.
bool deleteKeyTree(const std::string& keyName) {
    bool whole = true;
    for (const std::string& subkey : subkeysOf(keyName)) whole = deleteKeyTree(keyName + "\\" + subkey) && whole;
    return registry().deleteMachineKey(keyName.c_str()) == kErrorSuccess && whole;
}

}  // namespace

bool imagePathNames(const std::string& imagePath, const std::string& file, const std::string& windowsFolder) {
    const std::string path = fullImagePath(imagePath, windowsFolder);
    if (!startsWithIgnoringCase(path, file)) return false;
    // The file's whole name, not the start of a longer one.
    return path.size() == file.size() || path[file.size()] == ' ' || path[file.size()] == '"';
}

std::vector<std::string> deleteServicesRunning(const std::string& file, const std::string& windowsFolder) {
    std::vector<std::string> deleted;
    for (const std::string& set : subkeysOf("SYSTEM")) {
        if (!startsWithIgnoringCase(set, "ControlSet")) continue;
        const std::string services = "SYSTEM\\" + set + kServices;
        for (const std::string& service : subkeysOf(services)) {
            const std::string keyName = services + "\\" + service;
            ValueText imagePath;
            if (readRegistryValue(keyName.c_str(), RegistryView::kDefault, "ImagePath", imagePath) == 0 ||
                !imagePathNames(imagePath, file, windowsFolder) || !deleteKeyTree(keyName)) {
                continue;
            }
            if (std::find(deleted.begin(), deleted.end(), service) == deleted.end()) deleted.push_back(service);
        }
    }
    return deleted;
}

}  // namespace brisko
