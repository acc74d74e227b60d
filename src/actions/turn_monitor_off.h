#pragma once
#include "actions/cover_window.h"
#include "platform/desktop.h"
#include "platform/system_info.h"

// modTurnMonitorOff: the display's power-off.
namespace lumivane::modTurnMonitorOff {

// Power-off sent straight to the desktop window; nothing wakes it but the system.
void TurnMonitorOff(platform::DesktopWindow& desktop);

// "Turn Monitor Off": straight to the desktop on Windows XP and 2000, through
// the cover window on every other version.
void TurnMonitorOffCommand(platform::OsVersionSource& version, platform::DesktopWindow& desktop,
                           TurnMonOffForm& cover);

} // namespace lumivane::modTurnMonitorOff
