#pragma once
#include "platform/background.h"

#include <windows.h>

namespace lumivane::win32 {

// Posted to the window named by postTo when a job's work is done; lParam
// carries the job, for Win32Background::deliver.
inline constexpr UINT kBackgroundDone = WM_APP + 3;

// The system's thread pool for the work; the answer comes back as a message
// to the window, the delays as timers of the window. No thread of its own.
class Win32Background final : public platform::Background {
public:
    void postTo(HWND window) { window_ = window; }
    void run(std::unique_ptr<platform::Job> job) override;
    void after(unsigned milliseconds, std::unique_ptr<platform::Job> job) override;

    // kBackgroundDone: the job's done, on the window's thread.
    static void deliver(LPARAM message);
    // kBackgroundDone for a window that is going: the job is freed unrun.
    static void drop(LPARAM message);

private:
    HWND window_ = nullptr;
};

} // namespace lumivane::win32
