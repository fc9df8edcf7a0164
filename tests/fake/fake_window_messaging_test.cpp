// Windows and the message queue of the simulated machine: sends reach a
// window's procedure at once, posts wait in the queue in order, and
// dispatching both records a message and delivers it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "platform/fake/fake_window_messaging.h"

namespace brisko::fake {
namespace {

// Every field, so that a message altered on its way fails the comparison.
auto fieldsOf(const WindowMessage& m) {
    return std::make_tuple(m.window, m.id, m.wParam, m.lParam, m.time, m.x, m.y);
}

WindowMessage message(WindowHandle window, std::uint32_t id, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) {
    WindowMessage m{};
    m.window = window;
    m.id = id;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

class FakeWindowMessagingTest : public ::testing::Test {
protected:
    // A window whose procedure records what it receives.
    WindowHandle recordingWindow(std::vector<WindowMessage>& received) {
        return messaging.createWindow([&received](const WindowMessage& m) { received.push_back(m); });
    }

    FaultPlan faults;
    FakeWindowMessaging messaging{faults};
    std::vector<WindowMessage> first;
    std::vector<WindowMessage> second;
    const WindowHandle firstWindow = recordingWindow(first);
    const WindowHandle secondWindow = recordingWindow(second);
};

TEST_F(FakeWindowMessagingTest, WindowHandlesAreDistinctAndNeverZero) {
    std::set<WindowHandle> handles{firstWindow, secondWindow};
    for (int i = 0; i < 8; ++i) handles.insert(messaging.createWindow([](const WindowMessage&) {}));

    EXPECT_EQ(handles.size(), 10u);
    EXPECT_EQ(handles.count(0), 0u);
}

TEST_F(FakeWindowMessagingTest, SendCallsTheWindowAtOnceWithBothParametersZero) {
    messaging.sendMessage(secondWindow, kMessageDestroy);

    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(fieldsOf(second[0]), fieldsOf(message(secondWindow, kMessageDestroy)));
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(messaging.pendingMessages(), 0u);
    EXPECT_TRUE(messaging.dispatchedMessages().empty());
}

TEST_F(FakeWindowMessagingTest, SendToNoWindowOrAnUnknownOneHasNoEffect) {
    const WindowHandle unknown = std::max(firstWindow, secondWindow) + 1;
    for (WindowHandle window : {WindowHandle{0}, unknown}) {
        SCOPED_TRACE(window);
        messaging.sendMessage(window, kMessageDestroy);
    }

    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(messaging.pendingMessages(), 0u);
    EXPECT_TRUE(messaging.dispatchedMessages().empty());
}

TEST_F(FakeWindowMessagingTest, PostedMessagesAreTakenInTheOrderPostedWithoutBeingDelivered) {
    const WindowMessage posted[] = {
        message(secondWindow, kMessageKeyDown, 'A', 1),
        message(firstWindow, 0x0401, 7, -3),
        message(0, kMessageQuit),
    };
    for (const WindowMessage& m : posted) messaging.postMessage(m);
    EXPECT_EQ(messaging.pendingMessages(), 3u);

    for (const WindowMessage& expected : posted) {
        WindowMessage taken = message(0xdead, 0xbeef);
        ASSERT_TRUE(messaging.takeMessage(taken));
        EXPECT_EQ(fieldsOf(taken), fieldsOf(expected));
    }
    WindowMessage none{};
    EXPECT_FALSE(messaging.takeMessage(none));
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(second.empty());
}

TEST_F(FakeWindowMessagingTest, TakingFromAnEmptyQueueFails) {
    WindowMessage none{};
    EXPECT_FALSE(messaging.takeMessage(none));
}

TEST_F(FakeWindowMessagingTest, DispatchRecordsEveryMessageAndDeliversItToItsWindow) {
    const WindowMessage toFirst = message(firstWindow, 0x0401, 7, -3);
    const WindowMessage toNobody = message(0, kMessageQuit);

    messaging.dispatchMessage(toFirst);
    messaging.dispatchMessage(toNobody);

    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(fieldsOf(first[0]), fieldsOf(toFirst));
    EXPECT_TRUE(second.empty());
    ASSERT_EQ(messaging.dispatchedMessages().size(), 2u);
    EXPECT_EQ(fieldsOf(messaging.dispatchedMessages()[0]), fieldsOf(toFirst));
    EXPECT_EQ(fieldsOf(messaging.dispatchedMessages()[1]), fieldsOf(toNobody));
}

// A key press goes to the window created last, the one that has the focus.
TEST_F(FakeWindowMessagingTest, KeyDownIsQueuedForTheNewestWindow) {
    messaging.postKeyDown(kKeyEscape);

    WindowMessage taken{};
    ASSERT_TRUE(messaging.takeMessage(taken));
    EXPECT_EQ(fieldsOf(taken), fieldsOf(message(secondWindow, kMessageKeyDown, kKeyEscape)));
    messaging.dispatchMessage(taken);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].wParam, kKeyEscape);
    EXPECT_TRUE(first.empty());
}

TEST_F(FakeWindowMessagingTest, QuitIsQueuedForNoWindowAfterWhatWasPostedBefore) {
    messaging.postKeyDown('X');
    messaging.postQuit();

    WindowMessage taken{};
    ASSERT_TRUE(messaging.takeMessage(taken));
    EXPECT_EQ(taken.id, kMessageKeyDown);
    ASSERT_TRUE(messaging.takeMessage(taken));
    EXPECT_EQ(fieldsOf(taken), fieldsOf(message(0, kMessageQuit)));
    EXPECT_FALSE(messaging.takeMessage(taken));
}

}  // namespace
}  // namespace brisko::fake
