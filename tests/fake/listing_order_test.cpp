// The order in which the simulated machine lists a folder: "." and ".."
// first, then the names compared as if written in capitals, as NTFS gives
// them. The scan shows entries in this order, so tests depend on it.
#include <string>
#include <vector>

#include "tests/fake/machine_test_fixture.h"

namespace brisko::fake {
namespace {

class ListingOrderTest : public MachineTest {
protected:
    // Created in an order unlike the listed one. In capitals: "!" < "-" <
    // letters < "_", so "A" < "A.EXE" < "ALPHA" < "A_B"; and "alpha" comes
    // before "Beta" although 'B' < 'a' in plain character order.
    ListingOrderTest() {
        for (const char* name : {"_under", "Beta", "a_b", "zeta.txt", "A.exe", "alpha", "!bang",
                                 "-dash", "a"}) {
            machine.writeFile(std::string("D:\\Sub\\") + name, "");
            machine.writeFile(std::string("D:\\") + name, "");
        }
        machine.makeDirectory("D:\\Sub\\Middle");
    }
};

TEST_F(ListingOrderTest, SubfolderGivesDotEntriesFirstThenNamesInCaseBlindOrder) {
    EXPECT_EQ(listNames("D:\\Sub\\*.*"),
              (std::vector<std::string>{".", "..", "!bang", "-dash", "a", "A.exe", "alpha", "a_b",
                                        "Beta", "Middle", "zeta.txt", "_under"}));
}

TEST_F(ListingOrderTest, DriveRootGivesNamesInCaseBlindOrder) {
    EXPECT_EQ(listNames("D:\\*.*"),
              (std::vector<std::string>{"!bang", "-dash", "a", "A.exe", "alpha", "a_b", "Beta",
                                        "Sub", "zeta.txt", "_under"}));
}

TEST_F(ListingOrderTest, MaskKeepsTheOrderOfWhatItMatches) {
    EXPECT_EQ(listNames("D:\\Sub\\*A*"),
              (std::vector<std::string>{"!bang", "-dash", "a", "A.exe", "alpha", "a_b", "Beta",
                                        "zeta.txt"}));
}

}  // namespace
}  // namespace brisko::fake
