#include "ui/win32/skinned_button.h"

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace brisko {
namespace {

HBITMAP loadBitmap(const char* name) {
    // LR_LOADMAP3DCOLORS repaints the standard greys in the 3-D colours.
    return static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

// The help program's hand cursor, or null.
HCURSOR helpProgramHand() {
    char path[MAX_PATH];
    const char* program = "\\winhlp32.exe";
    const unsigned length = systemServices().windowsDirectory(path, sizeof path);
    if (length == 0 || length + std::strlen(program) >= sizeof path) return nullptr;
    std::strcat(path, program);
    // Only its resources are wanted: load it as data, so none of its code runs.
    HMODULE help = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (help == nullptr) return nullptr;
    HCURSOR hand = LoadCursorA(help, MAKEINTRESOURCEA(106));
    HCURSOR copy = hand != nullptr ? CopyCursor(hand) : nullptr;
    FreeLibrary(help);
    return copy;
}

// IDC_HAND, which the headers of the oldest systems do not name; Windows 95
// and NT 4 have no such cursor and give none.
constexpr WORD kSystemHandCursor = 32649;

}  // namespace

int SkinnedButton::loadSkin(int id, HWND parent) {
    if (!bound() && !bind(GetDlgItem(parent, id))) return 0;
    char text[64];
    if (GetWindowTextA(window_, text, sizeof text) == 0) return 0;
    const std::string name(text);
    POINT pointer{};
    GetCursorPos(&pointer);
    pointerRest_ = PointerRest(PixelPoint{pointer.x, pointer.y});
    loadSkinBitmaps((name + "_FOCUS").c_str(), (name + "_NOTFOCUS").c_str(), (name + "_DISABLE").c_str());
    return 1;
}

int SkinnedButton::loadSkinBitmaps(const char* focusName, const char* notFocusName, const char* disableName) {
    disableBitmap_.reset();
    notFocusBitmap_.reset();
    focusBitmap_.reset();
    focusBitmap_.reset(loadBitmap(focusName));
    if (!focusBitmap_) return 0;
    notFocusBitmap_.reset(loadBitmap(notFocusName));
    if (!notFocusBitmap_) return 0;
    disableBitmap_.reset(loadBitmap(disableName));
    return fitToBitmap();
}

int SkinnedButton::fitToBitmap() {
    BITMAP picture{};
    if (GetObjectA(notFocusBitmap_.get(), sizeof picture, &picture) == 0) return 0;
    if (!SetWindowPos(window_, nullptr, 0, 0, picture.bmWidth, picture.bmHeight,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE)) {
        return 0;
    }
    SetRect(&bitmapRect_, 0, 0, picture.bmWidth, picture.bmHeight);
    return 1;
}

void SkinnedButton::drawItem(const DRAWITEMSTRUCT& item) {
    // The pressed state looks like the highlighted one.
    HBITMAP picture = highlighted_                      ? focusBitmap_.get()
                      : (item.itemState & ODS_DISABLED) ? disableBitmap_.get()
                                                        : notFocusBitmap_.get();
    MemoryDC memory(item.hDC);
    if (!memory) return;
    Selection selected(memory.get(), picture);
    if (!selected.succeeded()) return;
    const RECT& area = item.rcItem;
    BitBlt(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(), 0, 0,
           SRCCOPY);
}

void SkinnedButton::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    invalidate();
}

bool SkinnedButton::pointerMoved(LPARAM point) {
    POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ClientToScreen(window_, &at);
    return pointerRest_.moved(PixelPoint{at.x, at.y});
}

void SkinnedButton::trackHover(LPARAM point) {
    if (GetCapture() != window_) {
        // The mouse has just come onto the button: it takes the focus too.
        SetFocus(window_);
        highlighted_ = true;
        SetCapture(window_);
        invalidate();
        return;
    }
    const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (!PtInRect(&bitmapRect_, at) && GetCapture() == window_) {
        ReleaseCapture();
        setHighlighted(false);
    }
}

LRESULT SkinnedButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (pointerMoved(lParam)) trackHover(lParam);
            return defaultProc(message, wParam, lParam);
        case WM_KILLFOCUS: {
            const LRESULT result = defaultProc(message, wParam, lParam);
            setHighlighted(false);
            return result;
        }
        case WM_SETFOCUS: {
            const LRESULT result = defaultProc(message, wParam, lParam);
            setHighlighted(true);
            return result;
        }
        default:
            return defaultProc(message, wParam, lParam);
    }
}

CExButton::~CExButton() {
    if (handCursor_ != nullptr) DestroyCursor(handCursor_);
}

void CExButton::loadHandCursor() {
    if (handCursor_ != nullptr) return;
    handCursor_ = helpProgramHand();
    if (handCursor_ == nullptr) {
        HCURSOR systemHand = LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHandCursor));
        if (systemHand != nullptr) handCursor_ = CopyCursor(systemHand);
    }
}

LRESULT CExButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR && handCursor_ != nullptr) {
        SetCursor(handCursor_);
        return TRUE;
    }
    return SkinnedButton::windowProc(message, wParam, lParam);
}

}  // namespace brisko
