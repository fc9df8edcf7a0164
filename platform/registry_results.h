#pragma once
// Handing back registry data and names as the Reg*A calls do, for the
// backends that keep the registry themselves.
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace brisko {

// As RegQueryValueEx: with data null only size is set; a buffer smaller
// than length gets nothing and kErrorMoreData, with size set to length.
RegistryStatus giveRegistryData(const std::uint8_t* bytes, std::uint32_t length, std::uint8_t* data,
                                std::uint32_t& size);

// As RegEnumValue and RegEnumKeyEx: capacity counts the terminator on
// entry and not on return.
RegistryStatus giveRegistryName(const std::string& text, char* name, std::uint32_t& capacity);

}  // namespace brisko
