// Hands calls from other threads to the window's thread.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

namespace quenvar {

// Opens once and stays open; waiters block until then.
class Latch {
public:
    void open();
    void wait();

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// Posts `call` to the thread of `context` and returns at once. `done` opens
// after the call has run, or when the call is dropped unrun because `context`
// or its thread's event queue went away first.
void post_call(QObject* context, std::function<void()> call, std::shared_ptr<Latch> done);

// The window's end of every call that reaches its controls from another
// thread. run() hands the call to the window's thread and waits for it, so
// calls complete in the order they are made and no widget is touched from
// another thread. Once closed, nothing more runs.
class WindowLink : public std::enable_shared_from_this<WindowLink> {
public:
    // On the window's thread; `window` receives the calls.
    explicit WindowLink(QObject* window);

    // Runs `call` on the window's thread (at once when already there) and
    // returns whether it ran; false once the window is gone.
    bool run(const std::function<void()>& call);

    // On the window's thread, before the window goes: later calls do
    // nothing; calls already handed over are skipped, or dropped and
    // released with the window's pending events.
    void close();
    bool is_open();
    bool on_window_thread() const { return std::this_thread::get_id() == window_thread_; }

private:
    std::mutex mutex_;
    QObject* window_;  // null once closed
    const std::thread::id window_thread_;
};

}  // namespace quenvar
