#include "platform/win32/media_control.h"

#include "platform/win32/wide.h"

#include <windows.h>
#include <mmsystem.h>

namespace lumivane::win32 {

void Win32MediaControl::sendString(const std::string& command) {
    // Errors (no disc, alias already open) have no visible effect by design.
    ::mciSendStringW(widen(command).c_str(), nullptr, 0, nullptr);
}

} // namespace lumivane::win32
