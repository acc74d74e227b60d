#include "actions/screen_saver.h"

#include <string>

namespace lumivane::screen_saver {

bool isScreenSaverActive(platform::DesktopWindow& desktop) {
    return desktop.screenSaveActiveValue() == 1;
}

void runScreenSaver(platform::DesktopWindow& desktop) {
    desktop.sendSysCommand(platform::kScScreenSave, 0);
}

void runScreenSaverCommand(platform::DesktopWindow& desktop, platform::MessageBoxes& boxes,
                           platform::Processes& processes) {
    if (isScreenSaverActive(desktop)) {
        runScreenSaver(desktop);
        return;
    }
    boxes.show("No Screen Saver is selected.", "Lumivane", platform::kMbOk);
    processes.start(std::string(kDisplaySettingsCommand), kSwShowMinimized);
}

} // namespace lumivane::screen_saver
