#include "shell/hub.h"

#include "actions/cd_drives.h"
#include "actions/screen_saver.h"
#include "actions/turn_monitor_off.h"
#include "folders/open_folder.h"
#include "folders/settings_file.h"

namespace lumivane {

std::string SettingsPathFor(const std::string& exeDirectory) {
    return exeDirectory + "\\" + std::string(modINI::kFileName);
}

void frmFolderBrowse::Form_Load() {
    if (os_.instance.anotherInstanceRunning()) {
        // Nothing else of the start-up runs: no file, no registry, no tray icon.
        os_.boxes.show("Already running", kAppTitle, platform::kMbOk | platform::kMbIconStop);
        host_.unload();
        return;
    }
    LoadSettings();
    LoadCDDriveItems();
    UpdateStartupCaption();
    SettingsPath = SettingsPathFor(os_.exeDirectory);
    if (!modINI::LoadFolders(SettingsPath, host_, os_.files, os_.codec)) {
        os_.boxes.show("The folders could not be read from " + SettingsPath +
                           ".\n\nAnother program may be using the file. The folders shown are not the saved ones; "
                           "saving them would replace the file.",
                       kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
    }
    rememberSavedFolders();
    InitMenu();
    SetTrayIcon();
    // From here on the engine measures and draws the popup each time it opens;
    // marks are drawn as glyphs, not as system check boxes.
    os_.menuEngine.AttachCoolMenu(host_.hWnd(), true, &HelpObj, &ilsMenu);
    os_.menuEngine.CoolMenuComplexChecks(host_.hWnd(), false);
    host_.setVisible(false);
}

void frmFolderBrowse::onMenuCommand(unsigned id) {
    if (id >= menu_id::kCDEjectBase && id <= menu_id::kCDEjectLast) {
        mnuCDEject_Click(static_cast<int>(id - menu_id::kCDEjectBase));
        return;
    }
    if (id >= menu_id::kFolderBase && id < menu_id::kFolderBase + kFolderSlotCount) {
        mnuFolder_Click(static_cast<int>(id - menu_id::kFolderBase));
        return;
    }
    switch (id) {
    case menu_id::kRunAtStartUp: mnuRunAtStartUp_Click(); break;
    case menu_id::kCustomize: mnuCustomize_Click(); break;
    case menu_id::kAbout: mnuAbout_Click(); break;
    case menu_id::kExit: mnuExit_Click(); break;
    case menu_id::kRunScr: mnuRunScr_Click(); break;
    case menu_id::kTurnMonOff: mnuTurnMonOff_Click(); break;
    default:
        // Headings, separators and a dismissed popup (0) run nothing.
        break;
    }
}

void frmFolderBrowse::LoadCDDriveItems() {
    for (const auto& root : modMain::GetCDDrives(modMain::GetDriveList(os_.drives), os_.drives)) {
        mnuPopup.loadCDEject(modMain::OpenCaption(root));
        mnuPopup.loadCDEject(modMain::CloseCaption(root));
    }
}

void frmFolderBrowse::mnuCDEject_Click(int index) {
    if (index <= 0) return;
    if (const MenuItem* item = mnuPopup.find("mnuCDEject", index))
        modMain::DoorCommandFromCaption(item->caption, os_.mci);
}

void frmFolderBrowse::mnuFolder_Click(int slot) {
    OpenFolderSlot(slot, host_, os_.files, os_.processes, os_.boxes);
}

void frmFolderBrowse::mnuRunScr_Click() {
    modSS::RunScreenSaverCommand(os_.desktop, os_.boxes, os_.processes);
}

void frmFolderBrowse::mnuTurnMonOff_Click() {
    modTurnMonitorOff::TurnMonitorOffCommand(os_.osVersion, os_.desktop, os_.turnMonOff);
}

void frmFolderBrowse::mnuAbout_Click() {
    os_.aboutBox.show(AboutCount);
}

} // namespace lumivane
