#include "platform/win32/folder_picker.h"

#include "platform/win32/com.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace lumivane::win32 {

namespace {

using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

// CLSID_FileOpenDialog, written out so that no GUID library is linked for it.
constexpr CLSID kFileOpenDialog = {0xDC1C5A9C, 0xE88A, 0x4DDE, {0xA5, 0xA1, 0x60, 0xF8, 0x2A, 0x20, 0xAE, 0xF7}};

// False when the dialog cannot be made or shown; else `chosen` is the chosen
// folder, or "" when the user cancelled.
bool pickWithFileDialog(HWND owner, const std::string& startFolder, std::string& chosen) {
    auto create = systemFunction<CoCreateInstanceFn>(ole32(), "CoCreateInstance");
    UniqueCom<IFileOpenDialog> dialog;
    if (!enterComApartment() || !create ||
        FAILED(create(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                      reinterpret_cast<void**>(dialog.put()))))
        return false;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog.get()->GetOptions(&options);
    dialog.get()->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    UniqueCom<IShellItem> start;
    if (!startFolder.empty() && SUCCEEDED(::SHCreateItemFromParsingName(widen(startFolder).c_str(), nullptr,
                                                                        __uuidof(IShellItem),
                                                                        reinterpret_cast<void**>(start.put()))))
        dialog.get()->SetFolder(start.get());
    HRESULT shown = dialog.get()->Show(owner);
    if (FAILED(shown)) return shown == HRESULT_FROM_WIN32(ERROR_CANCELLED);
    UniqueCom<IShellItem> item;
    PWSTR path = nullptr;
    if (SUCCEEDED(dialog.get()->GetResult(item.put())) && SUCCEEDED(item.get()->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        chosen = narrow(path);
        freeComMemory(path);
    }
    return true;
}

std::string pickWithFolderTree(HWND owner) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"Please select a folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
    if (!list) return {};
    // Long paths beyond MAX_PATH are not returned by this call; the buffer is its documented size.
    wchar_t path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListW(list, path);
    // Freed whether or not the list had a file-system path.
    ::ILFree(list);
    return ok ? narrow(path) : std::string();
}

} // namespace

std::string ShellFolderPicker::browseForFolder(void* owner, const std::string& startFolder) {
    HWND window = static_cast<HWND>(owner);
    // On an odd system without the dialog, the tree still picks a folder.
    std::string chosen;
    if (pickWithFileDialog(window, startFolder, chosen)) return chosen;
    return pickWithFolderTree(window);
}

} // namespace lumivane::win32
