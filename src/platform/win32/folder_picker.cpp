#include "platform/win32/folder_picker.h"

#include "platform/win32/wide.h"

#include <windows.h>
#include <shlobj.h>

namespace lumivane::win32 {

std::string ShellFolderPicker::BrowseForFolder(void* owner) {
    BROWSEINFOW info{};
    info.hwndOwner = static_cast<HWND>(owner);
    info.lpszTitle = L"Please select a folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
    if (!list) return {};
    // Long paths beyond MAX_PATH are not returned by this call; the buffer is its documented size.
    wchar_t path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListW(list, path);
    // Freed whether or not the list had a file-system path.
    ::CoTaskMemFree(list);
    return ok ? narrow(path) : std::string();
}

} // namespace lumivane::win32
