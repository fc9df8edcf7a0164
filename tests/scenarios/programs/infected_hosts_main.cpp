// Writes a hosts file that the hosts check finds infected: the word begin,
// then the built-in pattern.
//     brisko-infected-hosts FILE
#include <cstdio>
#include <fstream>

#include "tests/support/hosts_texts.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: brisko-infected-hosts FILE\n", stderr);
        return 2;
    }
    const std::string text = brisko::testing::infectedHostsText();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "brisko-infected-hosts: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
