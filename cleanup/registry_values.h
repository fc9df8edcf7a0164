#pragma once
// Reading and deleting single registry values under HKEY_LOCAL_MACHINE, in
// one of its views, the way every cleanup step does it: open, act, close.
#include <cstdint>

#include "platform/registry.h"

namespace brisko {

// Data of a value read into the autostart walk's buffer: 261 bytes offered,
// one more kept for the terminator.
constexpr std::uint32_t kValueTextOffered = 261;
using ValueText = char[kValueTextOffered + 1];

// Reads a value's data as text from an open key: its size is asked first,
// then the data is read offering `offered` bytes into a buffer of
// offered + 1, which always ends in a terminator, whatever the data is.
// False when the value is missing or its data does not fit.
bool readValueText(RegistryKey& key, const char* valueName, char* buffer, std::uint32_t offered);

// 1 when the value was deleted, 0 when the key does not open or the value
// is not deleted (missing, or access denied).
int deleteRegistryValue(const char* keyName, RegistryView view, const char* valueName);

// 1 when the value's data was read into buffer, 0 otherwise.
int readRegistryValue(const char* keyName, RegistryView view, const char* valueName, ValueText& buffer);

}  // namespace brisko
