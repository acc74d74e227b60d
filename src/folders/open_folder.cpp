#include "folders/open_folder.h"

namespace lumivane {

std::string ExplorerCommandLine(const std::string& path) {
    return "Explorer " + path;
}

void OpenFolderSlot(int slot, const FolderSlots& slots, platform::FileSystem& files,
                    platform::Processes& processes, platform::MessageBoxes& boxes) {
    std::string path = slots.slotText(slot);
    if (files.folderExists(path)) {
        processes.start(ExplorerCommandLine(path), kSwShowNormal);
        return;
    }
    boxes.show("Folder Does Not Exist", "Lumivane", platform::kMbOk | platform::kMbIconStop);
}

} // namespace lumivane
