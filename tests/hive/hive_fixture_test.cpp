// The test hives: written empty from the format's description, then filled
// through hivex; every hive is read back with hivex.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "tests/hive/empty_hive.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/support/temporary_folder.h"

namespace brisko::testing {
namespace {

class HiveFixtureTest : public ::testing::TestWithParam<std::uint32_t> {
protected:
    TemporaryFolder folder{"brisko-hive"};
};

TEST_P(HiveFixtureTest, AnEmptyHiveReadsBackAsItsRootAlone) {
    const std::filesystem::path file = folder.path() / "EMPTY";
    writeEmptyHive(file, "ROOT", GetParam());
    EXPECT_EQ(std::filesystem::file_size(file), 8192u);
    EXPECT_EQ(readHiveContents(file), (HiveContents{{"", {}}}));
}

TEST_P(HiveFixtureTest, AChangedBaseBlockFailsItsChecksum) {
    std::vector<std::uint8_t> bytes = emptyHiveBytes("ROOT", GetParam());
    bytes[12] ^= 0x01;  // the time of the last write, covered by the checksum
    const std::filesystem::path file = folder.path() / "FLIPPED";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    EXPECT_THROW(readHiveContents(file), std::runtime_error);
}

TEST_P(HiveFixtureTest, KeysAndValuesAddedThroughHivexReadBack) {
    const std::filesystem::path file = folder.path() / "SOFTWARE";
    const std::vector<std::uint8_t> number{0x2A, 0, 0, 0};
    const std::vector<std::uint8_t> strings{'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> blob(5000, 0xA5);  // beyond what a value cell holds inline
    {
        HiveBuilder hive(file, GetParam());
        hive.addKey("Empty\\Deeper")
            .setString("Microsoft\\Windows\\CurrentVersion\\Run", "Updater", "C:\\WINDOWS\\x.exe")
            .setString("Microsoft\\Windows\\CurrentVersion\\Run", "", "default")
            .setValue("Microsoft\\Windows\\CurrentVersion\\Run", "Count", 4, number)
            .setValue("Microsoft", "Blob", 3, blob)
            .setValue("Microsoft", "List", 7, strings);
        hive.commit();
    }
    const HiveContents expected{
        {"", {}},
        {"Empty", {}},
        {"Empty\\Deeper", {}},
        {"Microsoft", {{"Blob", {3, blob}}, {"List", {7, strings}}}},
        {"Microsoft\\Windows", {}},
        {"Microsoft\\Windows\\CurrentVersion", {}},
        {"Microsoft\\Windows\\CurrentVersion\\Run",
         {{"Updater", {1, hiveText("C:\\WINDOWS\\x.exe")}}, {"", {1, hiveText("default")}}, {"Count", {4, number}}}},
    };
    EXPECT_EQ(readHiveContents(file), expected);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, HiveFixtureTest, ::testing::Values(kHiveVersionNt4, kHiveVersionXp),
                         [](const auto& info) { return "Minor" + std::to_string(info.param); });

}  // namespace
}  // namespace brisko::testing
