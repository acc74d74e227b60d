#include "platform/win32/background.h"

namespace lumivane::win32 {

namespace {

// What travels through the pool and the message queue.
struct Posted {
    std::unique_ptr<platform::Job> job;
    HWND window;
};

void CALLBACK runOnPool(PTP_CALLBACK_INSTANCE, void* context) {
    auto* posted = static_cast<Posted*>(context);
    try {
        posted->job->work();
    } catch (...) {
        // Out of memory on the pool: the answer still goes back, so that
        // nothing on the window's side waits for it forever.
    }
    // A window that is gone takes no answer: the job is freed here, unrun.
    if (!::PostMessageW(posted->window, kBackgroundDone, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void CALLBACK timerElapsed(HWND window, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(window, id);
    try {
        Win32Background::deliver(static_cast<LPARAM>(id));
    } catch (...) {
        // Nothing may unwind through the window system's frames.
    }
}

} // namespace

void Win32Background::run(std::unique_ptr<platform::Job> job) {
    auto* posted = new Posted{std::move(job), window_};
    if (::TrySubmitThreadpoolCallback(runOnPool, posted, nullptr)) return;
    // The pool refused (no memory for it): the answer is worth a wait more
    // than a question never answered.
    std::unique_ptr<Posted> here(posted);
    here->job->work();
    here->job->done();
}

void Win32Background::after(unsigned milliseconds, std::unique_ptr<platform::Job> job) {
    auto* posted = new Posted{std::move(job), window_};
    // The address is the timer's number: unique while the job lives.
    if (!::SetTimer(window_, reinterpret_cast<UINT_PTR>(posted), milliseconds, timerElapsed)) delete posted;
}

void Win32Background::deliver(LPARAM message) {
    std::unique_ptr<Posted> posted(reinterpret_cast<Posted*>(message));
    posted->job->done();
}

void Win32Background::drop(LPARAM message) {
    delete reinterpret_cast<Posted*>(message);
}

} // namespace lumivane::win32
