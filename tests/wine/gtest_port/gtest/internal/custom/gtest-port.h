#pragma once
// GoogleTest's hook for local changes, found before its own copy by the
// cross build's include path.
//
// Its Notification waits on std::mutex and std::condition_variable, which
// the toolchain's win32 thread model lacks (that model keeps the program
// free of the POSIX thread layer, which needs newer Windows than ours).
// Only GoogleTest's own thread helper waits on a Notification, and our
// tests start no threads, so a spinning one does.
#include <atomic>

#if defined(__MINGW32__) && !defined(_GLIBCXX_HAS_GTHREADS)
#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : notified_(false) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing

#endif
