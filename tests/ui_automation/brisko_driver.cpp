// brisko-driver: drives a running brisko.exe from another process, as a
// person would, and checks what its windows show. Each command is one step
// of a session; the Linux side runs them in order and takes the screenshots
// in between.
//
//   brisko-driver idle               the idle dialog, its shape and focus
//   brisko-driver windows N          exactly N main windows are open
//   brisko-driver scan               press SCAN, check what it changes for
//                                    good (the scan may be over already)
//   brisko-driver scan-and-hold      press SCAN and hold the scan while it
//                                    walks drive D: (its thread suspended);
//                                    check the running scan's dialog
//   brisko-driver installed          the idle dialog with the product
//   brisko-driver enter              Enter leaves the dialog open
//   brisko-driver hover              the mouse over and off DOWNLOAD
//   brisko-driver close-idle         the x ends a program that runs no scan
//   brisko-driver ask-stop cancel|x|escape
//                                    ask a held scan to stop, let it go on,
//                                    leave the question open
//   brisko-driver answer yes|no|close
//                                    answer the open question (the close
//                                    box answers No); after No, hold the
//                                    scan at its next item and let it go on
//   brisko-driver answer no cancel|x|escape
//                                    answer No and ask again at once, while
//                                    the scan is still where it was asked
//   brisko-driver completed FILES INFECTED
//                                    wait for the end of a whole scan of
//                                    FILES files, check the report
//   brisko-driver terminated FILES   the same for a scan stopped early
//   brisko-driver report             wait for the end, print the report
//   brisko-driver settle             let the windows finish painting
//   brisko-driver ok [space]         press OK (or Space, with the focus on
//                                    OK), which ends the program
//   brisko-driver rect [question] ID print the screen rectangle of a
//                                    control (0: the window itself)
//   brisko-driver rect shape         print the screen rectangle the main
//                                    window's shape covers: what shows of it
//   brisko-driver scan-and-ask-at-once
//                                    press SCAN and Escape together: the
//                                    question comes before the scan, which
//                                    waits for it; then hold the scan on D:
//   brisko-driver ask-stop minimised ask a held scan to stop with Escape
//                                    while the window is minimised
//   brisko-driver answer yes-and-ok  answer Yes and press OK at once: the
//                                    window stays until the scan has ended
//   brisko-driver point X Y          rest the pointer at X,Y of the screen
//   brisko-driver asked okcancel|ok [ANSWER]
//                                    the question brisko-ask shows, in that
//                                    form; answered when ANSWER is given: ok,
//                                    cancel, escape, enter or close
//   brisko-driver rect asked ID      as rect, in that question
//   brisko-driver dpi N              the screen has N logical pixels per inch
//   brisko-driver restart yes|no     answer the restart question at the end
//                                    of a scan; after Yes nothing is waited
//                                    for, since the restart ends every program
//   brisko-driver notice TEXT CAPTION
//                                    press OK in the system message box that
//                                    shows TEXT under CAPTION
//   brisko-driver time-scan          press SCAN, print the milliseconds until
//                                    the scan has ended and OK shows
//   brisko-driver listed PATH        wait until Windows lists a process of
//                                    the program PATH, its loader done
//
// With --real-input before the command, buttons are clicked and keys typed
// through the system's input queue (SendInput) instead of posted to the
// windows, so they go through the program's message loop and the dialog
// manager: SCAN, CANCEL, OK, X, Escape, Enter and Space, and the question's
// YES, NO and close box (answer close).
//
// Prints one line per check; exits 1 when any check fails.
//
// A scan of a few thousand files is over in a moment, and a look at its
// dialog may come after its end: every look at a running scan is taken
// with the program's thread suspended (held), or while a question that the
// scan waits for is open. A stop must reach the scan while it runs, however
// fast it runs: the scan walks drive D: and then drive E:, and
// scan-and-hold suspends the program's thread while the status shows a
// file of D:. A stop request posted then is taken by the next message pump
// of the walk, which comes before the end of E:; the question it opens
// runs inside the scan, so the scan stays where it was until the question
// is answered.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "real_input.h"

namespace {

constexpr const wchar_t* kTitle = L"Brisko Ver 1.0";
constexpr DWORD kPatienceMs = 60000;

enum ControlId {
    kOk = 1070, kCancel = 2, kScan = 1052, kDownload = 1053, kCloseBox = 1054, kStatusFrame = 1064,
    kStatusText = 1065, kSearchingFor = 1076, kSubtitle = 1068, kProductLine = 1075, kNoticeLine = 1072,
    kTitleLine = 1074, kProductLink = 1077, kToolsLink = 1080, kLogo = 1085, kReportFrame = 1034,
    kReportList = 1055,
};
// Message dialog.
enum MessageControlId { kMessageOk = 1, kMessageCancel = 2, kSingleOk = 3, kYes = 6, kNo = 7, kMessageText = 1086 };

int failures = 0;
// Clicks and keys through the input queue rather than posted messages.
bool realInput = false;

struct PixelBox {
    LONG left, top, right, bottom;
};

void check(bool passed, const std::string& what) {
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
    if (!passed) ++failures;
}

std::string narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

struct Search {
    HWND owner;
    std::vector<HWND> found;
};

// Top-level windows titled like the program with no caption bar: the main
// dialogs. With an owner: the dialogs it owns (the questions).
BOOL CALLBACK collect(HWND window, LPARAM searchPointer) {
    auto* search = reinterpret_cast<Search*>(searchPointer);
    if (!IsWindowVisible(window)) return TRUE;
    if (search->owner == nullptr) {
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        if (textOf(window) == kTitle && (style & WS_CAPTION) != WS_CAPTION) search->found.push_back(window);
    } else if (GetWindow(window, GW_OWNER) == search->owner) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> find(HWND owner) {
    Search search{owner, {}};
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until the condition holds; false when patience runs out.
template <typename Condition>
bool waitFor(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kPatienceMs) return false;
        Sleep(50);
    }
    return true;
}

HWND mainWindow() {
    HWND main = nullptr;
    waitFor([&] {
        const std::vector<HWND> windows = find(nullptr);
        if (windows.size() == 1) main = windows[0];
        return main != nullptr;
    });
    return main;
}

HWND question(HWND main) {
    HWND dialog = nullptr;
    waitFor([&] {
        const std::vector<HWND> owned = find(main);
        if (!owned.empty()) dialog = owned[0];
        return dialog != nullptr;
    });
    return dialog;
}

bool visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
std::wstring text(HWND dialog, int id) { return textOf(GetDlgItem(dialog, id)); }

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

PixelBox boxOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The part of the screen the window's shape covers: the bounding box of its
// region, or the whole window when it has none.
PixelBox visibleBoxOf(HWND window) {
    const PixelBox whole = boxOf(window);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    const bool shaped = GetWindowRgn(window, shape) != ERROR && GetRgnBox(shape, &box) != NULLREGION;
    DeleteObject(shape);
    if (!shaped) return whole;
    return {whole.left + box.left, whole.top + box.top, whole.left + box.right, whole.top + box.bottom};
}

PixelBox workArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left, work.top, work.right, work.bottom};
}

std::string describe(const PixelBox& box) {
    return std::to_string(box.left) + "," + std::to_string(box.top) + " - " + std::to_string(box.right) + "," +
           std::to_string(box.bottom);
}

// Twice the centre of each box agree within two: the centres within a pixel.
void checkCentred(const PixelBox& window, const PixelBox& on, const std::string& what) {
    const bool centred = std::abs((window.left + window.right) - (on.left + on.right)) <= 2 &&
                         std::abs((window.top + window.bottom) - (on.top + on.bottom)) <= 2;
    check(centred, what + " (" + describe(window) + " on " + describe(on) + ")");
}

bool overlap(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The program's one thread, which runs the scan and its windows.
class ProgramThread {
public:
    explicit ProgramThread(HWND main)
        : thread_(OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE,
                             GetWindowThreadProcessId(main, nullptr))) {}
    ~ProgramThread() {
        if (thread_ != nullptr) CloseHandle(thread_);
    }
    ProgramThread(const ProgramThread&) = delete;
    ProgramThread& operator=(const ProgramThread&) = delete;

    bool opened() const { return thread_ != nullptr; }
    // Returns once the thread has really stopped: reading its context waits
    // for that.
    bool suspend() {
        if (SuspendThread(thread_) == static_cast<DWORD>(-1)) return false;
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        if (GetThreadContext(thread_, &context)) return true;
        ResumeThread(thread_);
        return false;
    }
    // The suspend count before the call; -1 on failure.
    int resume() { return static_cast<int>(ResumeThread(thread_)); }

private:
    HANDLE thread_;
};

// The drive the scan is held on, and the one it walks after it.
constexpr const wchar_t* kHeldDrive = L"D:\\";
constexpr const wchar_t* kTailDrive = L"E:\\";

bool showsDrive(const std::wstring& status, const wchar_t* root) { return status.compare(0, 3, root) == 0; }

// The status text a scan ends with.
bool endsTheScan(const std::wstring& status) {
    return status == L"Scanning completed" || status == L"Scanning terminated";
}

// Suspends the program's thread at the first look whose status text
// `wanted` accepts; each look is taken with the thread stopped. Gives up
// once the moment has passed: `tooLate` accepts the status, or OK shows.
// Window texts and styles of another process are read without a message,
// so all of this works on the stopped thread. Returns whether the thread
// was left suspended; status is the text of the last look.
template <typename Wanted, typename TooLate>
bool holdWhere(HWND main, Wanted wanted, TooLate tooLate, std::wstring& status) {
    ProgramThread thread(main);
    if (!thread.opened()) return check(false, "the program's thread opens"), false;
    bool held = false;
    waitFor([&] {
        if (!thread.suspend()) return false;
        status = text(main, kStatusText);
        if (wanted(status)) return held = true;
        thread.resume();
        if (tooLate(status) || visible(main, kOk)) return true;
        Sleep(1);
        return false;
    });
    return held;
}

// Suspends the program's thread at a moment its status shows a file of
// drive D:, before drive E:.
bool holdOnDriveD(HWND main) {
    std::wstring status;
    const bool onDriveD = holdWhere(
        main, [](const std::wstring& shown) { return showsDrive(shown, kHeldDrive); },
        [](const std::wstring& shown) { return showsDrive(shown, kTailDrive); }, status);
    check(onDriveD, "the scan is held while it walks drive D: (" + narrow(status) + ")");
    return onDriveD;
}

// Lets a scan held by scan-and-hold go on.
bool release(HWND main) {
    ProgramThread thread(main);
    return thread.opened() && thread.resume() == 1;
}

// The report list's lines, read with the W messages: the A form comes back
// cut short across processes.
std::vector<std::wstring> reportLines(HWND main) {
    HWND list = GetDlgItem(main, kReportList);
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring line(length + 1, L'\0');
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
        line.resize(copied < 0 ? 0 : copied);
        lines.push_back(line);
    }
    return lines;
}

void press(HWND dialog, int id) {
    if (realInput) return driver::clickOn(GetDlgItem(dialog, id));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The key, typed or posted to the window.
void pressKey(HWND window, WORD key) {
    if (realInput) return driver::pressKey(key);
    PostMessageW(window, WM_KEYDOWN, key, 0);
    // A posted Escape goes down alone: the scan's pump takes any message
    // that carries its code for a stop request.
    if (key != VK_ESCAPE) PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// The close box of the question's caption.
void closeQuestion(HWND dialog) {
    POINT closeBox{};
    if (!realInput) {
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (driver::closeBoxOf(dialog, closeBox)) {
        driver::clickAt(closeBox);
    } else {
        check(false, "the question has a close box");
    }
}

void checkShown(HWND dialog, const std::vector<int>& shown, const std::vector<int>& hidden) {
    for (int id : shown) check(visible(dialog, id), "control " + std::to_string(id) + " is shown");
    for (int id : hidden) check(!visible(dialog, id), "control " + std::to_string(id) + " is hidden");
}

// Every shown control lies wholly inside the window's region.
void checkControlsOnTheSkin(HWND main) {
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(main, shape);
    check(kind == COMPLEXREGION, "the window has a shaped, non-rectangular region");
    RECT window{};
    GetWindowRect(main, &window);
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        HRGN outside = CreateRectRgn(rect.left - window.left, rect.top - window.top, rect.right - window.left,
                                     rect.bottom - window.top);
        const int rest = CombineRgn(outside, outside, shape, RGN_DIFF);
        check(rest == NULLREGION, "control " + std::to_string(GetDlgCtrlID(child)) + " sits on the skin");
        DeleteObject(outside);
    }
    DeleteObject(shape);
}

int idle() {
    HWND main = mainWindow();
    check(main != nullptr, "one main window is open");
    if (main == nullptr) return 1;
    checkShown(main, {kScan, kDownload, kCloseBox, kToolsLink, kProductLink, kLogo, kTitleLine, kSubtitle, kNoticeLine},
               {kOk, kCancel, kStatusText, kStatusFrame, kSearchingFor, kReportList, kReportFrame, kProductLine});
    check(enabled(main, kScan) && enabled(main, kDownload), "SCAN and DOWNLOAD are enabled");
    check(waitFor([&] { return focusOf(main) == GetDlgItem(main, kScan); }),
          "SCAN has the keyboard focus (" + std::to_string(GetDlgCtrlID(focusOf(main))) + ")");
    check(narrow(text(main, kSubtitle)) == "for W32/Krenot Trojan ", "the subtitle names the family");
    check(narrow(text(main, kTitleLine)).find("Brisko Ver 1.0 - Tool to detect") == 0, "the title line is set");
    RECT rect{};
    GetWindowRect(main, &rect);
    check(rect.right - rect.left == 600 && rect.bottom - rect.top == 462, "the window is 600 x 462");
    RECT scan{};
    GetWindowRect(GetDlgItem(main, kScan), &scan);
    check(scan.right - scan.left == 180 && scan.bottom - scan.top == 33, "SCAN takes its picture's size");
    checkControlsOnTheSkin(main);
    checkCentred(visibleBoxOf(main), workArea(), "the skin is centred on the screen");
    return failures ? 1 : 0;
}

// With the maker's product installed: no product link, DOWNLOAD shown but
// disabled, and the product line in its place.
int installed() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    checkShown(main, {kScan, kDownload, kProductLine, kToolsLink}, {kProductLink});
    check(!enabled(main, kDownload), "DOWNLOAD is disabled");
    check(narrow(text(main, kProductLine)) == "This program is a part of Kavrel antivirus software.",
          "the product line names the product");
    return failures ? 1 : 0;
}

GUITHREADINFO guiOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

// The mouse onto DOWNLOAD gives it the focus and the capture; off it again
// gives the capture back while the focus stays.
int hover() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    HWND download = GetDlgItem(main, kDownload);
    const PixelBox box = boxOf(download);
    // Onto the button and then off it, to its right.
    const POINT onto{box.left + 10, box.top + 10};
    const POINT off{box.left + 400, box.top + 10};
    if (realInput) {
        driver::moveTo(onto);
    } else {
        PostMessageW(download, WM_MOUSEMOVE, 0, MAKELPARAM(onto.x - box.left, onto.y - box.top));
    }
    check(waitFor([&] { return guiOf(main).hwndFocus == download; }), "the mouse gives DOWNLOAD the focus");
    check(guiOf(main).hwndCapture == download, "DOWNLOAD holds the mouse capture");
    if (realInput) {
        // The X server echoes a move of its pointer back to the window under
        // it, late: taken after the move off, it would bring the mouse back.
        Sleep(300);
        driver::moveTo(off);
    } else {
        PostMessageW(download, WM_MOUSEMOVE, 0, MAKELPARAM(off.x - box.left, off.y - box.top));
    }
    check(waitFor([&] { return guiOf(main).hwndCapture == nullptr; }), "leaving DOWNLOAD releases the capture");
    check(guiOf(main).hwndFocus == download, "the focus stays on DOWNLOAD");
    return failures ? 1 : 0;
}

// Enter reaches the dialog as IDOK, which must not close it.
int enter() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    if (realInput) {
        pressKey(main, VK_RETURN);
        Sleep(500);  // time for the key to close the dialog, wrongly
    } else {
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    check(IsWindow(main) && IsWindowVisible(main), "Enter leaves the dialog open");
    check(enabled(main, kScan) && !visible(main, kReportList), "Enter starts no scan");
    if (realInput) {
        // Keys that do nothing prove little unless keys arrive at all.
        HWND focus = focusOf(main);
        pressKey(main, VK_TAB);
        check(waitFor([&] { return focusOf(main) != focus; }), "Tab, typed after it, moves the focus");
    }
    return failures ? 1 : 0;
}

// With no scan running the close box ends the program without a question.
int closeIdle() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    press(main, kCloseBox);
    check(waitFor([&] { return !IsWindow(main); }), "the x closes the program");
    return failures ? 1 : 0;
}

int windows(int expected) {
    Sleep(500);  // a second copy that wrongly opened a window would show by now
    check(static_cast<int>(find(nullptr).size()) == expected, std::to_string(expected) + " main window(s) open");
    return failures ? 1 : 0;
}

// What SCAN changes for the rest of the run: a scan that has ended shows it
// too.
void checkScanBegun(HWND main) {
    check(!enabled(main, kScan), "SCAN is disabled");
    checkShown(main, {kCloseBox, kDownload, kLogo, kSubtitle, kStatusFrame, kReportFrame, kStatusText, kReportList},
               {kToolsLink, kProductLink, kTitleLine, kNoticeLine, kProductLine});
    checkControlsOnTheSkin(main);
}

// A scan that runs: only sound while it is held, as the end changes all of it.
void checkScanShown(HWND main) {
    checkScanBegun(main);
    checkShown(main, {kCancel, kSearchingFor}, {kOk});
    check(narrow(text(main, kSearchingFor)) == "Searching for W32/Krenot Trojan and its variants",
          "the search line names the family");
    check(narrow(text(main, kStatusFrame)) == "Scanning", "the status frame reads Scanning");
}

// Presses SCAN without holding the scan, which may be over by the next
// look: only what stays after its end is checked.
int scan() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    press(main, kScan);
    check(waitFor([&] { return !enabled(main, kScan); }), "SCAN is taken");
    // Answered once the handler of the press has returned: the dialog has
    // made all of its changes.
    DWORD_PTR ignored = 0;
    check(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored) != 0,
          "the dialog answers after the press");
    checkScanBegun(main);
    return failures ? 1 : 0;
}

// Leaves the scan held when it succeeds; ask-stop lets it go on.
int scanAndHold() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    press(main, kScan);
    if (!holdOnDriveD(main)) return 1;
    checkScanShown(main);
    return failures ? 1 : 0;
}

void postStopRequest(HWND main, const std::string& how) {
    if (how == "minimised") {
        ShowWindowAsync(main, SW_MINIMIZE);
        PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (how == "escape") {
        // The scan's own message loop takes the key, whichever window has it.
        pressKey(main, VK_ESCAPE);
    } else {
        press(main, how == "x" ? kCloseBox : kCancel);
    }
}

// The question a stop request opens, inside the scan.
void checkStopQuestion(HWND main, const std::string& how) {
    HWND dialog = question(main);
    check(dialog != nullptr, "a question opens");
    if (dialog == nullptr) return;
    check(narrow(text(dialog, kMessageText)) == "Terminate the Scan now?", "it asks to terminate the scan");
    // Only the close box asks under a caption of its own.
    const std::string caption = how == "x" ? "DialogBoxTitle" : "Brisko Ver 1.0";
    check(narrow(textOf(dialog)) == caption, "its caption is " + caption);
    checkShown(dialog, {kYes, kNo}, {kMessageOk, kMessageCancel, kSingleOk});
    check(focusOf(dialog) == GetDlgItem(dialog, kYes), "YES has the focus");
    check(!IsWindowEnabled(main), "the main dialog waits for the answer");
    check(!visible(main, kOk) && text(main, kStatusText).find(L"Scanning ") != 0, "the scan has not ended");
    if (IsIconic(main)) {
        checkCentred(boxOf(dialog), workArea(), "with the window minimised it is centred on the screen");
    } else {
        checkCentred(boxOf(dialog), visibleBoxOf(main), "it is centred on the skin");
        check(!overlap(boxOf(dialog), boxOf(GetDlgItem(main, kCancel))), "it leaves CANCEL in sight");
    }
}

int askStop(const std::string& how) {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    check(visible(main, kCancel), "CANCEL is shown while the scan runs");
    postStopRequest(main, how);
    check(release(main), "the scan was held, and goes on");
    checkStopQuestion(main, how);
    if (how == "minimised") ShowWindowAsync(main, SW_RESTORE);
    return failures ? 1 : 0;
}

// SCAN and Escape posted together: the question opens before the first
// tick of the scan's timer, and the scan waits until it is answered.
int scanAndAskAtOnce() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    press(main, kScan);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    HWND dialog = question(main);
    check(dialog != nullptr, "a question opens");
    if (dialog == nullptr) return 1;
    check(narrow(text(dialog, kMessageText)) == "Terminate the Scan now?", "it asks to terminate the scan");
    Sleep(1000);  // ten ticks of the timer
    // No item shown, no line reported: the walk has not begun.
    check(reportLines(main).empty() && text(main, kStatusText).find(L":\\") == std::wstring::npos,
          "the scan waits for the answer");
    check(focusOf(dialog) == GetDlgItem(dialog, kYes), "YES has the focus");
    // Escape in the question answers No, as it does in any question.
    PostMessageW(focusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
    // The scan goes on once the question has closed and may be over in a
    // moment: it is held first, and opens no question while it is looked at.
    if (!holdOnDriveD(main)) return 1;
    check(!IsWindow(dialog), "Escape closes the question");
    check(find(main).empty(), "no second question opens");
    checkScanShown(main);
    return failures ? 1 : 0;
}

int answer(const std::string& which) {
    HWND main = mainWindow();
    HWND dialog = main != nullptr ? question(main) : nullptr;
    if (dialog == nullptr) return check(false, "a question is open"), 1;
    // The item the scan waits at: the question has been open long enough for
    // the status's pacing to have drawn it.
    const std::wstring asked = text(main, kStatusText);
    if (which == "close") {
        closeQuestion(dialog);
    } else {
        press(dialog, which == "yes" ? kYes : kNo);
    }
    check(waitFor([&] { return find(main).empty(); }), "the question closes");
    if (which == "yes") {
        // Shown by the handler that asked, before the scan winds down; kept
        // after its end.
        check(waitFor([&] { return visible(main, kOk) && !visible(main, kCancel); }), "OK replaces CANCEL");
        return failures ? 1 : 0;
    }
    // Held at the next item it shows, the scan has gone on from the answer,
    // and still offers CANCEL, not OK. Looked at unheld, it might have ended
    // by then: E: is short.
    std::wstring status;
    const bool held = holdWhere(
        main, [&](const std::wstring& shown) { return shown != asked && !endsTheScan(shown); }, endsTheScan,
        status);
    check(held, "the scan goes on from " + narrow(asked) + ", held at " + narrow(status));
    if (!held) return 1;
    checkShown(main, {kCancel}, {kOk});
    check(release(main), "the held scan goes on");
    return failures ? 1 : 0;
}

// Yes, and OK at once: the thread, waiting in the question, is suspended
// while both are posted, so OK is taken by the first pump of the scan that
// winds down. The window must stay until the scan has ended, and then go.
int answerYesAndOk() {
    HWND main = mainWindow();
    HWND dialog = main != nullptr ? question(main) : nullptr;
    if (dialog == nullptr) return check(false, "a question is open"), 1;
    ProgramThread thread(main);
    if (!thread.opened() || !thread.suspend()) return check(false, "the program's thread is suspended"), 1;
    press(dialog, kYes);
    press(main, kOk);
    thread.resume();
    // Watched with the thread stopped at every look, until the window goes.
    bool hiddenEarly = false;
    std::wstring lastStatus;
    std::wstring statusWhenHidden;
    const bool ended = waitFor([&] {
        if (!thread.suspend()) return !IsWindow(main);
        const bool gone = !IsWindow(main);
        // Once its children go, the window is being destroyed: a look then
        // tells nothing.
        if (!gone && GetDlgItem(main, kStatusText) != nullptr) {
            lastStatus = text(main, kStatusText);
            if (!IsWindowVisible(main) && lastStatus != L"Scanning terminated" && !hiddenEarly) {
                hiddenEarly = true;
                statusWhenHidden = lastStatus;
            }
        }
        thread.resume();
        Sleep(1);
        return gone;
    });
    check(!hiddenEarly, "the window stays until the scan has ended" +
                            (hiddenEarly ? " (hidden at " + narrow(statusWhenHidden) + ")" : std::string()));
    check(lastStatus == L"Scanning terminated",
          "the last status it showed is Scanning terminated (" + narrow(lastStatus) + ")");
    check(ended, "OK closes the program once the scan has ended");
    return failures ? 1 : 0;
}

// No, and at once the next stop request: the program's thread, waiting in
// the question, is suspended while both are posted, so the request is taken
// by the scan's next pump, before the end of drive E:.
int answerNoAndAskAgain(const std::string& how) {
    HWND main = mainWindow();
    HWND dialog = main != nullptr ? question(main) : nullptr;
    if (dialog == nullptr) return check(false, "a question is open"), 1;
    ProgramThread thread(main);
    if (!thread.opened() || !thread.suspend()) return check(false, "the program's thread is suspended"), 1;
    press(dialog, kNo);
    postStopRequest(main, how);
    thread.resume();
    check(waitFor([&] { return !IsWindow(dialog); }), "the question closes");
    checkStopQuestion(main, how);
    return failures ? 1 : 0;
}

// The statistics block closes the report: a blank line first when
// something was found, then the heading, 30 hyphens and the three totals.
// Returns the number of files it says were scanned, or -1.
int checkStatistics(const std::vector<std::wstring>& lines, int infected, int removed) {
    const std::wstring scannedLabel = L"Total files scanned\t\t:  ";
    const std::size_t n = lines.size();
    check(n >= 5 && lines[n - 5] == L"Scanning statistics" && lines[n - 4] == std::wstring(30, L'-') &&
              lines[n - 3].find(scannedLabel) == 0,
          "the report ends with the statistics block");
    if (n < 5 || lines[n - 3].find(scannedLabel) != 0) return -1;
    check(lines[n - 2] == L"Total files infected\t\t:  " + std::to_wstring(infected),
          "files infected: " + std::to_string(infected));
    check(lines[n - 1] == L"Total files removed\t\t:  " + std::to_wstring(removed),
          "files removed: " + std::to_string(removed));
    check((infected > 0) == (n >= 6 && lines[n - 6] == L" "), "a blank line stands before it only after a find");
    return std::stoi(lines[n - 3].substr(scannedLabel.size()));
}

// How many lines report a file of the fixture drive as removed.
int removedLines(const std::vector<std::wstring>& lines) {
    int count = 0;
    for (const std::wstring& line : lines) {
        const std::wstring outcome = L" removed";
        if (line.find(L"D:\\") == 0 && line.size() > outcome.size() &&
            line.compare(line.size() - outcome.size(), outcome.size(), outcome) == 0) {
            ++count;
        }
    }
    return count;
}

HWND waitForTheEnd(const std::wstring& endText) {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), nullptr;
    check(waitFor([&] { return text(main, kStatusText) == endText; }), "the status reads " + narrow(endText));
    check(waitFor([&] { return visible(main, kOk) && !visible(main, kCancel); }), "OK is shown, CANCEL hidden");
    check(!enabled(main, kScan), "SCAN stays disabled");
    check(!visible(main, kSearchingFor), "the search line is hidden");
    check(waitFor([&] { return focusOf(main) == GetDlgItem(main, kOk); }), "OK has the keyboard focus");
    // Cleared right after the buttons change: wait for it as for them.
    check(waitFor([&] { return text(main, kStatusFrame).empty(); }), "the status frame has no caption");
    checkControlsOnTheSkin(main);
    return main;
}

std::vector<std::wstring> printedReport(HWND main) {
    const std::vector<std::wstring> lines = reportLines(main);
    std::printf("     report list (%u lines):\n", static_cast<unsigned>(lines.size()));
    for (const std::wstring& line : lines) std::printf("     | %s\n", narrow(line).c_str());
    return lines;
}

int completed(int files, int infected) {
    HWND main = waitForTheEnd(L"Scanning completed");
    if (main == nullptr) return 1;
    const std::vector<std::wstring> lines = printedReport(main);
    check(checkStatistics(lines, infected, infected) == files, "every file of the drive was scanned");
    check(removedLines(lines) == infected, "one report line per removed file");
    return failures ? 1 : 0;
}

// The benchmark's measure of a whole scan, taken from outside as a person
// sees it: from the press to the end text with OK in place of CANCEL.
int timeScan() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    press(main, kScan);
    const auto ended = [&] {
        return visible(main, kOk) && !visible(main, kCancel) && text(main, kStatusText) == L"Scanning completed";
    };
    const DWORD began = GetTickCount();
    while (!ended()) {
        if (GetTickCount() - began > kPatienceMs) return check(false, "the scan ends"), 1;
        // Often enough to be exact to a few milliseconds, seldom enough to
        // leave the program the machine.
        Sleep(2);
    }
    QueryPerformanceCounter(&end);
    std::printf("scan ms %lld\n", (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    return 0;
}

int terminated(int files) {
    HWND main = waitForTheEnd(L"Scanning terminated");
    if (main == nullptr) return 1;
    const std::vector<std::wstring> lines = printedReport(main);
    // Whatever was found before the stop was removed.
    const int removed = removedLines(lines);
    const int scanned = checkStatistics(lines, removed, removed);
    check(scanned >= 0 && scanned < files, "the scan stopped before the last file");
    return failures ? 1 : 0;
}

// Prints a screen rectangle as "left top right bottom", the right and
// bottom edges just outside it.
int printBox(const PixelBox& box) {
    std::printf("%ld %ld %ld %ld\n", box.left, box.top, box.right, box.bottom);
    return 0;
}

// The screen rectangle of a control, or of the window for 0.
int printRect(HWND window, int id) { return printBox(boxOf(id == 0 ? window : GetDlgItem(window, id))); }

// The screen rectangle the main window's shape covers: what shows of it.
int shapeRect() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    return printBox(visibleBoxOf(main));
}

int rect(bool ofQuestion, int id) {
    HWND main = mainWindow();
    HWND window = main != nullptr && ofQuestion ? question(main) : main;
    if (window == nullptr) return check(false, "the window is open"), 1;
    return printRect(window, id);
}

// The question brisko-ask shows: owned by no window, under a caption.
HWND askedQuestion() {
    HWND dialog = nullptr;
    waitFor([&] {
        dialog = FindWindowW(L"#32770", kTitle);
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    return dialog;
}

// The form brisko-ask shows, checked, then answered when an answer is given:
// a button of the form, escape, enter or close (its close box).
int asked(const std::string& form, const std::string& answer) {
    const bool okCancel = form == "okcancel";
    HWND dialog = askedQuestion();
    if (dialog == nullptr) return check(false, "the question is shown"), 1;
    if (okCancel) {
        checkShown(dialog, {kMessageOk, kMessageCancel}, {kSingleOk, kYes, kNo});
    } else {
        checkShown(dialog, {kSingleOk}, {kMessageOk, kMessageCancel, kYes, kNo});
    }
    const int first = okCancel ? kMessageOk : kSingleOk;
    check(waitFor([&] { return focusOf(dialog) == GetDlgItem(dialog, first); }),
          "its first button, " + std::to_string(first) + ", has the focus");
    if (answer.empty()) return failures ? 1 : 0;
    if (answer == "escape") {
        pressKey(focusOf(dialog), VK_ESCAPE);
    } else if (answer == "enter") {
        pressKey(focusOf(dialog), VK_RETURN);
    } else if (answer == "close") {
        closeQuestion(dialog);
    } else {
        press(dialog, answer == "cancel" ? kMessageCancel : first);
    }
    check(waitFor([&] { return !IsWindow(dialog); }), "the question closes on " + answer);
    return failures ? 1 : 0;
}

// The screen has N logical pixels per inch.
int dpi(int expected) {
    HDC screen = GetDC(nullptr);
    const int found = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    check(found == expected, "the screen has " + std::to_string(found) + " pixels per inch, as set");
    return failures ? 1 : 0;
}

// Rests the pointer at X,Y of the screen, where a window may come up under it.
int point(int x, int y) {
    driver::moveTo(POINT{x, y});
    POINT at{};
    check(waitFor([&] { return GetCursorPos(&at) && at.x == x && at.y == y; }),
          "the pointer rests at " + std::to_string(x) + "," + std::to_string(y));
    return failures ? 1 : 0;
}

int report() {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    check(waitFor([&] { return endsTheScan(text(main, kStatusText)); }), "the scan ends");
    printedReport(main);
    std::printf("     %s\n", narrow(text(main, kStatusText)).c_str());
    return failures ? 1 : 0;
}

// Lets every window of the program finish painting, for a screenshot.
int settle() {
    for (HWND main : find(nullptr)) {
        for (HWND window : find(main)) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored);
    }
    Sleep(300);  // and the X server its drawing
    return 0;
}

int ok(bool bySpace) {
    HWND main = mainWindow();
    if (main == nullptr) return check(false, "a main window is open"), 1;
    HWND focus = focusOf(main);
    // Space goes only to OK: on another button it could open a web page.
    if (bySpace && focus == GetDlgItem(main, kOk)) {
        pressKey(focus, VK_SPACE);
    } else {
        check(!bySpace, "OK has the focus for Space");
        press(main, kOk);
    }
    check(waitFor([&] { return find(nullptr).empty(); }), "OK closes the program");
    return failures ? 1 : 0;
}


// The restart question that follows the statistics when a deletion waits
// for the next start.
int restartQuestion(const std::string& which) {
    HWND main = mainWindow();
    HWND dialog = main != nullptr ? question(main) : nullptr;
    if (dialog == nullptr) return check(false, "a question is open"), 1;
    check(narrow(text(dialog, kMessageText)) ==
              "The system has to be restarted to remove the virus completely from your system. \n\n Restart now?",
          "it asks to restart");
    check(narrow(textOf(dialog)) == "Brisko Ver 1.0", "its caption is Brisko Ver 1.0");
    checkShown(dialog, {kYes, kNo}, {kMessageOk, kMessageCancel, kSingleOk});
    press(dialog, which == "yes" ? kYes : kNo);
    if (which == "yes") return failures ? 1 : 0;
    check(waitFor([&] { return find(main).empty(); }), "the question closes");
    check(waitFor([&] { return visible(main, kOk) && IsWindowEnabled(main); }), "the finished dialog waits for OK");
    return failures ? 1 : 0;
}

// The system message box's text: its static control has the id 0xFFFF.
constexpr int kSystemMessageText = 0xFFFF;

HWND systemMessageBox(const std::string& caption) {
    HWND found = nullptr;
    waitFor([&] {
        found = FindWindowW(L"#32770", nullptr);
        while (found != nullptr && narrow(textOf(found)) != caption) found = FindWindowExW(nullptr, found, L"#32770", nullptr);
        return found != nullptr;
    });
    return found;
}

int notice(const std::string& expected, const std::string& caption) {
    HWND box = systemMessageBox(caption);
    if (box == nullptr) return check(false, "a message box titled " + caption + " opens"), 1;
    check(narrow(text(box, kSystemMessageText)) == expected, "it reads " + expected);
    press(box, IDOK);
    check(waitFor([&] { return !IsWindow(box); }), "OK closes it");
    return failures ? 1 : 0;
}

// The path of each process's program, as PSAPI reads it from the process
// itself: only once its loader has set it up.
bool processListed(const std::wstring& path) {
    DWORD ids[4096];
    DWORD bytes = 0;
    if (!EnumProcesses(ids, sizeof ids, &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof ids[0]; ++i) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process == nullptr) continue;
        wchar_t image[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameExW(process, nullptr, image, MAX_PATH);
        CloseHandle(process);
        if (length != 0 && _wcsicmp(image, path.c_str()) == 0) return true;
    }
    return false;
}

// A program started just before may not be loaded yet when a scan looks
// for it: this waits for what the scan will see.
int listed(const std::string& path) {
    const std::wstring wide(path.begin(), path.end());
    check(waitFor([&] { return processListed(wide); }), "Windows lists a process of " + path);
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--real-input") {
        realInput = true;
        args.erase(args.begin());
    }
    if (args.size() == 1 && args[0] == "idle") return idle();
    if (args.size() == 2 && args[0] == "windows") return windows(std::atoi(args[1].c_str()));
    if (args.size() == 1 && args[0] == "scan") return scan();
    if (args.size() == 1 && args[0] == "scan-and-hold") return scanAndHold();
    if (args.size() == 1 && args[0] == "installed") return installed();
    if (args.size() == 1 && args[0] == "enter") return enter();
    if (args.size() == 1 && args[0] == "hover") return hover();
    if (args.size() == 1 && args[0] == "close-idle") return closeIdle();
    if (args.size() == 2 && args[0] == "ask-stop") return askStop(args[1]);
    if (args.size() == 2 && args[0] == "answer" && args[1] == "yes-and-ok") return answerYesAndOk();
    if (args.size() == 2 && args[0] == "answer") return answer(args[1]);
    if (args.size() == 3 && args[0] == "answer" && args[1] == "no") return answerNoAndAskAgain(args[2]);
    if (args.size() == 3 && args[0] == "completed") return completed(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()));
    if (args.size() == 2 && args[0] == "terminated") return terminated(std::atoi(args[1].c_str()));
    if (args.size() == 1 && args[0] == "report") return report();
    if (args.size() == 1 && args[0] == "settle") return settle();
    if (args.size() == 1 && args[0] == "ok") return ok(false);
    if (args.size() == 2 && args[0] == "ok" && args[1] == "space") return ok(true);
    if (args.size() == 2 && args[0] == "rect" && args[1] == "shape") return shapeRect();
    if (args.size() == 2 && args[0] == "rect") return rect(false, std::atoi(args[1].c_str()));
    if (args.size() == 3 && args[0] == "rect" && args[1] == "question") return rect(true, std::atoi(args[2].c_str()));
    if (args.size() == 1 && args[0] == "scan-and-ask-at-once") return scanAndAskAtOnce();
    if (args.size() == 3 && args[0] == "rect" && args[1] == "asked") {
        HWND dialog = askedQuestion();
        return dialog != nullptr ? printRect(dialog, std::atoi(args[2].c_str())) : 1;
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == "asked") return asked(args[1], args.size() == 3 ? args[2] : "");
    if (args.size() == 2 && args[0] == "dpi") return dpi(std::atoi(args[1].c_str()));
    if (args.size() == 3 && args[0] == "point") return point(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()));
    if (args.size() == 2 && args[0] == "restart") return restartQuestion(args[1]);
    if (args.size() == 3 && args[0] == "notice") return notice(args[1], args[2]);
    if (args.size() == 1 && args[0] == "time-scan") return timeScan();
    if (args.size() == 2 && args[0] == "listed") return listed(args[1]);
    std::fputs("usage: brisko-driver [--real-input] idle | installed | windows N | enter | hover | close-idle | scan | scan-and-hold |\n"
               "       ask-stop cancel|x|escape | answer yes|no|close | answer no cancel|x|escape |\n"
               "       completed FILES INFECTED | terminated FILES | report | settle | ok [space] |\n"
               "       rect [question] ID | rect shape | scan-and-ask-at-once | ask-stop minimised | answer yes-and-ok |\n"
               "       point X Y | asked okcancel|ok [ok|cancel|escape|enter|close] | rect asked ID | dpi N |\n"
               "       restart yes|no | notice TEXT CAPTION | time-scan | listed PATH\n",
               stderr);
    return 2;
}
