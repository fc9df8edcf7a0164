#include "cleanup/autostart_rules.h"

#include <cstring>

#include "base/path_name.h"

namespace brisko {
namespace {

bool isBareReference(const char* data) {
    return std::strchr(data, '\\') == nullptr || data[0] == '\\';
}

// A path written in quotes is compared from its first character on; what
// follows the path (a closing quote, arguments) does not matter.
bool beginsWithPath(const char* text, const char* path) {
    if (text[0] == '"') ++text;
    return std::strncmp(text, path, std::strlen(path)) == 0;
}

}  // namespace

AutostartVerdict judgeAutostartValue(const char* data, const char* expanded, const char* infectedPath) {
    const char* fileName = fileNameOf(infectedPath);
    if (std::strstr(data, fileName) != nullptr && isBareReference(data)) {
        const bool inSystemFolder = std::strstr(infectedPath, "\\system\\") != nullptr ||
                                    std::strstr(infectedPath, "\\system32\\") != nullptr;
        return inSystemFolder ? AutostartVerdict::kDeleteSystemFileReference : AutostartVerdict::kKeepBareReference;
    }
    if (beginsWithPath(data, infectedPath) || (expanded != nullptr && beginsWithPath(expanded, infectedPath))) {
        return AutostartVerdict::kDeleteFullPath;
    }
    return AutostartVerdict::kKeep;
}

}  // namespace brisko
