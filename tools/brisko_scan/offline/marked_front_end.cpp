#include "tools/brisko_scan/offline/marked_front_end.h"

#include <utility>

namespace brisko {

MarkedFrontEnd::MarkedFrontEnd(ScanFrontEnd& inner, Mark mark, std::string hive)
    : inner_(inner), mark_(std::move(mark)), hive_(std::move(hive)) {}

MarkedFrontEnd::~MarkedFrontEnd() { handOnHeldLine(nullptr); }

void MarkedFrontEnd::appendLine(const char* line) {
    handOnHeldLine(nullptr);
    heldLine_ = line;
    holding_ = true;
}

void MarkedFrontEnd::showItem(const char* item) {
    handOnHeldLine(nullptr);
    inner_.showItem(item);
}

PendingEvent MarkedFrontEnd::takeEvent() {
    handOnHeldLine(nullptr);
    return inner_.takeEvent();
}

int MarkedFrontEnd::ask(const Question& question) {
    handOnHeldLine(nullptr);
    return inner_.ask(question);
}

void MarkedFrontEnd::noteEvent(const ScanEvent& event) {
    handOnHeldLine(event.view);
    ScanEvent inHive = event;
    inHive.hive = hive_.c_str();
    inner_.noteEvent(inHive);
}

void MarkedFrontEnd::handOnHeldLine(const char* view) {
    if (!holding_) return;
    holding_ = false;
    inner_.appendLine((heldLine_ + mark_(view)).c_str());
}

}  // namespace brisko
