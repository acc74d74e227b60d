// The customize dialog's buttons (Browse and Clear on a row, OK and Cancel) and
// what is dropped on it. Browse's wait for the walk up is in hub_background.cpp.
#include "folders/folder_dialog_layout.h"
#include "folders/settings_file.h"
#include "shell/hub.h"

namespace lumivane {

void Hub::showPicker(int row, const std::string& start) {
    // Cancel or OK closed the dialog meanwhile: no picker over a hidden window.
    if (!host_.isVisible()) return;
    std::string path = os_.folderPicker.browseForFolder(host_.windowHandle(), start);
    // A cancelled picker must not cost the user the path the row held.
    if (!path.empty()) host_.setSlotText(row, path);
}

void Hub::onDrop(std::optional<int> row, const std::vector<std::string>& paths) {
    folder_dialog::dropInto(host_, row, paths);
}

void Hub::onClear(int row) {
    host_.setSlotText(row, "");
}

void Hub::onOk() {
    // A refused key keeps the dialog open with nothing saved, the reason beside the box.
    if (!applyShortcutKey()) return;
    FolderList shown;
    for (int k = 0; k < kFolderSlotCount; ++k) shown[static_cast<size_t>(k)] = host_.slotText(k);
    // A command's dialog may come before any start made the user's own copy:
    // its folder is then made with the first save.
    if (!keepsSettingsFile_) settings_file::makeFolderFor(settingsPath, os_.files);
    if (!settings_file::saveFolders(settingsPath, shown, os_.files, os_.codec)) {
        // The edits exist only in the boxes: keep the dialog open so they are not lost.
        os_.boxes.show("The folders could not be saved to " + settingsPath +
                           ".\n\nThe folder may be read-only, or another program may be using the file.",
                       kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
        return;
    }
    savedFolders_ = shown;
    host_.setVisible(false);
    updateFolderItems();
}

void Hub::onCancel() {
    host_.setVisible(false);
    bool existed = settings_file::settingsFileExists(settingsPath, os_.files);
    if (existed && settings_file::loadFolders(settingsPath, host_, os_.files, os_.codec)) {
        rememberSavedFolders();
        return;
    }
    // Deleted while the program ran, or held by another program: reloading
    // would put the default list in the boxes (and on disk). The folders last
    // read or saved go back instead, and a deleted file is written anew.
    for (int k = 0; k < kFolderSlotCount; ++k) host_.setSlotText(k, savedFolders_[static_cast<size_t>(k)]);
    if (!existed && keepsSettingsFile_) settings_file::saveFolders(settingsPath, host_, os_.files, os_.codec);
}

void Hub::rememberSavedFolders() {
    for (int k = 0; k < kFolderSlotCount; ++k) savedFolders_[static_cast<size_t>(k)] = host_.slotText(k);
}

} // namespace lumivane
