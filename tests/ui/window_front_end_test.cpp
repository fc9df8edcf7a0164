#include <gtest/gtest.h>

#include <optional>
#include <string>
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

// The dialog's paced pump: a queue found empty is left alone for a short
// interval, a queue that held a message is looked at again at once.
TEST(WindowFrontEndTest, APacedPumpLooksAgainOnlyAfterAQuietInterval) {
    const WindowMessage escape{0, kMessageKeyDown, kKeyEscape, 0, 0, 0, 0};
    const WindowMessage mouseMove{0, 0x0200, 0, 0, 0, 0, 0};
    const std::uint32_t t = 7000;
    // Just before the clock wraps around to 0.
    const std::uint32_t w = 0xFFFFFFFAu;
    struct Step {
        std::uint32_t at;
        // Messages posted just before this pump.
        std::vector<WindowMessage> posted;
        PendingEvent event;
        // Messages still queued after it.
        std::size_t pending;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"the first pump looks", {{t, {escape}, PendingEvent::kStopKey, 0}}},
        {"after an empty look the queue waits out the interval",
         {{t, {}, PendingEvent::kNone, 0},
          {t + 1, {escape}, PendingEvent::kNone, 1},
          {t + kQuietQueueIntervalMs - 1, {}, PendingEvent::kNone, 1},
          {t + kQuietQueueIntervalMs, {}, PendingEvent::kStopKey, 0}}},
        {"a queue that held a message is looked at on every pump until it is empty",
         {{t, {mouseMove, mouseMove, escape}, PendingEvent::kNone, 2},
          {t, {}, PendingEvent::kNone, 1},
          {t, {}, PendingEvent::kStopKey, 0},
          {t, {}, PendingEvent::kNone, 0},
          {t, {mouseMove}, PendingEvent::kNone, 1}}},
        {"the interval holds across the clock's wrap",
         {{w, {}, PendingEvent::kNone, 0},
          {w + kQuietQueueIntervalMs - 1, {escape}, PendingEvent::kNone, 1},
          {w + kQuietQueueIntervalMs, {}, PendingEvent::kStopKey, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        QuestionlessWindowFrontEnd frontEnd(0);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE("pump " + std::to_string(i));
            const Step& step = c.steps[i];
            for (const WindowMessage& message : step.posted) machine.fakeWindows().postMessage(message);
            EXPECT_EQ(frontEnd.takeEventPaced(step.at), step.event);
            EXPECT_EQ(machine.fakeWindows().pendingMessages(), step.pending);
        }
    }
}

// However fast the scan pumps, a stop key posted at any moment is taken
// within the quiet interval.
TEST(WindowFrontEndTest, APacedPumpTakesTheStopKeyWithinTheInterval) {
    for (std::uint32_t postedAt = 0; postedAt < 3 * kQuietQueueIntervalMs; ++postedAt) {
        SCOPED_TRACE("posted at " + std::to_string(postedAt) + " ms");
        fake::FakeMachine machine;
        QuestionlessWindowFrontEnd frontEnd(0);
        std::optional<std::uint32_t> takenAt;
        // A pump every tenth of a millisecond, as a fast walk pumps.
        for (std::uint32_t tenths = 0; tenths < 100 * kQuietQueueIntervalMs && !takenAt; ++tenths) {
            const std::uint32_t now = tenths / 10;
            if (tenths == postedAt * 10) machine.fakeWindows().postKeyDown(kKeyEscape);
            if (frontEnd.takeEventPaced(now) == PendingEvent::kStopKey) takenAt = now;
        }
        ASSERT_TRUE(takenAt.has_value());
        EXPECT_LE(*takenAt - postedAt, kQuietQueueIntervalMs);
    }
}

}  // namespace
}  // namespace brisko
