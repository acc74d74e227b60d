#include "platform/win32/desktop.h"

#include <windows.h>

namespace lumivane::win32 {

std::uint32_t Win32DesktopWindow::screenSaveActiveValue() {
    BOOL value = 0;
    // The call's own result is not needed: a failure leaves the 0 above.
    ::SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &value, 0);
    return static_cast<std::uint32_t>(value);
}

void Win32DesktopWindow::sendSysCommand(unsigned command, std::intptr_t lParam) {
    ::SendMessageW(::GetDesktopWindow(), WM_SYSCOMMAND, static_cast<WPARAM>(command), static_cast<LPARAM>(lParam));
}

} // namespace lumivane::win32
