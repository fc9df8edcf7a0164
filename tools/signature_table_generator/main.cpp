// brisko-signature-table-generator OUTPUT_FILE
// Writes the matcher's signature table source (matcher/signature_table.cpp).
#include <cstdio>
#include <exception>
#include <fstream>

#include "tools/signature_table_generator/signature_records.h"
#include "tools/signature_table_generator/table_source.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brisko-signature-table-generator OUTPUT_FILE\n");
        return 2;
    }
    try {
        const std::string source = brisko::renderSignatureTableSource(brisko::buildSignatureRecords());
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out << source;
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brisko-signature-table-generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
