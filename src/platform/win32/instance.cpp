#include "platform/win32/instance.h"

#include <windows.h>

namespace lumivane::win32 {

bool NamedMutexInstanceLock::anotherInstanceRunning() {
    // The mutex is created atomically by the kernel, so of two copies started
    // at the same instant exactly one sees ERROR_ALREADY_EXISTS.
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name_));
    DWORD error = ::GetLastError();
    if (!mutex_) return error == ERROR_ACCESS_DENIED;
    return error == ERROR_ALREADY_EXISTS;
}

} // namespace lumivane::win32
