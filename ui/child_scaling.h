#pragma once
// The arithmetic by which the main dialog stretches its children from the
// size it was drawn for to the size it has.
#include "ui/pixel_rect.h"

namespace brisko {

// The main dialog's children are placed for a client area of this size.
constexpr int kReferenceClientWidth = 600;
constexpr int kReferenceClientHeight = 337;

// Divides a child's screen rectangle by the ratio of the client size to the
// reference size, cutting toward zero. The screen coordinates themselves
// are divided, so the result is right only for a dialog at the screen
// origin.
PixelRect scaledScreenRect(const PixelRect& screenRect, int clientWidth, int clientHeight,
                           int referenceWidth, int referenceHeight);

}  // namespace brisko
