#include "platform/win32/windows_api.h"

#include "platform/win32/win32_directory_listing.h"

#include <cstring>

namespace brisko {
namespace {

static_assert(sizeof(WIN32_FIND_DATAA::cFileName) <= kPathCapacity,
              "a found name must fit in a directory entry");

// Owns one search handle. FindFirstFileA has already produced the first
// entry, so it is held back until the first call of next.
class Win32DirectoryListing final : public DirectoryListing {
public:
    Win32DirectoryListing(HANDLE search, const WIN32_FIND_DATAA& first)
        : search_(search), pending_(first), hasPending_(true) {}
    ~Win32DirectoryListing() override { FindClose(search_); }
    Win32DirectoryListing(const Win32DirectoryListing&) = delete;
    Win32DirectoryListing& operator=(const Win32DirectoryListing&) = delete;

    bool next(DirectoryEntry& entry) override {
        if (!hasPending_ && !FindNextFileA(search_, &pending_)) {
            brokeOff_ = GetLastError() != ERROR_NO_MORE_FILES;
            return false;
        }
        hasPending_ = false;
        // The whole array is copied and then terminated, so a name the
        // system left unterminated still ends inside our buffer.
        std::memcpy(entry.name, pending_.cFileName, sizeof pending_.cFileName);
        entry.name[kPathCapacity - 1] = '\0';
        entry.attributes = pending_.dwFileAttributes;
        entry.size = (static_cast<std::uint64_t>(pending_.nFileSizeHigh) << 32) |
                     pending_.nFileSizeLow;
        return true;
    }
    bool brokeOff() const override { return brokeOff_; }

private:
    HANDLE search_;
    WIN32_FIND_DATAA pending_;
    bool hasPending_;
    bool brokeOff_ = false;
};

}  // namespace

std::unique_ptr<DirectoryListing> startWin32Listing(const char* pattern) {
    WIN32_FIND_DATAA first;
    HANDLE search = FindFirstFileA(pattern, &first);
    if (search == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32DirectoryListing>(search, first);
}

}  // namespace brisko
