#pragma once
// The registry as the program uses it: keys under HKEY_LOCAL_MACHINE opened,
// read, listed, emptied of values and deleted, in either view of a 64-bit
// machine, and the performance data. Results
// are the system's error codes (0 for success), so callers can tell a
// missing key from a refused one and ERROR_MORE_DATA from a failure.
#include <cstdint>
#include <memory>

namespace brisko {

using RegistryStatus = std::int32_t;

// Error codes, with the values Windows gives them.
constexpr RegistryStatus kErrorSuccess = 0;
constexpr RegistryStatus kErrorFileNotFound = 2;
constexpr RegistryStatus kErrorAccessDenied = 5;
constexpr RegistryStatus kErrorInvalidParameter = 87;
constexpr RegistryStatus kErrorMoreData = 234;
constexpr RegistryStatus kErrorNoMoreItems = 259;

// Key access rights, with the values Windows gives them.
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types, with the values Windows gives them.
constexpr std::uint32_t kRegistryString = 1;
constexpr std::uint32_t kRegistryBinary = 3;
constexpr std::uint32_t kRegistryNumber = 4;
constexpr std::uint32_t kRegistryMultiString = 7;

// 64-bit Windows keeps two views of HKEY_LOCAL_MACHINE\Software: the one of
// 64-bit programs and the one of 32-bit programs (Software\Wow6432Node as
// 64-bit programs see it). A program sees its own unless it names the
// other; every other key is the same in both. 32-bit Windows keeps one
// view, and a view named there is refused on some versions: kDefault,
// which names none, is the only one used there.
enum class RegistryView : unsigned char {
    // The view of a program that names none: its own on 64-bit Windows.
    kDefault,
    k64Bit,
    k32Bit,
};

// "64-bit" or "32-bit"; null for kDefault.
const char* registryViewName(RegistryView view);

// The views of HKEY_LOCAL_MACHINE\Software a cleanup goes through, the
// program's own first.
class RegistryViews {
public:
    RegistryViews() = default;
    // Both views of 64-bit Windows.
    RegistryViews(RegistryView own, RegistryView other) : views_{own, other}, count_(2) {}
    const RegistryView* begin() const { return views_; }
    const RegistryView* end() const { return views_ + count_; }

private:
    // kDefault alone, as on 32-bit Windows, unless both are given.
    RegistryView views_[2] = {RegistryView::kDefault, RegistryView::kDefault};
    unsigned count_ = 1;
};

// An open key. Closes it when destroyed.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Reads a value (null name: the default value). With data null only
    // size is set; otherwise size is the capacity on entry and the bytes
    // written (or needed, with kErrorMoreData) on return. type may be null.
    virtual RegistryStatus queryValue(const char* name, std::uint32_t* type, std::uint8_t* data,
                                      std::uint32_t& size) = 0;
    virtual RegistryStatus deleteValue(const char* name) = 0;
    // Number of values held by the key.
    virtual RegistryStatus countValues(std::uint32_t& count) = 0;
    // Name of the value at index; capacity is the buffer's size on entry and
    // the name's length on return. kErrorNoMoreItems past the last one.
    virtual RegistryStatus valueNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) = 0;
    // Name of the subkey at index, in the system's order (sorted, case-blind);
    // capacity as in valueNameAt.
    virtual RegistryStatus subkeyNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // The machine's views of HKEY_LOCAL_MACHINE\Software, the program's
    // own first: kDefault alone on 32-bit Windows, both on 64-bit Windows.
    virtual RegistryViews softwareViews() = 0;
    // Opens HKEY_LOCAL_MACHINE\subkey in the view (kDefault, or one of
    // softwareViews());
    // key is null unless the result is 0.
    virtual RegistryStatus openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                          std::unique_ptr<RegistryKey>& key) = 0;
    // Deletes HKEY_LOCAL_MACHINE\subkey, which must have no subkeys.
    virtual RegistryStatus deleteMachineKey(const char* subkey) = 0;
    // Reads the performance data of the objects named by their index text
    // ("230"); size as in RegistryKey::queryValue.
    virtual RegistryStatus queryPerformanceData(const char* objects, std::uint8_t* data,
                                                std::uint32_t& size) = 0;
    // Closes HKEY_PERFORMANCE_DATA after reading it.
    virtual void closePerformanceData() = 0;
};

}  // namespace brisko
