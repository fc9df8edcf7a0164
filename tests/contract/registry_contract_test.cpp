// The registry as the cleanup uses it: values counted, named by index,
// read with and without a buffer, deleted, and an enumeration that closes
// up behind a deleted value; subkeys named by index; the two views of
// Software on 64-bit Windows; then the autostart cleanup on the Run keys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cleanup/autostart_cleanup.h"
#include "base/bounded_text.h"
#include "tests/contract/contract_scan.h"
#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

using ::testing::ElementsAreArray;

class RegistryContract : public FileSystemContract {
protected:
    RegistryContract() : key_("Software\\Brisko Contract\\" + scratch_.substr(3, scratch_.size() - 4)) {}

    std::unique_ptr<RegistryKey> open(std::uint32_t access) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(backend_->platform().registry().openMachineKey(key_.c_str(), access, RegistryView::kDefault, key),
                  kErrorSuccess);
        return key;
    }

    std::vector<std::string> valueNames(RegistryKey& key) {
        std::uint32_t count = 0;
        EXPECT_EQ(key.countValues(count), kErrorSuccess);
        std::vector<std::string> names;
        for (std::uint32_t i = 0; i < count; ++i) {
            char name[256];
            std::uint32_t length = sizeof name - 1;
            EXPECT_EQ(key.valueNameAt(i, name, length), kErrorSuccess);
            EXPECT_EQ(std::strlen(name), length);
            names.emplace_back(name);
        }
        return names;
    }

    // Both views of a 64-bit machine, the program's own first; empty on
    // 32-bit Windows.
    std::vector<RegistryView> bothViews() {
        const RegistryViews views = backend_->platform().registry().softwareViews();
        std::vector<RegistryView> list(views.begin(), views.end());
        if (list.size() < 2) list.clear();
        return list;
    }

    bool holds(const std::string& keyName, RegistryView view, const std::string& valueName) {
        std::unique_ptr<RegistryKey> key;
        if (backend_->platform().registry().openMachineKey(keyName.c_str(), kKeyRead, view, key) != kErrorSuccess) {
            return false;
        }
        std::uint32_t size = 0;
        return key->queryValue(valueName.c_str(), nullptr, nullptr, size) == kErrorSuccess;
    }

    const std::string key_;
};

TEST_F(RegistryContract, ValuesAreCountedNamedAndReadWithTheirTerminator) {
    backend_->setMachineString(key_, "First", "C:\\WINDOWS\\a.exe");
    backend_->setMachineString(key_, "Second", "b.exe");
    std::unique_ptr<RegistryKey> key = open(kKeyRead);
    ASSERT_TRUE(key);
    EXPECT_THAT(valueNames(*key), ::testing::UnorderedElementsAre("First", "Second"));

    std::uint32_t size = 0;
    ASSERT_EQ(key->queryValue("First", nullptr, nullptr, size), kErrorSuccess);
    EXPECT_EQ(size, std::strlen("C:\\WINDOWS\\a.exe") + 1);
    char data[64] = {};
    std::uint32_t type = 0;
    size = sizeof data;
    ASSERT_EQ(key->queryValue("First", &type, reinterpret_cast<std::uint8_t*>(data), size), kErrorSuccess);
    EXPECT_STREQ(data, "C:\\WINDOWS\\a.exe");
    EXPECT_EQ(type, kRegistryString);

    char small[4];
    size = sizeof small;
    EXPECT_EQ(key->queryValue("First", nullptr, reinterpret_cast<std::uint8_t*>(small), size), kErrorMoreData);
    size = sizeof data;
    EXPECT_EQ(key->queryValue("Missing", nullptr, reinterpret_cast<std::uint8_t*>(data), size), kErrorFileNotFound);
    char name[16];
    std::uint32_t length = sizeof name - 1;
    EXPECT_EQ(key->valueNameAt(2, name, length), kErrorNoMoreItems);
}

TEST_F(RegistryContract, AfterADeletionTheNextValueTakesItsIndex) {
    for (const char* name : {"A1", "B2", "C3", "D4"}) backend_->setMachineString(key_, name, name);
    std::vector<std::string> before = valueNames(*open(kKeyRead));
    ASSERT_EQ(before.size(), 4u);
    ASSERT_EQ(open(kKeyAllAccess)->deleteValue(before[1].c_str()), kErrorSuccess);
    EXPECT_EQ(open(kKeyAllAccess)->deleteValue(before[1].c_str()), kErrorFileNotFound);
    before.erase(before.begin() + 1);
    EXPECT_THAT(valueNames(*open(kKeyRead)), ElementsAreArray(before));
}

TEST_F(RegistryContract, SubkeysAreNamedInSortedOrderAsFirstSpelt) {
    for (const char* name : {"Gamma\\Deep", "Beta", "alpha"}) backend_->makeMachineKey(key_ + "\\" + name);
    std::unique_ptr<RegistryKey> key = open(kKeyRead);
    ASSERT_TRUE(key);
    std::vector<std::string> names;
    char name[16];
    for (std::uint32_t i = 0; i < 3; ++i) {
        std::uint32_t length = sizeof name;
        ASSERT_EQ(key->subkeyNameAt(i, name, length), kErrorSuccess);
        EXPECT_EQ(std::strlen(name), length);
        names.emplace_back(name);
    }
    EXPECT_THAT(names, ElementsAreArray({"alpha", "Beta", "Gamma"}));

    // The capacity counts the terminator: "alpha" needs 6.
    std::uint32_t length = 5;
    EXPECT_EQ(key->subkeyNameAt(0, name, length), kErrorMoreData);
    length = 6;
    EXPECT_EQ(key->subkeyNameAt(0, name, length), kErrorSuccess);
    EXPECT_EQ(length, 5u);
    length = sizeof name;
    EXPECT_EQ(key->subkeyNameAt(3, name, length), kErrorNoMoreItems);
}

TEST_F(RegistryContract, AMissingKeyDoesNotOpen) {
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(backend_->platform().registry().openMachineKey((key_ + "\\Missing").c_str(), kKeyRead,
                                                             RegistryView::kDefault, key),
              kErrorFileNotFound);
    EXPECT_FALSE(key);
}

TEST_F(RegistryContract, EachViewOfSoftwareHoldsItsOwnValuesAndTheDefaultIsTheProgramsOwn) {
    const std::vector<RegistryView> views = bothViews();
    if (views.empty()) GTEST_SKIP() << "32-bit Windows keeps one view of Software";
    EXPECT_NE(views[0], views[1]);
    for (RegistryView view : views) {
        backend_->setMachineStringInView(key_, view, std::string("In ") + registryViewName(view), "x");
    }
    for (RegistryView view : views) {
        SCOPED_TRACE(registryViewName(view));
        for (RegistryView valueView : views) {
            EXPECT_EQ(holds(key_, view, std::string("In ") + registryViewName(valueView)), valueView == view);
        }
    }
    EXPECT_TRUE(holds(key_, RegistryView::kDefault, std::string("In ") + registryViewName(views[0])));
    EXPECT_FALSE(holds(key_, RegistryView::kDefault, std::string("In ") + registryViewName(views[1])));
}

TEST_F(RegistryContract, TheAutostartCleanupRemovesTheRunValuesOfBothViews) {
    const std::vector<RegistryView> views = bothViews();
    if (views.empty()) GTEST_SKIP() << "32-bit Windows keeps one view of Software";
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string infected = at("x.exe");
    const std::string tag = scratch_.substr(3, scratch_.size() - 4);
    for (RegistryView view : views) {
        backend_->setMachineStringInView(run, view, "Infected " + tag, infected);
        backend_->setMachineStringInView(run, view, "Other " + tag, at("other.exe"));
    }
    std::vector<std::string> lines;
    installPlatform(&backend_->platform());
    {
        ContractScan scan(*backend_);
        copyTruncated(scan.session().infectedPath, infected.c_str());
        cleanAutostartEntries(scan.scan().context(), "W32/Krenot.Ek.PSW.Trojan");
        lines = scan.lines();
    }
    installPlatform(nullptr);

    for (RegistryView view : views) {
        SCOPED_TRACE(registryViewName(view));
        EXPECT_FALSE(holds(run, view, "Infected " + tag));
        EXPECT_TRUE(holds(run, view, "Other " + tag));
    }
    EXPECT_THAT(lines, ElementsAreArray({"System Registry     W32/Krenot.Trojan removed",
                                         "System Registry     W32/Krenot.Trojan removed"}));
}

TEST_F(RegistryContract, TheAutostartCleanupRemovesTheRunValuesOfTheInfectedFile) {
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string infected = at("x.exe");
    const std::string tag = scratch_.substr(3, scratch_.size() - 4);
    backend_->setMachineString(run, "Quoted " + tag, "\"" + infected + "\" /min");
    backend_->setMachineString(run, "Plain " + tag, infected);
    backend_->setMachineString(run, "Other " + tag, at("other.exe"));
    installPlatform(&backend_->platform());
    {
        ContractScan run(*backend_);
        copyTruncated(run.session().infectedPath, infected.c_str());
        cleanAutostartEntries(run.scan().context(), "W32/Krenot.Ek.PSW.Trojan");
    }
    installPlatform(nullptr);

    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(backend_->platform().registry().openMachineKey(run.c_str(), kKeyRead, RegistryView::kDefault, key),
              kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(key->queryValue(("Quoted " + tag).c_str(), nullptr, nullptr, size), kErrorFileNotFound);
    EXPECT_EQ(key->queryValue(("Plain " + tag).c_str(), nullptr, nullptr, size), kErrorFileNotFound);
    EXPECT_EQ(key->queryValue(("Other " + tag).c_str(), nullptr, nullptr, size), kErrorSuccess);
}

}  // namespace
}  // namespace brisko
