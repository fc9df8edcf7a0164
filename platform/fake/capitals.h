#pragma once
// Names the system compares without regard to case (services, registry keys
// and values) are kept by their spelling in capitals.
#include <cctype>
#include <string>

namespace brisko::fake {

inline std::string inCapitalLetters(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace brisko::fake
