#pragma once
#include "platform/tray.h"
#include "platform/win32/unique.h"

#include <windows.h>
#include <shellapi.h>

namespace lumivane::win32 {

// A popup menu holding the lines in order: text lines with their ids and
// enabled state, separators as true separators.
UniqueMenu buildPopupMenu(const std::vector<platform::PopupLine>& lines);

// The record as Shell_NotifyIconW takes it, in its first version.
NOTIFYICONDATAW toNotifyIconData(const platform::TrayRecord& record);

// The notification version the icon was last given: 4 (keyboard notifications,
// the event in the low word of lParam and its point in wParam), 3 (keyboard
// notifications, lParam the event itself), or 0 when the shell knows only the
// first version (mouse messages alone).
inline constexpr int kTrayVersionFirst = 0;
inline constexpr int kTrayVersionKeyboard = NOTIFYICON_VERSION;
inline constexpr int kTrayVersionAnchored = NOTIFYICON_VERSION_4;

class Win32Tray final : public platform::Tray {
public:
    bool add(const platform::TrayRecord& record) override;
    bool remove(const platform::TrayRecord& record) override;
    bool modify(const platform::TrayRecord& record) override;
    bool taskbarExists() const override;
    bool balloon(void* window, std::uint32_t iconId, const std::string& text) override;
    int iconSize() const override;
    unsigned popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) override;
    unsigned popupAtIcon(void* window, std::uint32_t iconId, std::optional<platform::ScreenPoint> anchor,
                         const std::vector<platform::PopupLine>& lines) override;

    // The version the shell accepted at the last add.
    int version() const { return version_; }

private:
    int version_ = kTrayVersionFirst;
};

// The icon's rectangle on the screen, where the shell can tell it (Windows 7
// and later); empty otherwise.
std::optional<RECT> iconRectangle(HWND window, UINT iconId);

} // namespace lumivane::win32
