#include "platform/win32/system_library.h"

#include <string>

namespace lumivane::win32 {

HMODULE loadSystemLibrary(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += fileName;
    return ::LoadLibraryW(path.c_str());
}

} // namespace lumivane::win32
