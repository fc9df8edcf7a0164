#pragma once
// The texts of the main dialog, its prompts and its two web addresses.
#include <string>

namespace brisko {

// Title line of the idle dialog; ends in a blank.
std::string titleLine();
// Subtitle of the dialog, built in a path-sized buffer; ends in a blank.
std::string subtitleLine();
// What the dialog says it searches for while it scans.
std::string searchingForLine();

constexpr const char* kNoticeLine = "Close every other program before you press Scan; Brisko asks before it stops. ";
constexpr const char* kProductLine = "This program is a part of Kavrel antivirus software.";

// The close box asks the same question as Escape under a caption of its own.
constexpr const char* kCloseBoxCaption = "DialogBoxTitle";
constexpr const char* kScanningCaption = "Scanning";

// The maker's pages, opened with the shell.
constexpr const char* kProductPageAddress = "http://www.example.com/kavrel/";
constexpr const char* kRemovalToolsPageAddress = "http://www.example.com/removal-tools/";

}  // namespace brisko
