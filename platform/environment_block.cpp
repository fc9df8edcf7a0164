#include "platform/environment_block.h"

#include <cctype>
#include <cstring>

namespace brisko {
namespace {

std::string inCapitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void EnvironmentBlock::set(const std::string& name, const std::string& value) { variables_[inCapitals(name)] = value; }

std::string EnvironmentBlock::expand(const char* text) const {
    std::string expanded;
    for (const char* at = text; *at != '\0';) {
        const char* close = *at == '%' ? std::strchr(at + 1, '%') : nullptr;
        const auto variable =
            close != nullptr ? variables_.find(inCapitals(std::string(at + 1, close))) : variables_.end();
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
