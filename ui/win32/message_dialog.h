#pragma once
// Every question brisko.exe asks goes through its own skinned message
// dialog, owned by and centred on the main dialog.
#include "platform/message_box_flags.h"

namespace brisko {

// Asks and returns the button pressed, one of the kAnswer values.
int ShowMessageDialog(const char* text, const char* caption, unsigned flags);

}  // namespace brisko
