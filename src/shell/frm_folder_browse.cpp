#include "shell/frm_folder_browse.h"

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
    SettingsPath = SettingsPathFor(os_.exeDirectory);
    if (!modINI::LoadFolders(SettingsPath, host_, os_.files, os_.codec)) {
        os_.boxes.show("The folders could not be read from " + SettingsPath +
                           ".\n\nAnother program may be using the file. The folders shown are not the saved ones; "
                           "saving them would replace the file.",
                       kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
    }
    InitMenu();
    SetTrayIcon();
    // From here on the engine measures and draws the popup each time it opens;
    // marks are drawn as glyphs, not as system check boxes.
    os_.menuEngine.AttachCoolMenu(host_.hWnd(), true, &HelpObj, &ilsMenu);
    os_.menuEngine.CoolMenuComplexChecks(host_.hWnd(), false);
    host_.setVisible(false);
}

void frmFolderBrowse::onMenuCommand(unsigned id) {
    switch (id) {
    case menu_id::kCustomize: mnuCustomize_Click(); break;
    case menu_id::kExit: mnuExit_Click(); break;
    default:
        // Headings, separators and a dismissed popup (0) run nothing.
        break;
    }
}

} // namespace lumivane
