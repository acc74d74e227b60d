#include "folders/settings_file.h"
#include "shell/frm_folder_browse.h"

namespace lumivane {

void frmFolderBrowse::cmdBrowse_Click(int index) {
    std::string path = os_.folderPicker.BrowseForFolder(host_.hWnd());
    // A cancelled picker must not cost the user the path the row held.
    if (!path.empty()) host_.setSlotText(index, path);
}

void frmFolderBrowse::cmdClear_Click(int index) {
    host_.setSlotText(index, "");
}

void frmFolderBrowse::cmdOK_Click() {
    if (!modINI::SaveFolders(SettingsPath, host_, os_.files, os_.codec)) {
        // The edits exist only in the boxes: keep the dialog open so they are not lost.
        os_.boxes.show("The folders could not be saved to " + SettingsPath +
                           ".\n\nThe folder may be read-only, or another program may be using the file.",
                       kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
        return;
    }
    host_.setVisible(false);
    InitMenu();
}

void frmFolderBrowse::cmdCancel_Click() {
    host_.setVisible(false);
    modINI::LoadFolders(SettingsPath, host_, os_.files, os_.codec);
}

} // namespace lumivane
