#include "actions/turn_monitor_off.h"

#include "actions/windows_version.h"

namespace lumivane::modTurnMonitorOff {

void TurnMonitorOff(platform::DesktopWindow& desktop) {
    desktop.sendSysCommand(platform::kScMonitorPower, platform::kMonitorOff);
}

void TurnMonitorOffCommand(platform::OsVersionSource& version, platform::DesktopWindow& desktop,
                           TurnMonOffForm& cover) {
    std::string text = modWinVer::GetWinVersion(version);
    if (text == "Windows XP" || text == "Windows 2000") {
        TurnMonitorOff(desktop);
        return;
    }
    cover.Show();
}

} // namespace lumivane::modTurnMonitorOff
