#pragma once
// A front end that adds a mark to every report line and names the hive in
// every event before handing them on, and hands everything else on as it
// is: what one hive's cleanup reports says which hive it came from.
#include <string>
#include <utility>

#include "session/scan_front_end.h"

namespace brisko {

class MarkedFrontEnd : public ScanFrontEnd {
public:
    MarkedFrontEnd(ScanFrontEnd& inner, std::string mark, std::string hive)
        : inner_(inner), mark_(std::move(mark)), hive_(std::move(hive)) {}

    void appendLine(const char* line) override { inner_.appendLine((line + mark_).c_str()); }
    void showItem(const char* item) override { inner_.showItem(item); }
    PendingEvent takeEvent() override { return inner_.takeEvent(); }
    int ask(const Question& question) override { return inner_.ask(question); }
    void noteEvent(const ScanEvent& event) override {
        ScanEvent inHive = event;
        inHive.hive = hive_.c_str();
        inner_.noteEvent(inHive);
    }

private:
    ScanFrontEnd& inner_;
    std::string mark_;
    std::string hive_;
};

}  // namespace brisko
