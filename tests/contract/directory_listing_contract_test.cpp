// Contract of FileSystem::listDirectory: which entries a pattern gives and
// what each entry carries. The scan walks every folder with "*.*" and
// checks single files by their full path.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Compares names as if both were written in capitals.
bool inCapitalsOrder(const DirectoryEntry& left, const DirectoryEntry& right) {
    std::string a(left.name), b(right.name);
    for (std::string* name : {&a, &b}) {
        for (char& c : *name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return a < b;
}

TEST_F(FileSystemContract, AllPatternInSubfolderGivesDotEntriesFilesAndFolders) {
    backend_->writeFile(at("one.exe"), "12345");
    backend_->writeFile(at("README"), "no dot in this name");
    backend_->makeDirectory(at("sub"));

    std::vector<DirectoryEntry> entries = listAll(at("*.*"));

    ASSERT_TRUE(started());
    EXPECT_EQ(sorted(namesOf(entries)),
              (std::vector<std::string>{".", "..", "README", "one.exe", "sub"}));
}

// The walk trusts a listing that ran out to have given the whole folder.
TEST_F(FileSystemContract, AListingReadToItsEndHasNotBrokenOff) {
    for (const char* name : {"a.txt", "b.exe", "c"}) backend_->writeFile(at(name), "");
    backend_->makeDirectory(at("sub"));

    EXPECT_EQ(listAll(at("*.*")).size(), 6u);
    EXPECT_FALSE(brokeOff());
    EXPECT_EQ(listAll(at("b.exe")).size(), 1u);
    EXPECT_FALSE(brokeOff());
}

TEST_F(FileSystemContract, SubfolderListsDotEntriesFirstThenNamesAsIfInCapitals) {
    // Created in another order. In capitals "!" < "-" < letters < "_", so "a" <
    // "A.exe" < "alpha" < "a_b"; and "alpha" comes before "Beta" although
    // 'B' < 'a' in plain character order.
    for (const char* name :
         {"_under", "Beta", "a_b", "zeta.txt", "A.exe", "alpha", "!bang", "-dash", "a"}) {
        backend_->writeFile(at(name), "");
    }
    backend_->makeDirectory(at("Middle"));

    std::vector<DirectoryEntry> entries = listAll(at("*.*"));

    EXPECT_EQ(namesOf(entries),
              (std::vector<std::string>{".", "..", "!bang", "-dash", "a", "A.exe", "alpha", "a_b",
                                        "Beta", "Middle", "zeta.txt", "_under"}));
}

TEST_F(FileSystemContract, EmptySubfolderStillListsDotEntries) {
    backend_->makeDirectory(at("empty"));

    std::vector<DirectoryEntry> entries = listAll(at("empty\\*.*"));

    ASSERT_TRUE(started());
    EXPECT_EQ(sorted(namesOf(entries)), (std::vector<std::string>{".", ".."}));
}

TEST_F(FileSystemContract, EntriesCarrySizeAndDirectoryAttribute) {
    backend_->writeFile(at("big.bin"), std::string(70000, 'x'));
    backend_->writeFile(at("empty.txt"), "");
    backend_->makeDirectory(at("folder"));

    std::vector<DirectoryEntry> entries = listAll(at("*.*"));

    const DirectoryEntry* big = findEntry(entries, "big.bin");
    const DirectoryEntry* empty = findEntry(entries, "empty.txt");
    const DirectoryEntry* folder = findEntry(entries, "folder");
    const DirectoryEntry* self = findEntry(entries, ".");
    ASSERT_TRUE(big && empty && folder && self);
    EXPECT_EQ(big->size, 70000u);
    EXPECT_EQ(empty->size, 0u);
    EXPECT_EQ(big->attributes & kAttributeDirectory, 0u);
    EXPECT_EQ(empty->attributes & kAttributeDirectory, 0u);
    EXPECT_NE(folder->attributes & kAttributeDirectory, 0u);
    EXPECT_NE(self->attributes & kAttributeDirectory, 0u);
}

TEST_F(FileSystemContract, DriveRootListsItsFoldersWithoutDotEntries) {
    // The scratch folder is one of the folders at the root of its drive.
    const std::string scratchName = scratch_.substr(3, scratch_.size() - 4);

    std::vector<DirectoryEntry> entries = listAll(driveRoot() + "*.*");

    ASSERT_TRUE(started());
    const DirectoryEntry* scratch = findEntry(entries, scratchName);
    ASSERT_NE(scratch, nullptr) << scratchName;
    EXPECT_NE(scratch->attributes & kAttributeDirectory, 0u);
    EXPECT_EQ(findEntry(entries, "."), nullptr);
    EXPECT_EQ(findEntry(entries, ".."), nullptr);
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), inCapitalsOrder));
}

TEST_F(FileSystemContract, FullPathOfOneFileListsExactlyThatFile) {
    backend_->writeFile(at("target.exe"), "abc");
    backend_->writeFile(at("target.exe.bak"), "abcdef");
    backend_->writeFile(at("other.exe"), "x");

    std::vector<DirectoryEntry> entries = listAll(at("target.exe"));

    ASSERT_EQ(entries.size(), 1u);
    EXPECT_STREQ(entries[0].name, "target.exe");
    EXPECT_EQ(entries[0].size, 3u);
    EXPECT_EQ(entries[0].attributes & kAttributeDirectory, 0u);
}

TEST_F(FileSystemContract, FolderPathWithoutWildcardListsTheFolderItself) {
    backend_->makeDirectory(at("Sub"));
    backend_->writeFile(at("Sub\\inside.exe"), "x");

    std::vector<DirectoryEntry> entries = listAll(at("sub"));

    ASSERT_EQ(entries.size(), 1u);
    EXPECT_STREQ(entries[0].name, "Sub");
    EXPECT_NE(entries[0].attributes & kAttributeDirectory, 0u);
}

// The listing shows the attributes a file was given; the system may add
// others (Wine marks every file archive). Hidden and system are a running
// Windows' own (running_windows_contract_test.cpp).
class ListedAttributes : public FileSystemContract,
                         public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(ListedAttributes, IncludeThoseSet) {
    const std::uint32_t attributes = GetParam();

    const std::uint32_t listed = listedAttributesAfterSetting(attributes);

    EXPECT_EQ(listed & attributes, attributes);
    EXPECT_EQ(listed & kAttributeDirectory, 0u);
}

INSTANTIATE_TEST_SUITE_P(Attributes, ListedAttributes,
                         ::testing::Values(kAttributeReadOnly, kAttributeArchive));

TEST_F(FileSystemContract, ClearingReadOnlyShowsInTheListing) {
    backend_->writeFile(at("marked.exe"), "x");
    ASSERT_TRUE(fs_.setAttributes(at("marked.exe").c_str(), kAttributeReadOnly));
    ASSERT_TRUE(fs_.setAttributes(at("marked.exe").c_str(), kAttributeArchive));

    std::vector<DirectoryEntry> entries = listAll(at("marked.exe"));

    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes & kAttributeReadOnly, 0u);
}

// Patterns are matched without regard to letter case; the entry keeps the
// case the name was created with.
struct CaseCase {
    const char* pattern;
    std::vector<std::string> expectedNames;
};

std::ostream& operator<<(std::ostream& out, const CaseCase& c) { return out << c.pattern; }

class ListingIgnoresCase : public FileSystemContract,
                           public ::testing::WithParamInterface<CaseCase> {};

TEST_P(ListingIgnoresCase, MatchesNamesInAnyCase) {
    backend_->writeFile(at("ABC.EXE"), "upper");
    backend_->writeFile(at("lower.dll"), "lower");

    std::vector<DirectoryEntry> entries = listAll(at(GetParam().pattern));

    EXPECT_EQ(sorted(namesOf(entries)), GetParam().expectedNames);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ListingIgnoresCase,
    ::testing::Values(CaseCase{"abc.exe", {"ABC.EXE"}}, CaseCase{"Abc.Exe", {"ABC.EXE"}},
                      CaseCase{"LOWER.DLL", {"lower.dll"}}, CaseCase{"*.exe", {"ABC.EXE"}},
                      CaseCase{"*.DLL", {"lower.dll"}}));

// A search that finds nothing cannot start: the scan tells "nothing here"
// from an empty listing only this way.
class ListingCannotStart : public FileSystemContract,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(ListingCannotStart, WhenNothingMatches) {
    backend_->writeFile(at("present.exe"), "x");
    backend_->makeDirectory(at("folder"));

    EXPECT_EQ(fs_.listDirectory(at(GetParam()).c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Patterns, ListingCannotStart,
                         ::testing::Values("missing\\*.*", "missing\\present.exe",
                                           "absent.exe", "*.zzz",
                                           "folder\\"));  // a folder needs a pattern

}  // namespace
}  // namespace brisko
