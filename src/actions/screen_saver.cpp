#include "actions/screen_saver.h"

#include <string>

namespace lumivane::screen_saver {

bool isScreenSaverActive(platform::DesktopWindow& desktop) {
    return desktop.screenSaveActiveValue() == 1;
}

bool isScreenSaverSelected(platform::DesktopWindow& desktop, platform::Registry& registry,
                           platform::FileSystem& files) {
    if (!isScreenSaverActive(desktop)) return false;
    const auto user = platform::RegistryRoot::CurrentUser;
    std::string program = platform::stringValue(registry, user, kPolicyDesktopKey, kScreenSaverValue);
    if (program.empty()) program = platform::stringValue(registry, user, kDesktopKey, kScreenSaverValue);
    return !program.empty() && files.fileExists(program);
}

void runScreenSaver(platform::DesktopWindow& desktop) {
    desktop.sendSysCommand(platform::kScScreenSave, 0);
}

void runScreenSaverCommand(const ScreenSaverServices& os) {
    if (isScreenSaverSelected(os.desktop, os.registry, os.files)) {
        runScreenSaver(os.desktop);
        return;
    }
    os.boxes.show("No Screen Saver is selected.", "Lumivane", platform::kMbOk);
    os.processes.start(std::string(kDisplaySettingsCommand), kSwShowMinimized);
}

} // namespace lumivane::screen_saver
