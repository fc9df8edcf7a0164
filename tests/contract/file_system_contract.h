#pragma once
// The fixture shared by the contract tests of the file seam: a fresh backend
// per test, its file system, and small helpers to arrange and list files in
// the backend's scratch folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/contract/contract_backend.h"

namespace brisko {

class FileSystemContract : public ::testing::Test {
protected:
    FileSystemContract()
        : backend_(makeContractBackend()),
          fs_(backend_->platform().files()),
          scratch_(backend_->scratchFolder()) {}

    // A path inside this test's scratch folder.
    std::string at(const std::string& relative) const { return scratch_ + relative; }
    // The root of the scratch folder's drive ("D:\\").
    std::string driveRoot() const { return scratch_.substr(0, 3); }

    // Every entry of a listing, in the order given; empty when the listing
    // cannot start (check started() to tell that apart).
    std::vector<DirectoryEntry> listAll(const std::string& pattern) {
        std::vector<DirectoryEntry> entries;
        std::unique_ptr<DirectoryListing> listing = fs_.listDirectory(pattern.c_str());
        started_ = listing != nullptr;
        DirectoryEntry entry{};
        while (listing && listing->next(entry)) entries.push_back(entry);
        brokeOff_ = listing && listing->brokeOff();
        return entries;
    }
    bool started() const { return started_; }
    // Whether the last listing said it broke off instead of running out.
    bool brokeOff() const { return brokeOff_; }

    // The attributes a listing shows of a file once they were set; 0 when
    // setting them or listing the file fails.
    std::uint32_t listedAttributesAfterSetting(std::uint32_t attributes) {
        backend_->writeFile(at("marked.exe"), "x");
        if (!fs_.setAttributes(at("marked.exe").c_str(), attributes)) return 0;
        const std::vector<DirectoryEntry> entries = listAll(at("marked.exe"));
        return entries.size() == 1 ? entries[0].attributes : 0;
    }

    static std::vector<std::string> namesOf(const std::vector<DirectoryEntry>& entries) {
        std::vector<std::string> names;
        for (const DirectoryEntry& entry : entries) names.emplace_back(entry.name);
        return names;
    }

    // The entry of that exact name, or null.
    static const DirectoryEntry* findEntry(const std::vector<DirectoryEntry>& entries,
                                           const std::string& name) {
        for (const DirectoryEntry& entry : entries) {
            if (name == entry.name) return &entry;
        }
        return nullptr;
    }

    std::unique_ptr<ContractBackend> backend_;
    FileSystem& fs_;
    const std::string scratch_;

private:
    bool started_ = false;
    bool brokeOff_ = false;
};

}  // namespace brisko
