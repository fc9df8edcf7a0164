#include "platform/win32/windows_api.h"

#include "platform/win32/win32_file_system.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>

#include "platform/win32/win32_directory_listing.h"
#include "platform/win32/wow64.h"

// Every call that names a path sees the true file system (wow64.h).
namespace brisko {

std::unique_ptr<DirectoryListing> Win32FileSystem::listDirectory(const char* pattern) {
    TrueFileSystemView trueView;
    return startWin32Listing(pattern);
}

DriveType Win32FileSystem::driveType(const char* root) {
    return static_cast<DriveType>(GetDriveTypeA(root));
}

bool Win32FileSystem::exists(const char* path) {
    TrueFileSystemView trueView;
    return _access(path, 0) == 0;
}

bool Win32FileSystem::setAttributes(const char* path, std::uint32_t attributes) {
    TrueFileSystemView trueView;
    return SetFileAttributesA(path, attributes) != FALSE;
}

bool Win32FileSystem::removeFile(const char* path) {
    TrueFileSystemView trueView;
    return DeleteFileA(path) != FALSE;
}

bool Win32FileSystem::moveFile(const char* from, const char* to) {
    TrueFileSystemView trueView;
    return MoveFileA(from, to) != FALSE;
}

int Win32FileSystem::openForReading(const char* path) {
    TrueFileSystemView trueView;
    return _open(path, _O_RDONLY | _O_BINARY);
}

std::int32_t Win32FileSystem::fileLength(int descriptor) {
    // long is 32 bits on Windows; the runtime gives -1 for a length it
    // cannot return.
    return static_cast<std::int32_t>(_filelength(descriptor));
}

bool Win32FileSystem::seekFromStart(int descriptor, std::int32_t offset) {
    return _lseek(descriptor, offset, SEEK_SET) != -1L;
}

int Win32FileSystem::read(int descriptor, void* buffer, unsigned count) {
    return _read(descriptor, buffer, count);
}

void Win32FileSystem::close(int descriptor) { _close(descriptor); }

int Win32FileSystem::openForWriting(const char* path, WriteMode mode) {
    const int flags = mode == WriteMode::kCreateNew ? (_O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY)
                                                    : (_O_WRONLY | _O_TRUNC | _O_BINARY);
    TrueFileSystemView trueView;
    return _open(path, flags, _S_IREAD | _S_IWRITE);
}

int Win32FileSystem::write(int descriptor, const void* data, unsigned count) {
    return _write(descriptor, data, count);
}

bool Win32FileSystem::copyFile(const char* from, const char* to) {
    TrueFileSystemView trueView;
    return CopyFileA(from, to, FALSE) != FALSE;
}

unsigned Win32FileSystem::shortPathName(const char* path, char* buffer, unsigned capacity) {
    TrueFileSystemView trueView;
    return GetShortPathNameA(path, buffer, capacity);
}

bool Win32FileSystem::deleteAtRestart(const char* path) {
    TrueFileSystemView trueView;
    return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

}  // namespace brisko
