#pragma once
// Windows and the message queue of the simulated machine. A window is a
// procedure of the test's; sends call it at once, the queue holds what the
// test posted, and every dispatched message is recorded. Windows of other
// programs are only their titles.
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fault_plan.h"
#include "platform/window_messaging.h"

namespace brisko::fake {

using WindowProcedure = std::function<void(const WindowMessage&)>;

class FakeWindowMessaging : public WindowMessaging {
public:
    explicit FakeWindowMessaging(FaultPlan& faults) : faults_(faults) {}

    WindowHandle createWindow(WindowProcedure procedure);
    // A top-level window of another program, with this title.
    void showOtherProgramWindow(const std::string& title) { otherTitles_.insert(title); }
    void closeOtherProgramWindow(const std::string& title);
    void postMessage(const WindowMessage& message);
    void postKeyDown(std::uintptr_t key);
    void postQuit();
    std::size_t pendingMessages() const { return queue_.size(); }
    const std::vector<WindowMessage>& dispatchedMessages() const { return dispatched_; }

    void sendMessage(WindowHandle window, std::uint32_t id) override;
    bool takeMessage(WindowMessage& message) override;
    void dispatchMessage(const WindowMessage& message) override;
    bool windowTitled(const char* title) override { return otherTitles_.count(title) != 0; }

private:
    void deliver(const WindowMessage& message);

    FaultPlan& faults_;
    std::map<WindowHandle, WindowProcedure> windows_;
    WindowHandle lastHandle_ = 0;
    std::deque<WindowMessage> queue_;
    std::vector<WindowMessage> dispatched_;
    std::multiset<std::string> otherTitles_;
};

}  // namespace brisko::fake
