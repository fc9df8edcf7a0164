// The committed table is exactly what the generator writes, so nobody edits
// it by hand and the generator's rules are the table's rules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SignatureTableSource, CommittedTableIsTheGeneratorsOutput) {
    const std::string output = testing::TempDir() + "brisko_signature_table_" + std::to_string(getpid()) + ".cpp";
    const std::string command = std::string("'") + BRISKO_TABLE_GENERATOR + "' '" + output + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string generated = contentsOf(output);
    std::remove(output.c_str());

    const std::string committed = contentsOf(std::string(BRISKO_SOURCE_DIR) + "/matcher/signature_table.cpp");
    ASSERT_FALSE(generated.empty());
    EXPECT_TRUE(generated == committed)
        << "matcher/signature_table.cpp is not the generator's output; rebuild the target "
           "regenerate-signature-table and commit the result";
}

}  // namespace
