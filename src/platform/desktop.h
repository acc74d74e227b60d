#pragma once
#include <cstdint>

namespace lumivane::platform {

inline constexpr unsigned kScScreenSave = 0xF140;
inline constexpr unsigned kScMonitorPower = 0xF170;
inline constexpr std::intptr_t kMonitorOff = 2;
inline constexpr std::intptr_t kMonitorOn = -1;

// The desktop as the power actions reach it.
class DesktopWindow {
public:
    virtual ~DesktopWindow() = default;
    // The value SPI_GETSCREENSAVEACTIVE leaves in a 32-bit variable that was
    // zeroed first; a failed query therefore reads 0.
    virtual std::uint32_t screenSaveActiveValue() = 0;
    // Sends WM_SYSCOMMAND with this command and lParam to the desktop window and
    // waits for it to be handled; the answer means nothing to the caller.
    virtual void sendSysCommand(unsigned command, std::intptr_t lParam) = 0;
};

} // namespace lumivane::platform
