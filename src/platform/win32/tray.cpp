#include "platform/win32/tray.h"

#include "platform/win32/wide.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace lumivane::win32 {

namespace {
// The first version of the record: everything up to and including the 64
// character tip. Any shell version accepts it.
constexpr platform::TrayRecordForm kNativeForm{static_cast<int>(sizeof(void*)), static_cast<int>(sizeof(wchar_t))};
static_assert(offsetof(NOTIFYICONDATAW, szTip) + sizeof(wchar_t) * 64 == NOTIFYICONDATAW_V1_SIZE);
} // namespace

UniqueMenu buildPopupMenu(const std::vector<platform::PopupLine>& lines) {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    UINT position = 0;
    for (const auto& line : lines) {
        std::wstring text = widen(line.text);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
        info.wID = line.id;
        info.fState = line.enabled ? MFS_ENABLED : MFS_GRAYED;
        if (line.separator) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_STRING;
            info.fType = MFT_STRING;
            info.dwTypeData = text.data();
        }
        ::InsertMenuItemW(menu.get(), position++, TRUE, &info);
    }
    return menu;
}

NOTIFYICONDATAW toNotifyIconData(const platform::TrayRecord& record) {
    std::vector<unsigned char> bytes = platform::trayRecordBytes(record, kNativeForm);
    NOTIFYICONDATAW data{};
    std::memcpy(&data, bytes.data(), std::min(bytes.size(), sizeof(data)));
    return data;
}

bool Win32Tray::add(const platform::TrayRecord& record) {
    NOTIFYICONDATAW data = toNotifyIconData(record);
    return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool Win32Tray::remove(const platform::TrayRecord& record) {
    NOTIFYICONDATAW data = toNotifyIconData(record);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

unsigned Win32Tray::popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) {
    HWND hwnd = static_cast<HWND>(window);
    UniqueMenu menu = buildPopupMenu(lines);
    if (!menu) return 0;
    // Without being foreground, the menu would not close when the user
    // clicks elsewhere.
    ::SetForegroundWindow(hwnd);
    POINT at{};
    ::GetCursorPos(&at);
    BOOL chosen = ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, hwnd,
                                   nullptr);
    // The documented remedy: a message in the queue after the menu's loop ends
    // lets the next popup close properly when the user clicks away.
    ::PostMessageW(hwnd, WM_NULL, 0, 0);
    return static_cast<unsigned>(chosen);
}

} // namespace lumivane::win32
