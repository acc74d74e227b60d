#include "shell/frm_folder_browse.h"

namespace lumivane {

namespace {

// The part behind the last backslash, cut to 20 characters and three points
// when it is 20 or longer; texts under 4 characters stay whole.
std::string shortCaption(const std::string& path) {
    if (path.size() < 4) return path;
    size_t slash = path.rfind('\\');
    std::string tail = slash == std::string::npos ? path : path.substr(slash + 1);
    return tail.size() >= 20 ? tail.substr(0, 20) + "..." : tail;
}

} // namespace

void frmFolderBrowse::InitMenu() {
    int number = 1;
    for (int k = 0; k < kFolderSlotCount; ++k) {
        MenuItem& item = mnuPopup.folder(k);
        std::string path = host_.slotText(k);
        item.enabled = item.visible = !path.empty();
        if (path.empty()) continue;
        item.caption = std::to_string(number++) + ". " + shortCaption(path);
    }
}

} // namespace lumivane
