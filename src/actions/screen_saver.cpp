#include "actions/screen_saver.h"

#include <string>

namespace lumivane::modSS {

bool IsScreenSaverActive(platform::DesktopWindow& desktop) {
    return desktop.screenSaveActiveValue() == 1;
}

void RunScreenSaver(platform::DesktopWindow& desktop) {
    desktop.sendSysCommand(platform::kScScreenSave, 0);
}

void RunScreenSaverCommand(platform::DesktopWindow& desktop, platform::MessageBoxes& boxes,
                           platform::Processes& processes) {
    if (IsScreenSaverActive(desktop)) {
        RunScreenSaver(desktop);
        return;
    }
    boxes.show("No Screen Saver is selected.", "Lumivane", platform::kMbOk);
    processes.start(std::string(kDisplaySettingsCommand), kSwShowMinimized);
}

} // namespace lumivane::modSS
