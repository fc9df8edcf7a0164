#pragma once
// A front end that adds a mark to every report line before handing it on,
// and hands everything else on as it is: the lines of one hive's cleanup
// say which hive they came from.
#include <string>

#include "session/scan_front_end.h"

namespace brisko {

class MarkedFrontEnd : public ScanFrontEnd {
public:
    MarkedFrontEnd(ScanFrontEnd& inner, std::string mark) : inner_(inner), mark_(std::move(mark)) {}

    void appendLine(const char* line) override { inner_.appendLine((line + mark_).c_str()); }
    void showItem(const char* item) override { inner_.showItem(item); }
    PendingEvent takeEvent() override { return inner_.takeEvent(); }
    int ask(const Question& question) override { return inner_.ask(question); }

private:
    ScanFrontEnd& inner_;
    std::string mark_;
};

}  // namespace brisko
