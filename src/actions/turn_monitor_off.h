#pragma once
#include "actions/cover_window.h"
#include "platform/desktop.h"
#include "platform/system_info.h"

// The display's power-off.
namespace lumivane::turn_monitor_off {

// Power-off sent straight to the desktop window; nothing wakes it but the system.
void turnMonitorOff(platform::DesktopWindow& desktop);

// "Turn Monitor Off": straight to the desktop on Windows XP and 2000, through
// the cover window on every other version.
void turnMonitorOffCommand(platform::OsVersionSource& version, platform::DesktopWindow& desktop,
                           CoverOpener& cover);

} // namespace lumivane::turn_monitor_off
