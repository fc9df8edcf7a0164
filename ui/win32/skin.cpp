#include "ui/win32/skin.h"

#include <cstring>
#include <vector>

#include "ui/child_scaling.h"
#include "ui/region_rectangles.h"

namespace brisko {
namespace {

// A movable global memory block, locked for as long as it is held.
class LockedGlobalBlock {
public:
    explicit LockedGlobalBlock(SIZE_T size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (block_ != nullptr) data_ = GlobalLock(block_);
    }
    LockedGlobalBlock(const LockedGlobalBlock&) = delete;
    LockedGlobalBlock& operator=(const LockedGlobalBlock&) = delete;
    ~LockedGlobalBlock() {
        if (data_ != nullptr) GlobalUnlock(block_);
        if (block_ != nullptr) GlobalFree(block_);
    }
    void* data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_ = nullptr;
};

// One partial region made from a batch, laid out as the system's RGNDATA
// in a block of the batch's capacity.
HRGN regionOfBatch(const RegionBatch& batch) {
    const DWORD size = static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * batch.blockCapacity);
    LockedGlobalBlock block(size);
    auto* data = static_cast<RGNDATA*>(block.data());
    if (data == nullptr) return nullptr;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(batch.rectangles.size());
    data->rdh.nRgnSize = 0;
    SetRect(&data->rdh.rcBound, batch.bounds.left, batch.bounds.top, batch.bounds.right, batch.bounds.bottom);
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < batch.rectangles.size(); ++i) {
        const PixelRect& r = batch.rectangles[i];
        SetRect(&rects[i], r.left, r.top, r.right, r.bottom);
    }
    return ExtCreateRegion(nullptr, size, data);
}

struct Scaling {
    RECT client;
    int referenceWidth;
    int referenceHeight;
};

BOOL CALLBACK scaleChild(HWND child, LPARAM scalingPointer) {
    const auto* scaling = reinterpret_cast<const Scaling*>(scalingPointer);
    RECT screen{};
    GetWindowRect(child, &screen);
    const PixelRect scaled =
        scaledScreenRect(PixelRect{screen.left, screen.top, screen.right, screen.bottom}, scaling->client.right,
                         scaling->client.bottom, scaling->referenceWidth, scaling->referenceHeight);
    POINT topLeft{scaled.left, scaled.top};
    ScreenToClient(GetParent(child), &topLeft);
    MoveWindow(child, topLeft.x, topLeft.y, scaled.width(), scaled.height(), TRUE);
    return TRUE;
}

}  // namespace

HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF keyColour, bool includeOthers) {
    if (bitmap == nullptr) return nullptr;
    MemoryDC sectionDC(nullptr);
    if (!sectionDC) return nullptr;
    BITMAP source{};
    if (GetObjectA(bitmap, sizeof source, &source) == 0) return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = source.bmWidth;
    header.biHeight = source.bmHeight;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapObject section(CreateDIBSection(sectionDC.get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                          &bits, nullptr, 0));
    if (!section || bits == nullptr) return nullptr;
    Selection sectionSelected(sectionDC.get(), section.get());

    MemoryDC sourceDC(sectionDC.get());
    if (!sourceDC) return nullptr;
    BITMAP layout{};
    GetObjectA(section.get(), sizeof layout, &layout);
    const std::ptrdiff_t stride = (layout.bmWidthBytes + 3) / 4 * 4;
    {
        Selection sourceSelected(sourceDC.get(), bitmap);
        BitBlt(sectionDC.get(), 0, 0, source.bmWidth, source.bmHeight, sourceDC.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();

    const auto* firstRowInMemory = static_cast<const std::uint8_t*>(bits);
    const PixelImage image{firstRowInMemory + (source.bmHeight - 1) * stride, -stride, source.bmWidth,
                           source.bmHeight};
    RegionObject result;
    for (const RegionBatch& batch : regionBatches(image, keyColour, includeOthers)) {
        // A part that fails is lost; the others still make the shape.
        RegionObject part(regionOfBatch(batch));
        if (!part) continue;
        if (!result) {
            result.reset(part.release());
        } else {
            CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
        }
    }
    return result.release();
}

void ScaleChildWindows(HWND dialog, int referenceWidth, int referenceHeight) {
    Scaling scaling{{}, referenceWidth, referenceHeight};
    GetClientRect(dialog, &scaling.client);
    EnumChildWindows(dialog, &scaleChild, reinterpret_cast<LPARAM>(&scaling));
}

int MakeDialogFont(HWND dialog, FontObject& font, int height, int weight, BYTE underline, BYTE italic) {
    HFONT dialogFont = dialog != nullptr ? reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)) : nullptr;
    if (dialogFont == nullptr) dialogFont = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA description{};
    GetObjectA(dialogFont, sizeof description, &description);
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfUnderline = underline;
    description.lfItalic = italic;
    font.reset(CreateFontIndirectA(&description));
    return 1;
}

}  // namespace brisko
