#pragma once
// Every question brisko.exe asks goes through its own skinned message
// dialog, owned by and centred on the window that asks.
#include "platform/message_box_flags.h"
#include "platform/win32/windows_api.h"

namespace brisko {

// Asks and returns the button pressed, one of the kAnswer values. With a
// null owner the dialog belongs to no window and stays where it stands.
int ShowMessageDialog(HWND owner, const char* text, const char* caption, unsigned flags);

}  // namespace brisko
