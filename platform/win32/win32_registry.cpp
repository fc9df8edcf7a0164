#include "platform/win32/windows_api.h"

#include "platform/win32/win32_registry.h"

#include "platform/win32/wow64.h"

namespace brisko {
namespace {

// The view flags of RegOpenKeyEx, newer than the API level we build for.
constexpr REGSAM kViewOf64BitPrograms = 0x0100;  // KEY_WOW64_64KEY
constexpr REGSAM kViewOf32BitPrograms = 0x0200;  // KEY_WOW64_32KEY

#ifdef _WIN64
constexpr RegistryView kOwnView = RegistryView::k64Bit;
#else
constexpr RegistryView kOwnView = RegistryView::k32Bit;
#endif

// The flag that opens another view than the program's own. The program's
// own view is opened without one, as on systems that know no views.
REGSAM viewFlag(RegistryView view) {
    if (view == kOwnView || view == RegistryView::kDefault) return 0;
    return view == RegistryView::k64Bit ? kViewOf64BitPrograms : kViewOf32BitPrograms;
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    RegistryStatus queryValue(const char* name, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t& size) override {
        DWORD valueType = 0;
        DWORD length = size;
        const LONG status = RegQueryValueExA(key_, name, nullptr, &valueType, data, &length);
        if (type != nullptr) *type = valueType;
        size = length;
        return status;
    }

    RegistryStatus deleteValue(const char* name) override { return RegDeleteValueA(key_, name); }

    RegistryStatus countValues(std::uint32_t& count) override {
        DWORD values = 0;
        const LONG status = RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                             nullptr, nullptr, nullptr, nullptr);
        count = values;
        return status;
    }

    RegistryStatus valueNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        DWORD length = capacity;
        const LONG status = RegEnumValueA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        capacity = length;
        return status;
    }

    RegistryStatus subkeyNameAt(std::uint32_t index, char* name, std::uint32_t& capacity) override {
        DWORD length = capacity;
        const LONG status = RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        capacity = length;
        return status;
    }

private:
    HKEY key_;
};

}  // namespace

RegistryViews Win32Registry::softwareViews() {
#ifdef _WIN64
    return {RegistryView::k64Bit, RegistryView::k32Bit};
#else
    if (runsUnderWow64()) return {RegistryView::k32Bit, RegistryView::k64Bit};
    return {};
#endif
}

RegistryStatus Win32Registry::openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                             std::unique_ptr<RegistryKey>& key) {
    key.reset();
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, access | viewFlag(view), &opened);
    if (status == ERROR_SUCCESS) key = std::make_unique<Win32RegistryKey>(opened);
    return status;
}

RegistryStatus Win32Registry::deleteMachineKey(const char* subkey) {
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey);
}

RegistryStatus Win32Registry::queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) {
    DWORD length = size;
    const LONG status = RegQueryValueExA(HKEY_PERFORMANCE_DATA, objects, nullptr, nullptr, data, &length);
    size = length;
    return status;
}

void Win32Registry::closePerformanceData() { RegCloseKey(HKEY_PERFORMANCE_DATA); }

}  // namespace brisko
