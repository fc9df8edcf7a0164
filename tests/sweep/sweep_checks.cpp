#include "tests/sweep/sweep_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace brisko::sweep {
namespace {

const std::string kWininit = "C:\\WINDOWS\\WININIT.INI";
// The copy the rewrite of wininit.ini goes through.
const std::string kWininitCopy = "C:\\WINDOWS\\TEMP\\WININIT.INI";
const std::string kRemoved = " removed";
const std::string kColumnGap = "     ";
const std::string kRegistryLine = "System Registry";

bool listed(const std::vector<std::string>& paths, const std::string& key) {
    return std::any_of(paths.begin(), paths.end(), [&key](const std::string& p) { return snapshotKey(p) == key; });
}

std::string valueKey(const RegistryValueName& value) { return snapshotKey(value.key + "\\" + value.name); }

bool listed(const std::vector<RegistryValueName>& values, const std::string& key) {
    return std::any_of(values.begin(), values.end(),
                       [&key](const RegistryValueName& v) { return valueKey(v) == key; });
}

int countGone(const std::vector<RegistryValueName>& names, const ValueSnapshot& after) {
    return static_cast<int>(std::count_if(names.begin(), names.end(),
                                          [&after](const RegistryValueName& v) { return after.count(valueKey(v)) == 0; }));
}

int countGone(const std::vector<std::string>& paths, const FileSnapshot& after) {
    return static_cast<int>(std::count_if(paths.begin(), paths.end(),
                                          [&after](const std::string& p) { return after.count(snapshotKey(p)) == 0; }));
}

std::string withEntry(std::string text, const std::string& entry) {
    const std::string marker = "{entry}";
    const std::size_t at = text.find(marker);
    if (at != std::string::npos) text.replace(at, marker.size(), entry);
    return text;
}

const std::string* fileIn(const FileSnapshot& files, const std::string& key) {
    const auto found = files.find(key);
    return found == files.end() ? nullptr : &found->second;
}

// wininit.ini with the one entry that deletes the doomed file at the next start.
std::string wininitWithEntry(const Scenario& scenario, const std::string& shortPath) {
    const std::string entry = "NUL=" + shortPath + "\r\n";
    return scenario.wininitTemplate ? withEntry(*scenario.wininitTemplate, entry) : "[rename]\r\n" + entry;
}

// The doomed file whose entry wininit.ini gained, or null.
const std::string* entryAdded(const Scenario& scenario, const ScanRecord& record) {
    const std::string* after = fileIn(record.after.files, kWininit);
    if (after == nullptr) return nullptr;
    for (const auto& [path, shortPath] : record.shortPaths) {
        if (!shortPath.empty() && *after == wininitWithEntry(scenario, shortPath)) return &path;
    }
    return nullptr;
}

bool deletionScheduled(const Scenario& scenario, const ScanRecord& record) {
    return entryAdded(scenario, record) != nullptr || !record.deletionsAtRestart.empty();
}

void expectCleanFilesKept(const Scenario& scenario, const ScanRecord& record) {
    for (const auto& [path, bytes] : record.before.files) {
        if (path == kWininit) continue;
        const std::string* after = fileIn(record.after.files, path);
        if (after == nullptr) {
            EXPECT_TRUE(listed(scenario.doomedFiles, path)) << "clean file deleted: " << path;
        } else {
            EXPECT_TRUE(*after == bytes) << "file changed: " << path;
        }
    }
    for (const auto& [path, bytes] : record.after.files) {
        if (record.before.files.count(path) != 0 || path == kWininit || path == kWininitCopy) continue;
        ADD_FAILURE() << "file made: " << path;
    }
}

void expectCleanRegistryKept(const Scenario& scenario, const ScanRecord& record) {
    const std::vector<std::string>& keysAfter = record.after.keys;
    for (const std::string& key : record.before.keys) {
        if (std::find(keysAfter.begin(), keysAfter.end(), key) == keysAfter.end()) {
            EXPECT_TRUE(listed(scenario.doomedKeys, key)) << "clean key deleted: " << key;
        }
    }
    for (const std::string& key : keysAfter) {
        const std::vector<std::string>& keysBefore = record.before.keys;
        EXPECT_NE(std::find(keysBefore.begin(), keysBefore.end(), key), keysBefore.end()) << "key made: " << key;
    }
    for (const auto& [name, value] : record.before.values) {
        const auto after = record.after.values.find(name);
        if (after == record.after.values.end()) {
            EXPECT_TRUE(listed(scenario.autostartValues, name) || listed(scenario.variantValues, name) ||
                        listed(scenario.doomedKeys, name.substr(0, name.rfind('\\'))))
                << "clean value deleted: " << name;
        } else {
            EXPECT_TRUE(after->second == value) << "value changed: " << name;
        }
    }
    for (const auto& [name, value] : record.after.values) {
        EXPECT_NE(record.before.values.count(name), 0u) << "value made: " << name;
    }
}

void expectWininitWhole(const Scenario& scenario, const ScanRecord& record) {
    const std::string* before = fileIn(record.before.files, kWininit);
    const std::string* after = fileIn(record.after.files, kWininit);
    if (before == nullptr && after == nullptr) return;
    if (before != nullptr && after != nullptr && *before == *after) return;
    ASSERT_NE(after, nullptr) << "wininit.ini deleted";
    EXPECT_NE(entryAdded(scenario, record), nullptr)
        << "wininit.ini neither as before nor with one entry for a doomed file:\n" << *after;
}

void expectRestartOfferHonest(const Scenario& scenario, const ScanRecord& record) {
    for (const std::string& path : record.deletionsAtRestart) {
        EXPECT_TRUE(listed(scenario.doomedFiles, snapshotKey(path))) << "scheduled for deletion: " << path;
    }
    if (record.session.rebootRequired != 0) {
        EXPECT_TRUE(deletionScheduled(scenario, record)) << "a restart offered for a deletion never scheduled";
    }
}

// The figure of a statistics line, or -1 when the report has no such line.
int statistic(const std::vector<std::string>& lines, const std::string& label) {
    for (const std::string& line : lines) {
        if (line.compare(0, label.size(), label) == 0) return std::atoi(line.c_str() + line.rfind(':') + 1);
    }
    return -1;
}

void expectRemovedMeansGone(const Scenario& scenario, const ScanRecord& record) {
    int fileLines = 0;
    int registryLines = 0;
    for (const std::string& line : record.lines) {
        if (line.size() < kRemoved.size() || line.compare(line.size() - kRemoved.size(), kRemoved.size(), kRemoved) != 0) {
            continue;
        }
        if (line.compare(0, kRegistryLine.size(), kRegistryLine) == 0) {
            ++registryLines;
            continue;
        }
        const std::size_t gap = line.find(kColumnGap);
        if (gap == std::string::npos || line.size() < 2 || line[1] != ':') continue;  // the memory line
        ++fileLines;
        EXPECT_EQ(record.after.files.count(snapshotKey(line.substr(0, gap))), 0u) << "still there: " << line;
    }
    EXPECT_EQ(registryLines, countGone(scenario.autostartValues, record.after.values))
        << "\"System Registry ... removed\" lines against autostart values deleted";

    const int filesGone = countGone(scenario.doomedFiles, record.after.files);
    EXPECT_EQ(fileLines, filesGone) << "file lines saying removed";
    EXPECT_EQ(record.session.filesRemoved, filesGone) << "filesRemoved";
    const int reportedRemoved = statistic(record.lines, "Total files removed");
    if (reportedRemoved >= 0) {
        EXPECT_EQ(reportedRemoved, filesGone) << "the statistics' removed figure";
        EXPECT_GE(statistic(record.lines, "Total files infected"), reportedRemoved);
    }
}

void expectScanEnded(const Scenario& scenario, const ScanRecord& record) {
    if (record.exited) {
        EXPECT_TRUE(scenario.mayExit) << "the program ended itself";
        return;
    }
    EXPECT_GE(statistic(record.lines, "Total files removed"), 0) << "no statistics block";
}

}  // namespace

void expectSoundOutcome(const Scenario& scenario, const ScanRecord& record) {
    expectCleanFilesKept(scenario, record);
    expectCleanRegistryKept(scenario, record);
    expectWininitWhole(scenario, record);
    expectRestartOfferHonest(scenario, record);
    expectRemovedMeansGone(scenario, record);
    expectScanEnded(scenario, record);
}

void expectWholeWorkDone(const Scenario& scenario, const ScanRecord& record) {
    EXPECT_FALSE(record.exited);
    for (const std::string& path : scenario.doomedFiles) {
        const bool locked = snapshotKey(path) == snapshotKey(scenario.lockedFile);
        EXPECT_EQ(record.after.files.count(snapshotKey(path)) != 0, locked) << path;
    }
    EXPECT_EQ(countGone(scenario.autostartValues, record.after.values),
              static_cast<int>(scenario.autostartValues.size()));
    EXPECT_EQ(countGone(scenario.variantValues, record.after.values), static_cast<int>(scenario.variantValues.size()));
    for (const std::string& key : scenario.doomedKeys) {
        EXPECT_EQ(std::count(record.after.keys.begin(), record.after.keys.end(), snapshotKey(key)), 0) << key;
    }
    if (!scenario.lockedFile.empty()) {
        EXPECT_EQ(record.session.rebootRequired, 1);
        EXPECT_TRUE(deletionScheduled(scenario, record));
    }
}

}  // namespace brisko::sweep
