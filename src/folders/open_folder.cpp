#include "folders/open_folder.h"

namespace lumivane {

std::string explorerCommandLine(const std::string& path) {
    // The file manager splits its command line at commas (its switches are
    // written "/root,C:\"), so "C:\a,b" would open C:\a; quoted, the path
    // stays whole. Blanks need no quotes: the rest of the line is the path.
    if (path.find(',') != std::string::npos) return "Explorer \"" + path + "\"";
    return "Explorer " + path;
}

void openFolderSlot(int slot, const FolderSlots& slots, platform::FileSystem& files,
                    platform::Processes& processes, platform::MessageBoxes& boxes) {
    std::string path = slots.slotText(slot);
    if (files.folderExists(path)) {
        processes.start(explorerCommandLine(path), kSwShowNormal);
        return;
    }
    boxes.show("Folder Does Not Exist", "Lumivane", platform::kMbOk | platform::kMbIconStop);
}

} // namespace lumivane
