#include "platform/registry_results.h"

#include <cstring>

namespace brisko {

RegistryStatus giveRegistryData(const std::uint8_t* bytes, std::uint32_t length, std::uint8_t* data,
                                std::uint32_t& size) {
    if (data != nullptr && size < length) {
        size = length;
        return kErrorMoreData;
    }
    if (data != nullptr && length != 0) std::memcpy(data, bytes, length);
    size = length;
    return kErrorSuccess;
}

RegistryStatus giveRegistryName(const std::string& text, char* name, std::uint32_t& capacity) {
    if (text.size() + 1 > capacity) return kErrorMoreData;
    std::memcpy(name, text.c_str(), text.size() + 1);
    capacity = static_cast<std::uint32_t>(text.size());
    return kErrorSuccess;
}

}  // namespace brisko
