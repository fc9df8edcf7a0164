#pragma once
// Text as a JSON string. Report files are read by programs: whatever bytes
// a path on a foreign volume holds, the result is valid JSON in UTF-8.
#include <string>
#include <string_view>

namespace brisko {

// The quoted JSON string of the text. Quotes, backslashes and control
// characters are escaped; bytes that are not UTF-8 are taken as Latin-1.
std::string jsonString(std::string_view text);

}  // namespace brisko
