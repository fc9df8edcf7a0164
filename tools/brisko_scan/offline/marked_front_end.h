#pragma once
// A front end that says which hive a cleanup's reports come from: it adds
// a mark to every report line and names the hive in every event before
// handing them on, and hands everything else on as it is. The mark names
// also the registry view a removed value stood in, which only the event
// posted after the line tells: a line is held until its event, or any
// other call, comes.
#include <functional>
#include <string>

#include "session/scan_front_end.h"

namespace brisko {

class MarkedFrontEnd : public ScanFrontEnd {
public:
    // The mark added to a line, given the name of its value's view, or null.
    using Mark = std::function<std::string(const char* view)>;

    MarkedFrontEnd(ScanFrontEnd& inner, Mark mark, std::string hive);
    // Hands on a line still held.
    ~MarkedFrontEnd() override;
    MarkedFrontEnd(const MarkedFrontEnd&) = delete;
    MarkedFrontEnd& operator=(const MarkedFrontEnd&) = delete;

    void appendLine(const char* line) override;
    void showItem(const char* item) override;
    PendingEvent takeEvent() override;
    int ask(const Question& question) override;
    void noteEvent(const ScanEvent& event) override;

private:
    void handOnHeldLine(const char* view);

    ScanFrontEnd& inner_;
    Mark mark_;
    std::string hive_;
    std::string heldLine_;
    bool holding_ = false;
};

}  // namespace brisko
