#include "folders/open_folder.h"

#include <string_view>

namespace lumivane {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// The folder above this one: C:\A\B gives C:\A, and C:\A gives C:\ (the root).
// A drive's root, a share (\\server\share) and a bare name have none.
std::string parentFolder(std::string_view path) {
    size_t end = path.find_last_not_of("\\/");
    size_t cut = end == std::string_view::npos ? end : path.find_last_of("\\/", end);
    if (cut == std::string_view::npos) return {};
    std::string_view parent = path.substr(0, cut);
    if (parent.find_first_not_of("\\/") == std::string_view::npos) return {};
    bool share = parent.size() > 2 && isSeparator(parent[0]) && isSeparator(parent[1]);
    if (share && parent.find_first_of("\\/", 2) == std::string_view::npos) return {};
    // "C:" alone would be the drive's current folder, not its root.
    if (parent.size() == 2 && parent[1] == ':') return std::string(parent) + '\\';
    return std::string(parent);
}

} // namespace

std::string explorerCommandLine(const std::string& path) {
    // The file manager splits its command line at commas (its switches are
    // written "/root,C:\"), so "C:\a,b" would open C:\a; quoted, the path
    // stays whole. Blanks need no quotes: the rest of the line is the path.
    if (path.find(',') != std::string::npos) return "Explorer \"" + path + "\"";
    return "Explorer " + path;
}

std::string nearestExistingFolder(const std::string& path, platform::FileSystem& files) {
    for (std::string folder = path; !folder.empty(); folder = parentFolder(folder))
        if (files.folderExists(folder)) return folder;
    return {};
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
