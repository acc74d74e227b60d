#pragma once
#include <windows.h>

namespace lumivane::win32 {

// Loads a library of the system folder by its full path, never from the
// search path; for libraries loaded on first use rather than with the
// program. nullptr if it cannot be loaded. The library stays loaded.
HMODULE loadSystemLibrary(const wchar_t* fileName);

template <typename Fn>
Fn systemFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

} // namespace lumivane::win32
