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

class Win32Tray final : public platform::Tray {
public:
    bool add(const platform::TrayRecord& record) override;
    bool remove(const platform::TrayRecord& record) override;
    unsigned popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) override;
};

} // namespace lumivane::win32
