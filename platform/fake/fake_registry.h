#pragma once
// The simulated machine's registry under HKEY_LOCAL_MACHINE: keys with typed
// values, names matched without regard to case, keys that refuse access,
// the two views of HKEY_LOCAL_MACHINE\Software on 64-bit Windows,
// and HKEY_PERFORMANCE_DATA built from the process table (or set outright,
// for blocks the system would never send). Counts the keys still open.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_processes.h"
#include "platform/registry.h"

namespace brisko::fake {

struct RegistryValue {
    std::string name;  // as first spelt
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

// Who runs the program: 32-bit Windows (one view, the default), or 64-bit
// Windows with a 64-bit program or a 32-bit one (WoW64).
enum class FakeBitness {
    k32BitWindows,
    k64BitProgram,
    k32BitProgramOnWow64,
};

class FakeRegistry : public Registry {
public:
    // The perflib counter names are there from the start.
    FakeRegistry(FaultPlan& faults, FakeProcesses& processes);

    // On 64-bit Windows the registry is kept as 64-bit programs see it: the
    // 32-bit view of Software\X is Software\Wow6432Node\X, and the keys
    // and values of this class's own calls are named that way.
    void setBitness(FakeBitness bitness) { bitness_ = bitness; }

    // Creates the key and every key above it.
    void addKey(const std::string& path);
    bool hasKey(const std::string& path) const;
    void setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data);
    void setString(const std::string& keyPath, const std::string& name, const std::string& text);
    // A string value of the key as a program opening it in the view sees it.
    void setStringInView(const std::string& keyPath, RegistryView view, const std::string& name,
                         const std::string& text);
    std::optional<RegistryValue> value(const std::string& keyPath, const std::string& name) const;
    // Every key, by its path in capitals, with its values: the whole registry
    // as it stands, to compare before and after.
    std::map<std::string, std::vector<RegistryValue>> contents() const;
    // Opening or deleting the key then fails with ERROR_ACCESS_DENIED.
    void denyAccess(const std::string& path) { denied_.insert(keyOf(path)); }

    // Replaces the performance data made from the process table.
    void setPerformanceData(const std::vector<std::uint8_t>& block) { performanceData_ = block; }
    // The next queries answer ERROR_MORE_DATA whatever the buffer, as when
    // the system's data grows between calls. With sizeLeft they also leave
    // that in the size, as the system may (it is not defined for this data).
    void growPerformanceDataFor(unsigned queries, std::optional<std::uint32_t> sizeLeft = std::nullopt) {
        moreDataQueries_ = queries;
        sizeLeftOnMoreData_ = sizeLeft;
    }

    // Every deletion asked for, in order, as spelt by the caller.
    const std::vector<std::string>& deletionsAsked() const { return deletionsAsked_; }
    unsigned performanceQueries() const { return performanceQueries_; }
    int openKeys() const { return openKeys_; }
    int performanceDataOpen() const { return performanceOpen_; }

    RegistryViews softwareViews() override;
    // A view the machine does not keep is refused with
    // ERROR_INVALID_PARAMETER, so a view asked for on 32-bit Windows shows.
    RegistryStatus openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                  std::unique_ptr<RegistryKey>& key) override;
    RegistryStatus deleteMachineKey(const char* subkey) override;
    RegistryStatus queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) override;
    void closePerformanceData() override { performanceOpen_ = 0; }

private:
    class Key;
    struct StoredKey {
        std::string name;  // the last part of its path, as first spelt
        std::vector<RegistryValue> values;
    };

    static std::string keyOf(const std::string& path);
    // The key's path as 64-bit programs see it, as spelt; empty for a view
    // the machine does not keep.
    std::string pathInView(const std::string& subkey, RegistryView view) const;
    // The name of the index-th direct subkey of the key at path (in
    // capitals), in the order of their names in capitals; null past the last.
    const std::string* subkeyNameAt(const std::string& path, std::uint32_t index) const;
    std::vector<std::uint8_t> currentPerformanceData() const;

    FaultPlan& faults_;
    FakeProcesses& processes_;
    FakeBitness bitness_ = FakeBitness::k32BitWindows;
    std::map<std::string, StoredKey> keys_;  // by path in capitals
    std::set<std::string> denied_;
    std::optional<std::vector<std::uint8_t>> performanceData_;
    unsigned moreDataQueries_ = 0;
    std::optional<std::uint32_t> sizeLeftOnMoreData_;
    std::vector<std::string> deletionsAsked_;
    unsigned performanceQueries_ = 0;
    int openKeys_ = 0;
    int performanceOpen_ = 0;
};

}  // namespace brisko::fake
