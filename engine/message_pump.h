#pragma once
// Keeps the window alive during a scan: takes one pending message, and turns
// the Escape key and the end of the program into a stop request.

namespace brisko {

// Asked before a running scan stops, here on Escape and by the main dialog.
constexpr const char* kStopQuestion = "Terminate the Scan now?";

void pumpOneMessage();

}  // namespace brisko
