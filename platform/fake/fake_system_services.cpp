#include "platform/fake/fake_system_services.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace brisko::fake {
namespace {

std::string inCapitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

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
    environment_[inCapitals(name)] = value;
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
    std::string expanded;
    for (const char* at = text; *at != '\0';) {
        const char* close = *at == '%' ? std::strchr(at + 1, '%') : nullptr;
        const auto variable =
            close != nullptr ? environment_.find(inCapitals(std::string(at + 1, close))) : environment_.end();
        if (variable != environment_.end()) {
            expanded += variable->second;
            at = close + 1;
        } else {
            expanded += *at++;
        }
    }
    const unsigned needed = static_cast<unsigned>(expanded.size() + 1);
    if (needed <= capacity) std::memcpy(buffer, expanded.c_str(), needed);
    return needed;
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
