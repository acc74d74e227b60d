#include "platform/win32/folder_picker.h"

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace lumivane::win32 {

namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID reserved, DWORD flags);
using CoUninitializeFn = void(WINAPI*)();

// COM's library is loaded on the first picker rather than with the program:
// most runs never browse, and it lengthens every start.
HMODULE ole32() {
    static const HMODULE module = loadSystemLibrary(L"ole32.dll");
    return module;
}

} // namespace

ShellFolderPicker::~ShellFolderPicker() {
    if (!entered_) return;
    if (auto uninitialize = systemFunction<CoUninitializeFn>(ole32(), "CoUninitialize")) uninitialize();
}

void ShellFolderPicker::enterApartment() {
    if (tried_) return;
    tried_ = true;
    auto initialize = systemFunction<CoInitializeExFn>(ole32(), "CoInitializeEx");
    // S_FALSE (already in an apartment of this kind) counts too: each success is undone once.
    entered_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

std::string ShellFolderPicker::browseForFolder(void* owner) {
    // Without COM the picker may still work, with fewer of the shell's folders.
    enterApartment();
    BROWSEINFOW info{};
    info.hwndOwner = static_cast<HWND>(owner);
    info.lpszTitle = L"Please select a folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
    if (!list) return {};
    // Long paths beyond MAX_PATH are not returned by this call; the buffer is its documented size.
    wchar_t path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListW(list, path);
    // Freed whether or not the list had a file-system path; the shell's own
    // release, so that COM's library need not be linked.
    ::ILFree(list);
    return ok ? narrow(path) : std::string();
}

} // namespace lumivane::win32
