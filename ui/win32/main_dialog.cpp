#include "ui/win32/main_dialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/program_identity.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "scan/scan_driver.h"
#include "session/scan_questions.h"
#include "ui/child_scaling.h"
#include "ui/installed_product.h"
#include "ui/main_dialog_texts.h"
#include "ui/report_list_rules.h"
#include "ui/win32/message_dialog.h"
#include "ui/win32/screen_areas.h"
#include "ui/win32/skin.h"

namespace brisko {
namespace {

constexpr UINT_PTR kScanStartTimer = 100;
constexpr UINT kScanStartDelayMs = 100;
// Draws an item held back by the status's pacing while the scan runs. Not
// 27: the scan's pump takes any message carrying the Escape code as Escape.
constexpr UINT_PTR kStatusRefreshTimer = 101;
// Where the dialog stands while its children are rescaled, and its size.
constexpr int kDialogWidth = 600;
constexpr int kDialogHeight = 462;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

CMainDialog::CMainDialog()
    : CDialog(IDD_MAIN),
      icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BRISKO))),
      backgroundDC_(nullptr) {}

void CMainDialog::doDataExchange() {
    bindControl(IDC_REPORT_FRAME, reportFrame_);
    bindControl(IDC_LOGO, logo_);
    bindControl(IDC_ULINK, removalToolsLink_);
    bindControl(IDC_DLINK, productLink_);
    bindControl(IDC_SEARCHING_FOR, searchingFor_);
    bindControl(IDC_PRODUCT_LINE, productLine_);
    bindControl(IDC_TITLE_LINE, titleLine_);
    bindControl(IDC_NOTICE_LINE, noticeLine_);
    bindControl(IDC_SUBTITLE, subtitle_);
    bindControl(IDCANCEL, cancel_);
    bindControl(IDC_STATUS_FRAME, statusFrame_);
    bindControl(IDC_STATUS_TEXT, statusText_);
    bindControl(IDC_REPORT_LIST, reportList_);
    bindControl(IDC_CLOSE_BOX, closeBox_);
    bindControl(IDC_DOWNLOAD, download_);
    bindControl(IDC_SCAN, scan_);
    bindControl(IDC_OK_BUTTON, ok_);
}

BOOL CMainDialog::onInitDialog() {
    CDialog::onInitDialog();
    // The scan's record exists from here on: the report window's messages
    // read it even before a scan.
    frontEnd_.emplace(window_);
    run_.emplace(*frontEnd_);
    hideForIdle();
    MakeDialogFont(window_, labelFont_, 15, FW_BOLD, 0, 0);
    subtitle_.setLabelFont(labelFont_.get());
    setTexts();
    ScaleChildWindows(window_, kReferenceClientWidth, kReferenceClientHeight);
    MoveWindow(window_, 0, 0, kDialogWidth, kDialogHeight, TRUE);
    if (installedProductPresent()) {
        productLink_.enable(false);
        productLink_.show(false);
        download_.enable(false);
    } else {
        productLine_.show(false);
    }
    whiteBrush_.reset(CreateSolidBrush(RGB(255, 255, 255)));
    send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    // The task bar button offers Minimize and Close.
    SetWindowLongA(window_, GWL_STYLE, GetWindowLongA(window_, GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
    applySkin();
    loadButtonSkins();
    setText(programTitle);
    for (CExButton* button : {&scan_, &closeBox_, &download_, &ok_, &cancel_, &productLink_, &removalToolsLink_}) {
        button->loadHandCursor();
    }
    // Built at the screen origin, which the rescaling needs; shown centred.
    CentreOn(window_, WorkArea());
    return TRUE;
}

void CMainDialog::hideForIdle() {
    for (CWindow* control :
         std::initializer_list<CWindow*>{&statusText_, &statusFrame_, &searchingFor_, &reportList_, &reportFrame_, &cancel_}) {
        control->show(false);
    }
    ok_.enable(false);
    ok_.show(false);
}

void CMainDialog::setTexts() {
    titleLine_.setText(titleLine());
    subtitle_.setText(subtitleLine());
    noticeLine_.setText(kNoticeLine);
    productLine_.setText(kProductLine);
}

void CMainDialog::applySkin() {
    backgroundBitmap_.reset(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN),
                                                            IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    if (!backgroundBitmap_) return;
    GetObjectA(backgroundBitmap_.get(), sizeof backgroundSize_, &backgroundSize_);
    RegionObject region(RegionFromBitmap(backgroundBitmap_.get(), kMagenta, true));
    // Once given to the window, the region belongs to the system.
    if (region && SetWindowRgn(window_, region.get(), TRUE)) region.release();
    // Selected for the dialog's life, and put back before the context and
    // the bitmap go.
    if (backgroundDC_) backgroundSelection_.emplace(backgroundDC_.get(), backgroundBitmap_.get());
}

void CMainDialog::loadButtonSkins() {
    const struct {
        int id;
        CExButton& button;
    } buttons[] = {{IDC_OK_BUTTON, ok_},     {IDCANCEL, cancel_},         {IDC_SCAN, scan_},
                   {IDC_DOWNLOAD, download_}, {IDC_CLOSE_BOX, closeBox_}, {IDC_ULINK, removalToolsLink_},
                   {IDC_DLINK, productLink_}, {IDC_LOGO, logo_}};
    for (const auto& entry : buttons) entry.button.loadSkin(entry.id, window_);
}

bool CMainDialog::onCommand(int id, int code) {
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDC_SCAN:
            startScan();
            return true;
        case IDC_CLOSE_BOX:
            stopOrClose(kCloseBoxCaption);
            return true;
        case IDC_DOWNLOAD:
        case IDC_DLINK:
            systemControl().openAddress(kProductPageAddress);
            return true;
        case IDC_ULINK:
            systemControl().openAddress(kRemovalToolsPageAddress);
            return true;
        case IDC_OK_BUTTON:
            // The scan runs inside this dialog: it ends once the scan has returned.
            if (scanRunning_) {
                endAfterScan_ = true;
            } else {
                endDialog(IDOK);
            }
            return true;
        default:
            return false;
    }
}

void CMainDialog::onCancel() { stopOrClose(programTitle); }

void CMainDialog::stopOrClose(const char* caption) {
    if (!scanRunning_) {
        endDialog(IDCANCEL);
        return;
    }
    if (ShowMessageDialog(window_, kStopQuestion, caption, kMessageYesNo | kMessageIconQuestion) != kAnswerYes) return;
    cancel_.show(false);
    ok_.show(true);
    run_->session().stopRequested = 1;
}

void CMainDialog::startScan() {
    scanRunning_ = true;
    // Nothing enables it again: one scan per run.
    scan_.enable(false);
    for (CExButton* link : {&removalToolsLink_, &productLink_}) {
        link->enable(false);
        link->show(false);
    }
    cancel_.enable(true);
    cancel_.show(true);
    ok_.enable(true);
    for (CStatic* line : {&titleLine_, &productLine_, &noticeLine_}) line->show(false);
    searchingFor_.show(true);
    reportList_.show(true);
    statusText_.show(true);
    statusFrame_.show(true);
    reportFrame_.show(true);
    statusFrame_.setText(kScanningCaption);
    cancel_.show(true);
    searchingFor_.setText(searchingForLine());
    searchingForFont_.reset(CreateFontA(15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                                        "Arial"));
    searchingFor_.send(WM_SETFONT, reinterpret_cast<WPARAM>(searchingForFont_.get()), TRUE);
    ScanSession& session = run_->session();
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "!:");
    session.reportWindow = reinterpret_cast<WindowHandle>(window_);
    session.userAction = kActionRemove;
    SetTimer(window_, kScanStartTimer, kScanStartDelayMs, nullptr);
}

void CMainDialog::runScan() {
    KillTimer(window_, kScanStartTimer);
    // A stop confirmed before the first tick does not count.
    run_->session().stopRequested = 0;
    statusRefresh_.start();
    SetTimer(window_, kStatusRefreshTimer, StatusRefresh::kIntervalMs, nullptr);
    runScanDriver(*run_);
    KillTimer(window_, kStatusRefreshTimer);
    if (statusRefresh_.finish()) drawCurrentItem();
    cancel_.show(false);
    ok_.show(true);
    searchingFor_.show(false);
    statusFrame_.setText("");
    scanRunning_ = false;
    // Space and Enter now press OK, not the button the focus was left on.
    send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok_.handle()), TRUE);
    if (endAfterScan_) endDialog(IDOK);
}

void CMainDialog::showCurrentItem() {
    if (statusRefresh_.itemArrived(GetTickCount())) drawCurrentItem();
}

void CMainDialog::drawCurrentItem() { statusText_.setText(run_->session().currentItem); }

void CMainDialog::appendReportLine() {
    const ScanSession& session = run_->session();
    if (emptyBeforeAppend(reportList_.count(), session.statisticsStarted != 0)) reportList_.clear();
    reportList_.add(session.reportLine);
    reportList_.select(selectionAfterAppend(reportList_.count()));
    updateReportExtent();
}

void CMainDialog::updateReportExtent() {
    int widest = 0;
    {
        // Measured in the context's own font, not the list's: the extent
        // follows that measure.
        WindowDC dc(reportList_.handle());
        if (!dc) return;
        const int lines = reportList_.count();
        for (int i = 0; i < lines; ++i) {
            const std::string line = reportList_.line(i);
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), line.c_str(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    if (const std::optional<int> extent = widenedExtent(reportList_.horizontalExtent(), widest)) {
        reportList_.setHorizontalExtent(*extent);
    }
}

HBRUSH CMainDialog::onCtlColor(HDC dc, HWND control, int kind, HBRUSH frameworkBrush) {
    SetBkMode(dc, TRANSPARENT);
    if (control == subtitle_.handle()) return frameworkBrush;
    if (kind == CTLCOLOR_DLG || kind == CTLCOLOR_STATIC) return whiteBrush_.get();
    return frameworkBrush;
}

void CMainDialog::paintSkin() {
    PaintDC dc(window_);
    if (!backgroundBitmap_ || !backgroundDC_) return;
    BitBlt(dc.get(), 0, 0, backgroundSize_.bmWidth, backgroundSize_.bmHeight, backgroundDC_.get(), 0, 0, SRCCOPY);
}

bool CMainDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        // The scan's two messages have the numbers of WM_ENABLE and
        // WM_SETREDRAW and take their place here: a real WM_ENABLE (a
        // question disabling the dialog) also shows the current item.
        case kShowItemMessage:
            showCurrentItem();
            return true;
        case kAppendLineMessage:
            appendReportLine();
            return true;
        case WM_TIMER:
            if (wParam == kStatusRefreshTimer) {
                if (statusRefresh_.tick(GetTickCount())) drawCurrentItem();
                return true;
            }
            // A question open before the first tick runs its own message
            // loop: the timer ticks again once it is answered.
            if (IsWindowEnabled(window_)) runScan();
            return true;
        case WM_PAINT:
            paintSkin();
            return true;
        case WM_LBUTTONDOWN:
            // Dragging anywhere moves the window, as its caption would.
            PostMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            return false;
        default:
            return false;
    }
}

}  // namespace brisko
