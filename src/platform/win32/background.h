#pragma once
#include "platform/background.h"

#include <windows.h>

namespace lumivane::win32 {

// Posted to the window named by postTo when a piece of work is done; lParam
// carries it, for Win32Background::deliver.
inline constexpr UINT kBackgroundDone = WM_APP + 3;

// The system's thread pool for the work; the answer comes back as a message
// to the window, the delays as timers of the window. No thread of its own.
class Win32Background final : public platform::Background {
public:
    void postTo(HWND window) { window_ = window; }
    void run(std::function<void()> work, std::function<void()> done) override;
    void after(unsigned milliseconds, std::function<void()> done) override;

    // kBackgroundDone: runs the answer it carries.
    static void deliver(LPARAM message);
    // kBackgroundDone for a window that is going: frees the answer unrun.
    static void drop(LPARAM message);

private:
    HWND window_ = nullptr;
};

} // namespace lumivane::win32
