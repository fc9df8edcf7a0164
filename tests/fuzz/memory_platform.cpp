#include "tests/fuzz/memory_platform.h"

#include <cstring>

#include "tests/fuzz/fuzz_check.h"

namespace brisko::fuzz {
namespace {

// The one descriptor the memory file hands out.
constexpr int kDescriptor = 3;

[[noreturn]] void unexpectedCall(const char* what) {
    std::fprintf(stderr, "fuzz platform: unexpected call of %s\n", what);
    __builtin_trap();
}

}  // namespace

void MemoryFile::hold(const std::uint8_t* bytes, std::size_t size) {
    FUZZ_CHECK(openCount_ == 0);
    bytes_ = bytes;
    size_ = size;
}

int MemoryFile::openForReading(const char*) {
    // One reader at a time is all the code under test needs.
    FUZZ_CHECK(openCount_ == 0);
    ++openCount_;
    position_ = 0;
    return kDescriptor;
}

std::int32_t MemoryFile::fileLength(int descriptor) {
    FUZZ_CHECK(descriptor == kDescriptor && openCount_ == 1);
    return size_ > INT32_MAX ? -1 : static_cast<std::int32_t>(size_);
}

bool MemoryFile::seekFromStart(int descriptor, std::int32_t offset) {
    FUZZ_CHECK(descriptor == kDescriptor && openCount_ == 1);
    if (offset < 0) return false;
    position_ = static_cast<std::size_t>(offset);
    return true;
}

int MemoryFile::read(int descriptor, void* buffer, unsigned count) {
    FUZZ_CHECK(descriptor == kDescriptor && openCount_ == 1);
    if (position_ >= size_) return 0;
    const std::size_t available = size_ - position_;
    const std::size_t taken = count < available ? count : available;
    std::memcpy(buffer, bytes_ + position_, taken);
    position_ += taken;
    return static_cast<int>(taken);
}

void MemoryFile::close(int descriptor) {
    FUZZ_CHECK(descriptor == kDescriptor && openCount_ == 1);
    --openCount_;
}

std::unique_ptr<DirectoryListing> MemoryFile::listDirectory(const char*) { unexpectedCall("listDirectory"); }
DriveType MemoryFile::driveType(const char*) { unexpectedCall("driveType"); }
bool MemoryFile::exists(const char*) { unexpectedCall("exists"); }
bool MemoryFile::setAttributes(const char*, std::uint32_t) { unexpectedCall("setAttributes"); }
bool MemoryFile::removeFile(const char*) { unexpectedCall("removeFile"); }
bool MemoryFile::moveFile(const char*, const char*) { unexpectedCall("moveFile"); }
int MemoryFile::openForWriting(const char*, WriteMode) { unexpectedCall("openForWriting"); }
int MemoryFile::write(int, const void*, unsigned) { unexpectedCall("write"); }
bool MemoryFile::copyFile(const char*, const char*) { unexpectedCall("copyFile"); }
unsigned MemoryFile::shortPathName(const char*, char*, unsigned) { unexpectedCall("shortPathName"); }
bool MemoryFile::deleteAtRestart(const char*) { unexpectedCall("deleteAtRestart"); }

MemoryPlatform::MemoryPlatform() { installPlatform(this); }
MemoryPlatform::~MemoryPlatform() { installPlatform(nullptr); }

WindowMessaging& MemoryPlatform::windows() { unexpectedCall("windows"); }
SystemServices& MemoryPlatform::system() { unexpectedCall("system"); }
Processes& MemoryPlatform::processes() { unexpectedCall("processes"); }
Registry& MemoryPlatform::registry() { unexpectedCall("registry"); }
Services& MemoryPlatform::services() { unexpectedCall("services"); }
Privileges& MemoryPlatform::privileges() { unexpectedCall("privileges"); }
SystemControl& MemoryPlatform::control() { unexpectedCall("control"); }

}  // namespace brisko::fuzz
