#include "folders/open_folder.h"

namespace lumivane {

std::string explorerCommandLine(const std::string& path) {
    // The file manager splits its command line at commas (its switches are
    // written "/root,C:\"), so "C:\a,b" would open C:\a; quoted, the path
    // stays whole. Blanks need no quotes: the rest of the line is the path.
    if (path.find(',') != std::string::npos) return "Explorer \"" + path + "\"";
    return "Explorer " + path;
}

std::string nearestExistingFolder(const std::string& path, platform::FileSystem& files) {
    constexpr const char* kSeparators = "\\/";
    std::string folder = path;
    while (!folder.empty() && !files.folderExists(folder)) {
        // Up one level: C:\A\B\ and C:\A\B give C:\A, and C:\A gives C:\ (the root).
        size_t end = folder.find_last_not_of(kSeparators);
        size_t cut = end == std::string::npos ? end : folder.find_last_of(kSeparators, end);
        // A drive's root, a share (\\server\share) and a bare name have nothing above them.
        size_t first = folder.find_first_not_of(kSeparators);
        bool share = first == 2 && folder.find_first_of(kSeparators, 2) >= cut;
        if (cut == std::string::npos || first >= cut || share) return {};
        // "C:" alone would be the drive's current folder, not its root.
        folder.resize(cut == 2 && folder[1] == ':' ? cut + 1 : cut);
    }
    return folder;
}

void openOrSayMissing(const std::string& path, bool exists, platform::Processes& processes,
                      platform::MessageBoxes& boxes) {
    if (exists) {
        processes.start(explorerCommandLine(path), kSwShowNormal);
        return;
    }
    boxes.show("Folder Does Not Exist", "Lumivane", platform::kMbOk | platform::kMbIconStop);
}

} // namespace lumivane
