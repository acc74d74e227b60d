#include "shell/hub.h"

#include "actions/cd_drives.h"
#include "actions/screen_saver.h"
#include "actions/turn_monitor_off.h"
#include "folders/open_folder.h"
#include "folders/settings_file.h"

namespace lumivane {

std::string settingsPathFor(const std::string& exeDirectory) {
    return exeDirectory + "\\" + std::string(settings_file::kFileName);
}

void Hub::start() {
    if (os_.instance.anotherInstanceRunning()) {
        // Nothing else of the start-up runs: no file, no registry, no tray icon.
        os_.boxes.show("Already running", kAppTitle, platform::kMbOk | platform::kMbIconStop);
        host_.unload();
        return;
    }
    readStartWithWindows();
    addCdDriveItems();
    updateStartWithWindowsCaption();
    const auto location = settings_file::settingsFileLocation(settingsPathFor(os_.exeDirectory), os_.files);
    settings_file::makePerUserFile(location, os_.files);
    settingsPath = location.path;
    if (!settings_file::loadFolders(settingsPath, host_, os_.files, os_.codec)) {
        os_.boxes.show("The folders could not be read from " + settingsPath +
                           ".\n\nAnother program may be using the file. The folders shown are not the saved ones; "
                           "saving them would replace the file.",
                       kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
    }
    rememberSavedFolders();
    updateFolderItems();
    addTrayIcon();
    // From here on the engine measures and draws the popup each time it opens;
    // marks are drawn as glyphs, not as system check boxes.
    os_.menuEngine.attach(host_.windowHandle(), true, &menuHelp, &menuImages);
    os_.menuEngine.setComplexChecks(host_.windowHandle(), false);
    host_.setVisible(false);
}

void Hub::onMenuCommand(unsigned id) {
    if (id >= menu_id::kCdDoorBase && id <= menu_id::kCdDoorLast) {
        onCdDoor(static_cast<int>(id - menu_id::kCdDoorBase));
        return;
    }
    if (id >= menu_id::kFolderBase && id < menu_id::kFolderBase + kFolderSlotCount) {
        onFolder(static_cast<int>(id - menu_id::kFolderBase));
        return;
    }
    switch (id) {
    case menu_id::kStartWithWindows: onStartWithWindows(); break;
    case menu_id::kCustomize: onCustomize(); break;
    case menu_id::kAbout: onAbout(); break;
    case menu_id::kExit: onExit(); break;
    case menu_id::kRunScreenSaver: onRunScreenSaver(); break;
    case menu_id::kTurnMonitorOff: onTurnMonitorOff(); break;
    default:
        // Headings, separators and a dismissed popup (0) run nothing.
        break;
    }
}

void Hub::addCdDriveItems() {
    for (const auto& root : cd_drives::cdDrives(cd_drives::logicalDrives(os_.drives), os_.drives)) {
        popupMenu.addCdDoorItem(cd_drives::openCaption(root));
        popupMenu.addCdDoorItem(cd_drives::closeCaption(root));
    }
}

void Hub::onCdDoor(int index) {
    if (index <= 0) return;
    if (const MenuItem* item = popupMenu.find("cdDoor", index))
        cd_drives::doorCommandFromCaption(item->caption, os_.mci);
}

void Hub::onFolder(int slot) {
    openFolderSlot(slot, host_, os_.files, os_.processes, os_.boxes);
}

void Hub::onRunScreenSaver() {
    screen_saver::runScreenSaverCommand(os_.desktop, os_.boxes, os_.processes);
}

void Hub::onTurnMonitorOff() {
    turn_monitor_off::turnMonitorOffCommand(os_.osVersion, os_.desktop, os_.cover);
}

void Hub::onAbout() {
    os_.aboutBox.show(aboutCount);
}

} // namespace lumivane
