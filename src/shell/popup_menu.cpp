#include "shell/popup_menu.h"

namespace lumivane {

PopupMenu::PopupMenu() {
    auto add = [this](std::string name, int index, unsigned id, std::string caption) {
        items_.push_back(MenuItem{std::move(name), index, id, std::move(caption)});
    };
    add("mnuCDEject", 0, menu_id::kCDEjectBase, "- CD Drives");
    add("zmnuSep2", -1, menu_id::kSep2, "- F o l d e r s ");
    for (int k = 0; k < 10; ++k)
        add("mnuFolder" + std::to_string(k), -1, menu_id::kFolderBase + static_cast<unsigned>(k), "");
    add("zmnuSep1", -1, menu_id::kSep1, "- L u m i v a n e");
    add("mnuRunScr", -1, menu_id::kRunScr, "Run Screen Saver");
    add("mnuTurnMonOff", -1, menu_id::kTurnMonOff, "Turn Monitor Off");
    add("zmnuSep4", -1, menu_id::kSep4, "- O p t i o n s ");
    add("mnuRunAtStartUp", -1, menu_id::kRunAtStartUp, "");
    add("mnuCustomize", -1, menu_id::kCustomize, "Customize");
    add("mnuAbout", -1, menu_id::kAbout, "About");
    add("zmnuSep3", -1, menu_id::kSep3, "-");
    add("mnuExit", -1, menu_id::kExit, "Exit");
}

MenuItem* PopupMenu::find(std::string_view name, int index) {
    for (auto& item : items_)
        if (item.name == name && item.index == index) return &item;
    return nullptr;
}

const MenuItem* PopupMenu::find(std::string_view name, int index) const {
    return const_cast<PopupMenu*>(this)->find(name, index);
}

MenuItem* PopupMenu::byId(unsigned id) {
    for (auto& item : items_)
        if (item.id == id) return &item;
    return nullptr;
}

const MenuItem* PopupMenu::byId(unsigned id) const {
    return const_cast<PopupMenu*>(this)->byId(id);
}

MenuItem& PopupMenu::folder(int slot) {
    return *find("mnuFolder" + std::to_string(slot));
}

int PopupMenu::highestCDEjectIndex() const {
    int highest = -1;
    for (const auto& item : items_)
        if (item.name == "mnuCDEject" && item.index > highest) highest = item.index;
    return highest;
}

int PopupMenu::loadCDEject(const std::string& caption) {
    int index = highestCDEjectIndex() + 1;
    auto last = items_.begin();
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->name == "mnuCDEject") last = it;
    items_.insert(last + 1, MenuItem{"mnuCDEject", index, menu_id::kCDEjectBase + static_cast<unsigned>(index), caption});
    return index;
}

bool isHeadingCaption(std::string_view caption) {
    return caption.size() >= 2 && caption[0] == '-' && caption[1] == ' ';
}

bool isSeparatorCaption(std::string_view caption) {
    return caption == "-";
}

} // namespace lumivane
