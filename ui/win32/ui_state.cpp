#include "ui/win32/ui_state.h"

namespace brisko {

CMainDialog* mainDialog = nullptr;
BrushObject whiteBrush;
FontObject labelFont;
bool largeFonts = false;

}  // namespace brisko
