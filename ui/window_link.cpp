#include "ui/window_link.h"

#include <QMetaObject>
#include <QObject>

namespace quenvar {

namespace {

// Opens the latch when the last copy goes: with the posted call once it has
// run, or with a posted call that Qt drops unrun.
class OpenWhenGone {
public:
    explicit OpenWhenGone(std::shared_ptr<Latch> latch) : latch_(std::move(latch)) {}
    OpenWhenGone(const OpenWhenGone&) = delete;
    OpenWhenGone& operator=(const OpenWhenGone&) = delete;
    ~OpenWhenGone() { latch_->open(); }

private:
    std::shared_ptr<Latch> latch_;
};

}  // namespace

void Latch::open() {
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    opened_.notify_all();
}

void Latch::wait() {
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [this] { return open_; });
}

void post_call(QObject* context, std::function<void()> call, std::shared_ptr<Latch> done) {
    auto opener = std::make_shared<OpenWhenGone>(std::move(done));
    QMetaObject::invokeMethod(
        context, [call = std::move(call), opener] { call(); }, Qt::QueuedConnection);
}

WindowLink::WindowLink(QObject* window)
    : window_(window), window_thread_(std::this_thread::get_id()) {}

bool WindowLink::run(const std::function<void()>& call) {
    if (on_window_thread()) {
        if (!is_open()) return false;
        call();
        return true;
    }
    auto done = std::make_shared<Latch>();
    auto ran = std::make_shared<bool>(false);  // read after `done` opens
    {
        // Held while posting only: close() cannot pass between the test and
        // the post, and the window's thread never waits for a caller.
        std::lock_guard lock(mutex_);
        if (!window_) return false;
        post_call(
            window_,
            [link = shared_from_this(), &call, ran] {
                if (!link->is_open()) return;
                call();
                *ran = true;
            },
            done);
    }
    done->wait();
    return *ran;
}

void WindowLink::close() {
    std::lock_guard lock(mutex_);
    window_ = nullptr;
}

bool WindowLink::is_open() {
    std::lock_guard lock(mutex_);
    return window_ != nullptr;
}

}  // namespace quenvar
