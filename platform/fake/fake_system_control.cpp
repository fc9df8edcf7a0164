#include "platform/fake/fake_system_control.h"

#include "platform/ascii_text.h"

namespace brisko::fake {

bool FakeSystemControl::queryVersion(SystemVersion& version) {
    if (faults_.fails(SeamCall::kQueryVersion) || !version_) return false;
    version = *version_;
    return true;
}

int FakeSystemControl::showSystemMessage(const char* text, const char* caption, unsigned type) {
    if (faults_.fails(SeamCall::kShowSystemMessage)) return 0;
    messages_.push_back({text, caption, type});
    return 1;  // IDOK: the only button of the boxes the program shows
}

int FakeSystemControl::requestShutdown(std::uint32_t flags) {
    if (faults_.fails(SeamCall::kRequestShutdown)) return 0;
    shutdowns_.push_back(flags);
    return shutdownResult_;
}

void FakeSystemControl::exitProgram(int code) { throw ProgramExited(code); }

int FakeSystemControl::convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) {
    if (faults_.fails(SeamCall::kConvertWideText)) return 0;
    return convertAsciiText(text, buffer, capacity);
}

}  // namespace brisko::fake
