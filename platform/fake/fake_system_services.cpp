#include "platform/fake/fake_system_services.h"

#include <cstring>
#include <utility>

namespace brisko::fake {
namespace {

// As GetWindowsDirectory and its kin answer: the length, or the size
// needed with the terminator when the buffer is too small.
unsigned giveDirectory(const std::string& path, char* buffer, unsigned capacity) {
    if (path.empty()) return 0;
    if (path.size() + 1 > capacity) return static_cast<unsigned>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<unsigned>(path.size());
}

}  // namespace

FakeSystemServices::FakeSystemServices(FaultPlan& faults)
    : faults_(faults),
      windowsDirectory_("C:\\WINDOWS"),
      systemDirectory_("C:\\WINDOWS\\SYSTEM32"),
      temporaryDirectory_("C:\\WINDOWS\\TEMP\\") {
    setEnvironmentVariable("SystemRoot", windowsDirectory_);
    setEnvironmentVariable("windir", windowsDirectory_);
    setEnvironmentVariable("TEMP", "C:\\WINDOWS\\TEMP");
}

void FakeSystemServices::setEnvironmentVariable(const std::string& name, const std::string& value) {
    environment_.set(name, value);
}

unsigned FakeSystemServices::windowsDirectory(char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kWindowsDirectory)) return 0;
    return giveDirectory(windowsDirectory_, buffer, capacity);
}

unsigned FakeSystemServices::systemDirectory(char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kSystemDirectory)) return 0;
    return giveDirectory(systemDirectory_, buffer, capacity);
}

unsigned FakeSystemServices::temporaryDirectory(char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kTemporaryDirectory)) return 0;
    return giveDirectory(temporaryDirectory_, buffer, capacity);
}

unsigned FakeSystemServices::expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kExpandEnvironmentStrings)) return 0;
    return environment_.expandInto(text, buffer, capacity);
}

class FakeSystemServices::Claim : public NamedClaim {
public:
    Claim(std::set<std::string>& claimed, std::string name) : claimed_(claimed), name_(std::move(name)) {
        claimed_.insert(name_);
    }
    ~Claim() override { claimed_.erase(name_); }
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

private:
    std::set<std::string>& claimed_;
    std::string name_;
};

std::unique_ptr<NamedClaim> FakeSystemServices::claimName(const char* name) {
    if (isClaimed(name)) return nullptr;
    return std::make_unique<Claim>(claimed_, name);
}

}  // namespace brisko::fake
