#pragma once
// The main dialog's shape and sizes: the window region cut out of the skin
// bitmap, the rescaling of its children and its fonts.
#include "platform/win32/windows_api.h"
#include "ui/framework/gdi_handles.h"

namespace brisko {

// The region of every pixel that differs from keyColour (includeOthers) or
// equals it; null when none could be made.
HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF keyColour, bool includeOthers);

// Stretches every child from the reference client size to the dialog's
// client size; right only for a dialog at the screen origin.
void ScaleChildWindows(HWND dialog, int referenceWidth, int referenceHeight);

// The dialog's font, or the system font when it has none, with another
// height, weight, underline and slant.
int MakeDialogFont(HWND dialog, FontObject& font, int height, int weight, BYTE underline, BYTE italic);

}  // namespace brisko
