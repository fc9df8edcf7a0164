#include <gtest/gtest.h>

#include <string>

#include "cleanup/rename_section.h"

namespace brisko {
namespace {

constexpr const char* kEntry = "NUL=C:\\WINDOWS\\EVIL~1.EXE\r\n";

TEST(RenameSectionTest, ANewFileHoldsTheHeaderAndTheEntryOnly) {
    EXPECT_EQ(newFileWithRenameEntry(kEntry), "[rename]\r\nNUL=C:\\WINDOWS\\EVIL~1.EXE\r\n");
}

TEST(RenameSectionTest, PutsTheEntryAtTheEndOfTheFirstRenameSection) {
    const std::string longLine(647, 'x');
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"empty file", "", "[rename]\r\n" + std::string(kEntry)},
        {"no rename section", "[Settings]\r\nA=1\r\n", "[Settings]\r\nA=1\r\n[rename]\r\n" + std::string(kEntry)},
        {"rename last", "[Settings]\r\n[rename]\r\nNUL=C:\\A.EXE\r\n",
         "[Settings]\r\n[rename]\r\nNUL=C:\\A.EXE\r\n" + std::string(kEntry)},
        {"blank and comment lines end the section",
         "[rename]\r\nNUL=C:\\A.EXE\r\n\r\n; note\r\n[Other]\r\nB=2\r\n",
         "[rename]\r\nNUL=C:\\A.EXE\r\n\r\n; note\r\n" + std::string(kEntry) + "[Other]\r\nB=2\r\n"},
        {"two rename sections: the first",
         "[rename]\r\nNUL=C:\\A.EXE\r\n[rename]\r\nNUL=C:\\B.EXE\r\n",
         "[rename]\r\nNUL=C:\\A.EXE\r\n" + std::string(kEntry) + "[rename]\r\nNUL=C:\\B.EXE\r\n"},
        {"header in capitals", "[RENAME]\r\n[x]\r\n", "[RENAME]\r\n" + std::string(kEntry) + "[x]\r\n"},
        {"longer header spelling [rename] first", "[Rename]Later\r\n[x]\r\n",
         "[Rename]Later\r\n" + std::string(kEntry) + "[x]\r\n"},
        {"a blank before the header does not count", " [rename]\r\n[x]\r\n",
         " [rename]\r\n[x]\r\n[rename]\r\n" + std::string(kEntry)},
        {"line feeds only", "[rename]\nNUL=C:\\A.EXE\n[x]\n",
         "[rename]\nNUL=C:\\A.EXE\n" + std::string(kEntry) + "[x]\n"},
        {"no line end after the last line", "[rename]\r\nNUL=C:\\A.EXE",
         "[rename]\r\nNUL=C:\\A.EXE\r\n" + std::string(kEntry)},
        {"no line end and no section", "A=1", "A=1\r\n[rename]\r\n" + std::string(kEntry)},
        // A 647-character piece ends the line buffer; its continuation
        // beginning with '[' reads as a header and ends the section.
        {"a long line whose continuation begins with [", "[rename]\r\n" + longLine + "[more\r\n",
         "[rename]\r\n" + longLine + kEntry + "[more\r\n"},
        {"a line of 646 characters and CR LF is one piece", "[rename]\r\n" + longLine.substr(1) + "\r\n[x]\r\n",
         "[rename]\r\n" + longLine.substr(1) + "\r\n" + kEntry + "[x]\r\n"},
        {"other bytes stay as they are", "[rename]\r\nNUL=C:\\A.EXE\r\n\x1a\xff\r\r\n",
         "[rename]\r\nNUL=C:\\A.EXE\r\n\x1a\xff\r\r\n" + std::string(kEntry)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(withRenameEntry(c.before, kEntry), c.after);
    }
}

TEST(RenameSectionTest, EntriesAccumulateInOrder) {
    const std::string once = withRenameEntry("[rename]\r\n[x]\r\n", "NUL=C:\\A.EXE\r\n");
    EXPECT_EQ(withRenameEntry(once, "NUL=C:\\B.EXE\r\n"), "[rename]\r\nNUL=C:\\A.EXE\r\nNUL=C:\\B.EXE\r\n[x]\r\n");
}

}  // namespace
}  // namespace brisko
