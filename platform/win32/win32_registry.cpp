#include "platform/win32/windows_api.h"

#include "platform/win32/win32_registry.h"

namespace brisko {
namespace {

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

RegistryStatus Win32Registry::openMachineKey(const char* subkey, std::uint32_t access,
                                             std::unique_ptr<RegistryKey>& key) {
    key.reset();
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, access, &opened);
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
