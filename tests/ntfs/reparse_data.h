#pragma once
// NTFS reparse points as Windows stores them, for ntfs-3g's
// system.ntfs_reparse_data attribute: what mklink /J and mklink /D leave on
// a folder. Targets are Windows paths on the volume ("C:\Users").
#include <cstdint>
#include <string>
#include <vector>

namespace brisko::testing {

// A junction (mount point reparse point).
std::vector<std::uint8_t> junctionTo(const std::string& windowsTarget);
// A symbolic link with an absolute target.
std::vector<std::uint8_t> symbolicLinkTo(const std::string& windowsTarget);

}  // namespace brisko::testing
