#include "platform/environment_block.h"

#include <cstring>

#include "base/text_compare.h"

namespace brisko {
namespace {

std::string keyOf(std::string name) {
    for (char& c : name) c = lowerAscii(c);
    return name;
}

}  // namespace

void EnvironmentBlock::set(const std::string& name, const std::string& value) { variables_[keyOf(name)] = value; }

std::string EnvironmentBlock::expand(const char* text) const {
    std::string expanded;
    for (const char* at = text; *at != '\0';) {
        const char* close = *at == '%' ? std::strchr(at + 1, '%') : nullptr;
        const auto variable =
            close != nullptr ? variables_.find(keyOf(std::string(at + 1, close))) : variables_.end();
        if (variable != variables_.end()) {
            expanded += variable->second;
            at = close + 1;
        } else {
            expanded += *at++;
        }
    }
    return expanded;
}

unsigned EnvironmentBlock::expandInto(const char* text, char* buffer, unsigned capacity) const {
    const std::string expanded = expand(text);
    const unsigned needed = static_cast<unsigned>(expanded.size() + 1);
    if (needed <= capacity) std::memcpy(buffer, expanded.c_str(), needed);
    return needed;
}

}  // namespace brisko
