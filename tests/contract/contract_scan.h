#pragma once
// A scan over the backend that reports to a window of the backend (a window
// of the simulated machine natively, a real one under Wine) through the
// window front end, as brisko.exe's scan reports to its dialog. Nobody
// watches: every question is refused.
#include <cstdint>
#include <string>
#include <vector>

#include "scan/scan.h"
#include "tests/contract/contract_backend.h"
#include "ui/window_front_end.h"

namespace brisko {

class RefusingWindowFrontEnd : public WindowFrontEnd {
public:
    using WindowFrontEnd::WindowFrontEnd;
    int ask(const Question& question) override { return refusalOf(question); }
};

class ContractScan {
public:
    explicit ContractScan(ContractBackend& backend)
        : window_(backend.makeWindow([this](std::uint32_t id) { onMessage(id); })), frontEnd_(window_), scan_(frontEnd_) {
        scan_.session().reportWindow = window_;
    }
    ContractScan(const ContractScan&) = delete;
    ContractScan& operator=(const ContractScan&) = delete;

    Scan& scan() { return scan_; }
    ScanSession& session() { return scan_.session(); }
    // What the window was sent, read from the record as the dialog reads it.
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<std::string>& items() const { return items_; }

private:
    void onMessage(std::uint32_t id) {
        if (id == kAppendLineMessage) lines_.push_back(scan_.session().reportLine);
        if (id == kShowItemMessage) items_.push_back(scan_.session().currentItem);
    }

    WindowHandle window_;
    RefusingWindowFrontEnd frontEnd_;
    Scan scan_;
    std::vector<std::string> lines_;
    std::vector<std::string> items_;
};

}  // namespace brisko
