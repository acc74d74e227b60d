#include "actions/turn_monitor_off.h"

#include "actions/windows_version.h"

namespace lumivane::turn_monitor_off {

void turnMonitorOff(platform::DesktopWindow& desktop) {
    desktop.sendSysCommand(platform::kScMonitorPower, platform::kMonitorOff);
}

void turnMonitorOffCommand(platform::OsVersionSource& version, platform::DesktopWindow& desktop,
                           CoverOpener& cover) {
    std::string text = windows_version::windowsVersion(version);
    if (text == "Windows XP" || text == "Windows 2000") {
        turnMonitorOff(desktop);
        return;
    }
    cover.show();
}

} // namespace lumivane::turn_monitor_off
