#include "platform/win32/dialogs.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

void Win32MessageBoxes::show(const std::string& text, const std::string& title, unsigned style) {
    // A tray program has no window in front: the box must come forward itself.
    ::MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), style | MB_SETFOREGROUND);
}

} // namespace lumivane::win32
