#pragma once
// Plain values that cross the seam to the operating system. Nothing here
// names a Windows type: handles are opaque integers, records are our own.
#include <cstdint>

namespace brisko {

// Window handle as an opaque value; 0 means "no window".
using WindowHandle = std::uintptr_t;

// Capacity of every path and pattern buffer, terminator included.
constexpr unsigned kPathCapacity = 260;

// File attribute bits, with the values Windows gives them.
constexpr std::uint32_t kAttributeReadOnly = 0x01;
constexpr std::uint32_t kAttributeHidden = 0x02;
constexpr std::uint32_t kAttributeSystem = 0x04;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;

// Drive types, with the values GetDriveType gives them.
enum DriveType : unsigned {
    kDriveUnknown = 0,
    kDriveNoRootDirectory = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveOptical = 5,
    kDriveRamDisk = 6,
};

// One entry of a directory listing.
struct DirectoryEntry {
    char name[kPathCapacity];
    std::uint32_t attributes;
    std::uint64_t size;
};

// One message taken from the thread's queue, with every field the system
// needs to dispatch it again.
struct WindowMessage {
    WindowHandle window;
    std::uint32_t id;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    std::uint32_t time;
    std::int32_t x;
    std::int32_t y;
};

// Message numbers the program itself looks at.
constexpr std::uint32_t kMessageDestroy = 0x0002;
constexpr std::uint32_t kMessageQuit = 0x0012;
constexpr std::uint32_t kMessageKeyDown = 0x0100;
constexpr std::uintptr_t kKeyEscape = 27;

}  // namespace brisko
