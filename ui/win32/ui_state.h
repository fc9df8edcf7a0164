#pragma once
// What the dialogs share for the life of the process.
#include "platform/win32/windows_api.h"
#include "ui/framework/gdi_handles.h"

namespace brisko {

class CMainDialog;

// The running main dialog: owner and centre of every question, source of
// the dialog font.
extern CMainDialog* mainDialog;
// Background of the main dialog and of its static texts.
extern BrushObject whiteBrush;
// Bold font of the subtitle.
extern FontObject labelFont;
// The screen has 120 logical pixels per inch or more.
extern bool largeFonts;

}  // namespace brisko
