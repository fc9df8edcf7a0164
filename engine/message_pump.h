#pragma once
// Keeps the window alive during a scan: takes one pending message, and turns
// the Escape key and the end of the program into a stop request.

namespace brisko {

void pumpOneMessage();

}  // namespace brisko
