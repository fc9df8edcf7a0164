#pragma once
// Real mouse and keyboard input for brisko-driver: events put into the
// system's input queue (SendInput), which reach the program's windows
// through its message loop and the dialog manager, as a person's would.
#include <windows.h>

namespace driver {

// Moves the pointer onto the screen point.
void moveTo(POINT screen);
// Moves the pointer onto the screen point, then presses and releases the
// left button there.
void clickAt(POINT screen);
// A click in the middle of the window.
void clickOn(HWND window);
// The key pressed and released.
void pressKey(WORD virtualKey);
// A screen point on the window's close box, found by asking the window
// what lies under points of its caption; false when it has none.
bool closeBoxOf(HWND window, POINT& at);

}  // namespace driver
