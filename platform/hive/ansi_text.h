#pragma once
// Registry text as the A functions hand it to the program: one byte a
// character. Latin-1 stands in for the ANSI code page (Windows-1252 agrees
// with it on every letter); a character it cannot show becomes '?', as
// WideCharToMultiByte's default character.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brisko {

// UTF-16LE as hives store string data; an odd last byte is dropped.
std::string ansiFromUtf16(const std::uint8_t* bytes, std::size_t length);

// UTF-8 as hivex gives key and value names.
std::string ansiFromUtf8(const char* text);

}  // namespace brisko
