#include "shell/popup_lines.h"

namespace lumivane {

std::vector<platform::PopupLine> visibleLines(const PopupMenu& menu) {
    std::vector<platform::PopupLine> lines;
    for (const MenuItem& item : menu.items()) {
        if (!item.visible) continue;
        platform::PopupLine line;
        line.id = item.id;
        line.text = item.caption;
        line.separator = isSeparatorCaption(item.caption);
        line.enabled = item.enabled;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace lumivane
