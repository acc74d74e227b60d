#include "platform/win32/background.h"

#include <memory>

namespace lumivane::win32 {

namespace {

struct Job {
    std::function<void()> work;
    std::function<void()> done;
    HWND window;
};

void CALLBACK runOnPool(PTP_CALLBACK_INSTANCE, void* context) {
    auto* job = static_cast<Job*>(context);
    try {
        job->work();
    } catch (...) {
        // Out of memory on the pool: the answer still goes back, so that
        // nothing on the window's side waits for it forever.
    }
    // A window that is gone takes no answer: it is freed here, unrun.
    if (!::PostMessageW(job->window, kBackgroundDone, 0, reinterpret_cast<LPARAM>(job))) delete job;
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

void Win32Background::run(std::function<void()> work, std::function<void()> done) {
    auto job = std::make_unique<Job>(Job{std::move(work), std::move(done), window_});
    if (::TrySubmitThreadpoolCallback(runOnPool, job.get(), nullptr)) {
        job.release();
        return;
    }
    // The pool refused (no memory for it): the answer is worth a wait more
    // than a question never answered.
    job->work();
    job->done();
}

void Win32Background::after(unsigned milliseconds, std::function<void()> done) {
    auto job = std::make_unique<Job>(Job{nullptr, std::move(done), window_});
    // The job's address is the timer's number: unique while the job lives.
    if (::SetTimer(window_, reinterpret_cast<UINT_PTR>(job.get()), milliseconds, timerElapsed)) job.release();
}

void Win32Background::deliver(LPARAM message) {
    std::unique_ptr<Job> job(reinterpret_cast<Job*>(message));
    job->done();
}

void Win32Background::drop(LPARAM message) {
    delete reinterpret_cast<Job*>(message);
}

} // namespace lumivane::win32
