#include "shell/hub.h"

#include "actions/cd_drives.h"
#include "actions/screen_saver.h"
#include "actions/turn_monitor_off.h"
#include "folders/settings_file.h"

namespace lumivane {

std::string settingsPathFor(const std::string& exeDirectory) {
    return exeDirectory + "\\" + std::string(settings_file::kFileName);
}

void Hub::start() {
    readStartWithWindows();
    updateStartWithWindowsCaption();
    const auto location = settings_file::settingsFileLocation(settingsPathFor(os_.exeDirectory), os_.files);
    settings_file::makePerUserFile(location, os_.files);
    settingsPath = location.path;
    keepsSettingsFile_ = true;
    if (!settings_file::loadFolders(settingsPath, host_, os_.files, os_.codec)) sayFoldersUnreadable();
    rememberSavedFolders();
    updateFolderItems();
    addTrayIcon();
    loadShortcutKey(true);
    attachMenuEngine();
    host_.setVisible(false);
}

void Hub::attachMenuEngine() {
    // From here on the engine measures and draws the popup each time it opens;
    // marks are drawn as glyphs, not as system check boxes.
    os_.menuEngine.attach(host_.windowHandle(), true, &menuHelp, &menuImages);
    os_.menuEngine.setComplexChecks(host_.windowHandle(), false);
    menuReady_ = true;
}

void Hub::sayFoldersUnreadable() {
    os_.boxes.show("The folders could not be read from " + settingsPath +
                       ".\n\nAnother program may be using the file. The folders shown are not the saved ones; "
                       "saving them would replace the file.",
                   kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
}

void Hub::prepareForCommand(const std::string& path, const std::optional<FolderList>& folders) {
    settingsPath = path;
    if (folders) {
        for (int k = 0; k < kFolderSlotCount; ++k) host_.setSlotText(k, (*folders)[static_cast<size_t>(k)]);
    } else {
        // The rows stay empty rather than showing the default list as the user's.
        sayFoldersUnreadable();
    }
    rememberSavedFolders();
}

void Hub::onMenuCommand(unsigned id) {
    // Headings, separators and a dismissed popup (0) run nothing.
    if (const MenuItem* item = popupMenu.byId(id); item && item->action) run(*item->action);
}

void Hub::run(const Action& action) {
    std::visit(Overloaded{
                   [&](const OpenFolder& folder) { openFolder(folder.slot); },
                   [&](const CdDoor& door) { moveCdDoor(door); },
                   [&](const SetStartWithWindows& startup) { setStartWithWindows(startup.on); },
                   [&](const SwitchStartWithWindows&) { onStartWithWindows(); },
                   [&](const RunScreenSaver&) { onRunScreenSaver(); },
                   [&](const TurnMonitorOff&) { onTurnMonitorOff(); },
                   [&](const Customize&) { onCustomize(); },
                   [&](const About&) { onAbout(); },
                   [&](const Exit&) { onExit(); },
                   [&](const OpenMenu&) { openMenu(MenuPlacement::atPointer); },
               },
               action);
}

void Hub::refreshCdDriveItems() {
    // Asked at every opening: a drive plugged in or a disc image mounted since
    // the last one has its items, a drive gone has none. Naming the drives and
    // their types touches no disc, but each type costs the opening time: they
    // are all asked only when the letters in use changed (a new drive brings
    // its letter) or the system said a device came or went, and otherwise
    // only those of the CD drives shown, whose letter may stay when they go.
    std::vector<std::string> roots = cd_drives::logicalDrives(os_.drives);
    const bool lettersChanged = roots != driveRoots_ || devicesChanged_;
    devicesChanged_ = false;
    driveRoots_ = roots;
    std::vector<char> letters;
    std::vector<std::string> cdRoots;
    for (const auto& root : lettersChanged ? roots : cdRoots_) {
        if (os_.drives.driveType(root) != platform::kDriveCdRom) continue;
        cdRoots.push_back(root);
        letters.push_back(cd_drives::driveLetter(root));
    }
    cdRoots_ = std::move(cdRoots);
    popupMenu.setCdDrives(std::move(letters));
}

void Hub::onRunScreenSaver() {
    screen_saver::runScreenSaverCommand({os_.desktop, os_.registry, os_.files, os_.boxes, os_.processes});
}

void Hub::onTurnMonitorOff() {
    turn_monitor_off::turnMonitorOffCommand(os_.osVersion, os_.desktop, os_.cover);
}

void Hub::onAbout() {
    os_.aboutBox.show(aboutCount);
}

} // namespace lumivane
