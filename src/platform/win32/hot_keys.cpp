#include "platform/win32/hot_keys.h"

#include <windows.h>

namespace lumivane::win32 {

bool Win32HotKeys::add(void* window, int id, unsigned hotKeyFlags, unsigned virtualKey) {
    return ::RegisterHotKey(static_cast<HWND>(window), id, hotKeyFlags, virtualKey) != FALSE;
}

void Win32HotKeys::remove(void* window, int id) {
    // Fails only for a key that was not registered, which leaves nothing to undo.
    ::UnregisterHotKey(static_cast<HWND>(window), id);
}

} // namespace lumivane::win32
