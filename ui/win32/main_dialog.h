#pragma once
// The program's one window: a borderless dialog painted with the skin, with
// the Scan button, the live report and the links of the maker.
#include <optional>

#include "scan/scan.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/gdi_handles.h"
#include "ui/status_refresh.h"
#include "ui/win32/color_label.h"
#include "ui/win32/dialog_front_end.h"
#include "ui/win32/skinned_button.h"

namespace brisko {

class CMainDialog : public CDialog {
public:
    CMainDialog();

protected:
    void doDataExchange() override;
    BOOL onInitDialog() override;
    // Enter never closes the dialog; only the OK button does.
    void onOK() override {}
    void onCancel() override;
    bool onCommand(int id, int code) override;
    HBRUSH onCtlColor(HDC dc, HWND control, int kind, HBRUSH frameworkBrush) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void hideForIdle();
    void setTexts();
    void applySkin();
    void loadButtonSkins();
    void startScan();
    void runScan();
    // Asks whether to stop a running scan; closes the dialog when none runs.
    void stopOrClose(const char* caption);
    void showCurrentItem();
    void drawCurrentItem();
    void appendReportLine();
    void updateReportExtent();
    void paintSkin();

    CButton reportFrame_;
    CExButton logo_;
    CExButton removalToolsLink_;
    CExButton productLink_;
    CStatic searchingFor_;
    CStatic productLine_;
    CStatic titleLine_;
    CStatic noticeLine_;
    CColorLabel subtitle_;
    CExButton cancel_;
    CButton statusFrame_;
    CStatic statusText_;
    CListBox reportList_;
    CExButton closeBox_;
    CExButton download_;
    CExButton scan_;
    CExButton ok_;

    HICON icon_;
    // The bold font of the subtitle.
    FontObject labelFont_;
    FontObject searchingForFont_;
    // Background of the dialog and of its static texts.
    BrushObject whiteBrush_;
    BitmapObject backgroundBitmap_;
    MemoryDC backgroundDC_;
    std::optional<Selection> backgroundSelection_;
    BITMAP backgroundSize_{};

    // A scan has started and not ended; the stop buttons ask only then.
    bool scanRunning_ = false;
    // OK was pressed while the scan wound down.
    bool endAfterScan_ = false;
    // When the status text is drawn while a scan runs.
    StatusRefresh statusRefresh_;
    // The one scan of the program's run, made with the window.
    std::optional<DialogFrontEnd> frontEnd_;
    std::optional<Scan> run_;
};

}  // namespace brisko
