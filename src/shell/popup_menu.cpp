#include "shell/popup_menu.h"

namespace lumivane {

PopupMenu::PopupMenu() {
    auto add = [this](std::string name, int index, unsigned id, std::string caption,
                      std::optional<Action> action = std::nullopt) {
        items_.push_back(MenuItem{std::move(name), index, id, std::move(caption), true, true, action});
    };
    add("cdDoor", 0, menu_id::kCdDoorBase, "- CD Drives");
    add("foldersHeading", -1, menu_id::kFoldersHeading, "- F o l d e r s ");
    for (int k = 0; k < 10; ++k)
        add("folder" + std::to_string(k), -1, menu_id::kFolderBase + static_cast<unsigned>(k), "", OpenFolder{k});
    add("programHeading", -1, menu_id::kProgramHeading, "- L u m i v a n e");
    add("runScreenSaver", -1, menu_id::kRunScreenSaver, "Run Screen Saver", RunScreenSaver{});
    add("turnMonitorOff", -1, menu_id::kTurnMonitorOff, "Turn Monitor Off", TurnMonitorOff{});
    add("optionsHeading", -1, menu_id::kOptionsHeading, "- O p t i o n s ");
    add("startWithWindows", -1, menu_id::kStartWithWindows, "", SwitchStartWithWindows{});
    add("customize", -1, menu_id::kCustomize, "Customize", Customize{});
    add("about", -1, menu_id::kAbout, "About", About{});
    add("exitSeparator", -1, menu_id::kExitSeparator, "-");
    add("exit", -1, menu_id::kExit, "Exit", Exit{});
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
    return *find("folder" + std::to_string(slot));
}

int PopupMenu::highestCdDoorIndex() const {
    int highest = -1;
    for (const auto& item : items_)
        if (item.name == "cdDoor" && item.index > highest) highest = item.index;
    return highest;
}

int PopupMenu::addCdDoorItem(const std::string& caption, CdDoor door) {
    int index = highestCdDoorIndex() + 1;
    auto last = items_.begin();
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->name == "cdDoor") last = it;
    items_.insert(last + 1,
                  MenuItem{"cdDoor", index, menu_id::kCdDoorBase + static_cast<unsigned>(index), caption, true, true, door});
    return index;
}

bool isHeadingCaption(std::string_view caption) {
    return caption.size() >= 2 && caption[0] == '-' && caption[1] == ' ';
}

bool isSeparatorCaption(std::string_view caption) {
    return caption == "-";
}

} // namespace lumivane
