#include <gtest/gtest.h>

#include "ui/main_dialog_texts.h"

namespace brisko {
namespace {

TEST(MainDialogTextsTest, LinesNameTheProgramAndTheFamily) {
    EXPECT_EQ(titleLine(), "Brisko Ver 1.0 - Tool to detect and remove all the variants of W32/Krenot Trojan ");
    EXPECT_EQ(subtitleLine(), "for W32/Krenot Trojan ");
    EXPECT_EQ(searchingForLine(), "Searching for W32/Krenot Trojan and its variants");
}

TEST(MainDialogTextsTest, WebAddressesStayUnderTheReservedDomain) {
    for (const char* address : {kProductPageAddress, kRemovalToolsPageAddress}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(std::string(address).rfind("http://www.example.com/", 0), 0u);
        // The shell gets them from a 512-byte buffer.
        EXPECT_LT(std::string(address).size(), 512u);
    }
}

}  // namespace
}  // namespace brisko
