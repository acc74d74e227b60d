#include "platform/win32/tray.h"

#include "platform/app_title.h"
#include "platform/win32/dpi.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>

namespace lumivane::win32 {

namespace {
// The first version of the record: everything up to and including the 64
// character tip. Any shell version accepts it.
constexpr platform::TrayRecordForm kNativeForm{static_cast<int>(sizeof(void*)), static_cast<int>(sizeof(wchar_t))};
static_assert(offsetof(NOTIFYICONDATAW, szTip) + sizeof(wchar_t) * 64 == NOTIFYICONDATAW_V1_SIZE);

// The shell forgets the version with the icon, so it is asked for after every
// add; the newest first. Only a shell of Windows Vista or later knows version
// 4, and it reads the whole record; Windows 2000 and XP know version 3 and
// read the record up to uVersion.
int askForVersion(const NOTIFYICONDATAW& added) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = added.hWnd;
    data.uID = added.uID;
    data.uVersion = NOTIFYICON_VERSION_4;
    if (::Shell_NotifyIconW(NIM_SETVERSION, &data)) {
        // Under version 4 the shell shows the tip only for an icon that asks.
        NOTIFYICONDATAW tip{};
        tip.cbSize = sizeof(tip);
        tip.hWnd = added.hWnd;
        tip.uID = added.uID;
        tip.uFlags = NIF_TIP | NIF_SHOWTIP;
        std::memcpy(tip.szTip, added.szTip, sizeof(tip.szTip));
        // A refusal leaves the icon working, only without its tip.
        ::Shell_NotifyIconW(NIM_MODIFY, &tip);
        return kTrayVersionAnchored;
    }
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.uVersion = NOTIFYICON_VERSION;
    if (::Shell_NotifyIconW(NIM_SETVERSION, &data)) return kTrayVersionKeyboard;
    return kTrayVersionFirst;
}
} // namespace

std::optional<RECT> iconRectangle(HWND window, UINT iconId) {
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    // Looked up by name: shells before Windows 7 do not have it.
    static const GetRect getRect =
        systemFunction<GetRect>(::GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconGetRect");
    if (!getRect) return std::nullopt;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = iconId;
    RECT rect{};
    if (FAILED(getRect(&icon, &rect)) || ::IsRectEmpty(&rect)) return std::nullopt;
    return rect;
}

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
    // The first version's record: every shell accepts it.
    if (!::Shell_NotifyIconW(NIM_ADD, &data)) return false;
    version_ = askForVersion(data);
    return true;
}

bool Win32Tray::remove(const platform::TrayRecord& record) {
    NOTIFYICONDATAW data = toNotifyIconData(record);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

bool Win32Tray::modify(const platform::TrayRecord& record) {
    NOTIFYICONDATAW data = toNotifyIconData(record);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32Tray::taskbarExists() const {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

bool Win32Tray::balloon(void* window, std::uint32_t iconId, const std::string& text) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = static_cast<HWND>(window);
    data.uID = iconId;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_WARNING;
    // Both fields are fixed arrays, zeroed: a longer text is cut, leaving its NUL.
    std::wstring wide = widen(text).substr(0, std::size(data.szInfo) - 1);
    std::copy(wide.begin(), wide.end(), data.szInfo);
    std::wstring title = widen(kAppTitle);
    std::copy(title.begin(), title.end(), data.szInfoTitle);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

int Win32Tray::iconSize() const {
    // The taskbar's resolution is that of the monitor it is on; without a
    // taskbar yet, the system's.
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    int dpi = taskbar ? dpiForWindow(taskbar) : dpiForSystem();
    return systemMetricForDpi(SM_CXSMICON, dpi);
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

unsigned Win32Tray::popupAtIcon(void* window, std::uint32_t iconId, std::optional<platform::ScreenPoint> anchor,
                                const std::vector<platform::PopupLine>& lines) {
    HWND hwnd = static_cast<HWND>(window);
    UniqueMenu menu = buildPopupMenu(lines);
    if (!menu) return 0;
    ::SetForegroundWindow(hwnd);
    TPMPARAMS place{};
    place.cbSize = sizeof(place);
    if (std::optional<RECT> icon = iconRectangle(hwnd, iconId)) {
        place.rcExclude = *icon;
    } else {
        POINT at{};
        if (anchor)
            at = {anchor->x, anchor->y};
        else
            ::GetCursorPos(&at);
        place.rcExclude = {at.x, at.y, at.x, at.y};
    }
    // Resting on the icon: above it, or below it where the screen has no room
    // above, and never over it.
    BOOL chosen = ::TrackPopupMenuEx(menu.get(),
                                     TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                     place.rcExclude.left, place.rcExclude.top, hwnd, &place);
    // As after the mouse's popup: lets the next popup close properly.
    ::PostMessageW(hwnd, WM_NULL, 0, 0);
    if (!chosen) {
        // Escape or a click elsewhere: the keyboard goes back to the icon, where
        // the user left the notification area. Shells without this refuse it.
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hwnd;
        data.uID = iconId;
        ::Shell_NotifyIconW(NIM_SETFOCUS, &data);
    }
    return static_cast<unsigned>(chosen);
}

} // namespace lumivane::win32
