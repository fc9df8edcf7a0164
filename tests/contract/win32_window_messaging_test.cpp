// The Windows message seam against real windows: a message-only window of
// our own, which Wine creates without a display.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_window_messaging.h"

namespace brisko {
namespace {

// HWND_MESSAGE: the parent of message-only windows (Windows 2000 and
// later, so our API level does not name it). Only these tests use it.
const HWND kMessageOnlyParent = reinterpret_cast<HWND>(-3);
const char kClassName[] = "BriskoMessagingTest";

struct Delivery {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

// What the window procedure received, oldest first.
std::vector<Delivery> deliveries;

LRESULT CALLBACK recordingProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (id >= WM_USER || id == WM_KEYDOWN || id == WM_CHAR) {
        deliveries.push_back({id, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, id, wParam, lParam);
}

class Win32WindowMessagingTest : public ::testing::Test {
protected:
    Win32WindowMessagingTest() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(kClassName, "", 0, 0, 0, 0, 0, kMessageOnlyParent, nullptr,
                                windowClass.hInstance, nullptr);
        drainQueue();
        deliveries.clear();
    }
    ~Win32WindowMessagingTest() override {
        if (window_ != nullptr) DestroyWindow(window_);
        UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
        drainQueue();
    }

    void SetUp() override { ASSERT_NE(window_, nullptr) << "error " << GetLastError(); }

    WindowHandle handle() const { return reinterpret_cast<WindowHandle>(window_); }

    // Takes the first queued message with that number, dropping the ones
    // before it; false when the queue runs out first.
    bool takeMessageNumbered(UINT id, WindowMessage& message) {
        while (messaging_.takeMessage(message)) {
            if (message.id == id) return true;
        }
        return false;
    }

    static void drainQueue() {
        MSG dropped;
        while (PeekMessageA(&dropped, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    Win32WindowMessaging messaging_;
    HWND window_ = nullptr;
};

TEST_F(Win32WindowMessagingTest, SendReachesTheWindowBeforeReturning) {
    messaging_.sendMessage(handle(), WM_USER + 1);

    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].id, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(deliveries[0].wParam, 0u);
    EXPECT_EQ(deliveries[0].lParam, 0);
}

TEST_F(Win32WindowMessagingTest, TakeGivesEveryFieldOfAPostedMessage) {
    ASSERT_TRUE(PostMessageA(window_, WM_USER + 2, 11, -22));

    WindowMessage message{};
    ASSERT_TRUE(takeMessageNumbered(WM_USER + 2, message));

    EXPECT_EQ(message.window, handle());
    EXPECT_EQ(message.wParam, 11u);
    EXPECT_EQ(message.lParam, -22);
    EXPECT_TRUE(deliveries.empty()) << "taking a message must not dispatch it";
}

TEST_F(Win32WindowMessagingTest, TakeGivesThreadMessagesWithoutWindow) {
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER + 3, 5, 6));

    WindowMessage message{};
    ASSERT_TRUE(takeMessageNumbered(WM_USER + 3, message));

    EXPECT_EQ(message.window, 0u);
    EXPECT_EQ(message.wParam, 5u);
    EXPECT_EQ(message.lParam, 6);
}

TEST_F(Win32WindowMessagingTest, TakeIsFalseOnceTheQueueIsEmpty) {
    ASSERT_TRUE(PostMessageA(window_, WM_USER + 4, 0, 0));
    WindowMessage message{};
    ASSERT_TRUE(takeMessageNumbered(WM_USER + 4, message));

    EXPECT_FALSE(takeMessageNumbered(WM_USER + 4, message));
}

TEST_F(Win32WindowMessagingTest, DispatchDeliversATakenMessageToItsWindow) {
    ASSERT_TRUE(PostMessageA(window_, WM_USER + 5, 7, 8));
    WindowMessage message{};
    ASSERT_TRUE(takeMessageNumbered(WM_USER + 5, message));

    messaging_.dispatchMessage(message);

    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].id, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(deliveries[0].wParam, 7u);
    EXPECT_EQ(deliveries[0].lParam, 8);
}

TEST_F(Win32WindowMessagingTest, DispatchTranslatesKeysIntoCharacters) {
    // Escape, pressed once: repeat count 1, scan code 1.
    const LPARAM keyData = 0x00010001;
    ASSERT_TRUE(PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, keyData));
    WindowMessage message{};
    ASSERT_TRUE(takeMessageNumbered(WM_KEYDOWN, message));

    messaging_.dispatchMessage(message);
    WindowMessage character{};
    ASSERT_TRUE(takeMessageNumbered(WM_CHAR, character));

    EXPECT_EQ(character.window, handle());
    EXPECT_EQ(character.wParam, static_cast<WPARAM>(VK_ESCAPE));
}

}  // namespace
}  // namespace brisko
