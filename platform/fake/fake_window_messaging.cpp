#include "platform/fake/fake_window_messaging.h"

#include <utility>

namespace brisko::fake {

WindowHandle FakeWindowMessaging::createWindow(WindowProcedure procedure) {
    // Never 0, which means "no window".
    lastHandle_ += 0x10;
    windows_[lastHandle_] = std::move(procedure);
    return lastHandle_;
}

void FakeWindowMessaging::closeOtherProgramWindow(const std::string& title) {
    const auto window = otherTitles_.find(title);
    if (window != otherTitles_.end()) otherTitles_.erase(window);
}

void FakeWindowMessaging::postMessage(const WindowMessage& message) { queue_.push_back(message); }

void FakeWindowMessaging::postKeyDown(std::uintptr_t key) {
    WindowMessage message{};
    message.window = lastHandle_;
    message.id = kMessageKeyDown;
    message.wParam = key;
    postMessage(message);
}

void FakeWindowMessaging::postQuit() {
    WindowMessage message{};
    message.id = kMessageQuit;
    postMessage(message);
}

void FakeWindowMessaging::deliver(const WindowMessage& message) {
    const auto window = windows_.find(message.window);
    if (window != windows_.end()) window->second(message);
}

void FakeWindowMessaging::sendMessage(WindowHandle window, std::uint32_t id) {
    WindowMessage message{};
    message.window = window;
    message.id = id;
    deliver(message);
}

bool FakeWindowMessaging::takeMessage(WindowMessage& message) {
    // A failed take leaves the message queued, as PeekMessage does.
    if (faults_.fails(SeamCall::kTakeMessage) || queue_.empty()) return false;
    message = queue_.front();
    queue_.pop_front();
    return true;
}

void FakeWindowMessaging::dispatchMessage(const WindowMessage& message) {
    dispatched_.push_back(message);
    deliver(message);
}

}  // namespace brisko::fake
