#pragma once
// One scan: its record, the front end it reports to, and the actions on the
// running system it takes. Every step of the scan is handed this object, or
// the context inside it.
#include <cstdint>

#include "scan/system_actions.h"
#include "session/scan_context.h"
#include "walk/directory_walk.h"

namespace brisko {

class Scan : public FileVisitor {
public:
    // A scan that acts on the running system.
    explicit Scan(ScanFrontEnd& frontEnd) : Scan(frontEnd, liveActions_) {}
    // A scan whose system actions another part (a test) takes on.
    Scan(ScanFrontEnd& frontEnd, SystemActions& actions) : context_(session_, frontEnd), actions_(actions) {}
    Scan(const Scan&) = delete;
    Scan& operator=(const Scan&) = delete;

    ScanSession& session() { return session_; }
    ScanContext& context() { return context_; }
    SystemActions& actions() { return actions_; }

    // Tests every file the walk lists, as the walk's one threat callback.
    void offerFile(const char* path, std::uint64_t listedLength) override;

private:
    SystemActions liveActions_;
    ScanSession session_{};
    ScanContext context_;
    SystemActions& actions_;
};

}  // namespace brisko
