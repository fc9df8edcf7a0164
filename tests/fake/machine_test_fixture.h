#pragma once
// A simulated machine with an empty fixed drive D:, and the host-side view
// of that drive, for tests of the machine's own workings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {

class MachineTest : public ::testing::Test {
protected:
    FakeMachine machine;
    FakeFileSystem& files = machine.fakeFiles();
    const std::filesystem::path driveD = machine.addDrive('D');

    // Every entry of a listing, in the order the fake gives them.
    std::vector<DirectoryEntry> listAll(const std::string& pattern) {
        std::vector<DirectoryEntry> entries;
        std::unique_ptr<DirectoryListing> listing = files.listDirectory(pattern.c_str());
        DirectoryEntry entry{};
        while (listing && listing->next(entry)) entries.push_back(entry);
        return entries;
    }

    std::vector<std::string> listNames(const std::string& pattern) {
        std::vector<std::string> names;
        for (const DirectoryEntry& entry : listAll(pattern)) names.emplace_back(entry.name);
        return names;
    }

    // The names the host really holds in one folder, sorted: shows whether
    // the machine created a second folder where Windows would reuse one.
    static std::vector<std::string> hostNames(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(folder)) {
            names.push_back(item.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace brisko::fake
