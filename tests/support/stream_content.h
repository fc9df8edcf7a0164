#pragma once
// What a stream received, read back from its temporary file: for tests of
// the consoles' output.
#include <cstdio>
#include <string>

namespace brisko::testing {

inline std::string contentOf(std::FILE* stream) {
    std::fflush(stream);
    std::string content;
    std::rewind(stream);
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) content += static_cast<char>(c);
    return content;
}

}  // namespace brisko::testing
