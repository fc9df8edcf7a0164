#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_machine.h"
#include "ui/window_front_end.h"

namespace brisko {
namespace {


class QuestionlessWindowFrontEnd : public WindowFrontEnd {
public:
    using WindowFrontEnd::WindowFrontEnd;
    int ask(const Question&) override { return kAnswerNo; }
};

// Lines and items are messages without parameters to the window, which
// reads the text from the scan's record itself.
TEST(WindowFrontEndTest, LinesAndItemsAreTheWindowsTwoMessages) {
    fake::FakeMachine machine;
    std::vector<WindowMessage> received;
    const WindowHandle window =
        machine.fakeWindows().createWindow([&](const WindowMessage& message) { received.push_back(message); });
    QuestionlessWindowFrontEnd frontEnd(window);
    frontEnd.appendLine("a line");
    frontEnd.showItem("an item");
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].id, kAppendLineMessage);
    EXPECT_EQ(received[1].id, kShowItemMessage);
    for (const WindowMessage& message : received) {
        EXPECT_EQ(message.window, window);
        EXPECT_EQ(message.wParam, 0u);
        EXPECT_EQ(message.lParam, 0);
    }
}

TEST(WindowFrontEndTest, EventsAreTheStopKeyTheEndOrNothing) {
    struct Case {
        const char* what;
        WindowMessage message;
        PendingEvent event;
        bool dispatched;
    };
    const Case cases[] = {
        {"Escape pressed", {0, kMessageKeyDown, kKeyEscape, 0, 0, 0, 0}, PendingEvent::kStopKey, false},
        {"a character carrying the Escape code", {0, 0x0102, 0x1001B, 0, 0, 0, 0}, PendingEvent::kStopKey, false},
        {"quit", {0, kMessageQuit, 0, 0, 0, 0, 0}, PendingEvent::kQuit, false},
        {"the window destroyed", {0, kMessageDestroy, 0, 0, 0, 0, 0}, PendingEvent::kQuit, false},
        {"a mouse move", {0, 0x0200, 0, 0, 0, 0, 0}, PendingEvent::kNone, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        QuestionlessWindowFrontEnd frontEnd(0);
        machine.fakeWindows().postMessage(c.message);
        EXPECT_EQ(frontEnd.takeEvent(), c.event);
        EXPECT_EQ(machine.fakeWindows().dispatchedMessages().size(), c.dispatched ? 1u : 0u);
        EXPECT_EQ(frontEnd.takeEvent(), PendingEvent::kNone);
    }
}

}  // namespace
}  // namespace brisko
