#include "shell/popup_menu.h"

#include "actions/cd_drives.h"

#include <algorithm>

namespace lumivane {

PopupMenu::PopupMenu() {
    auto add = [this](std::string name, int index, unsigned id, std::string caption,
                      std::optional<Action> action = std::nullopt) {
        items_.push_back(MenuItem{std::move(name), index, id, std::move(caption), true, true, action});
    };
    add("cdHeading", -1, menu_id::kCdHeading, "- CD Drives");
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

bool PopupMenu::setCdDrives(std::vector<char> letters) {
    letters.erase(std::remove_if(letters.begin(), letters.end(), [](char c) { return c < 'A' || c > 'Z'; }),
                  letters.end());
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    if (letters == cdLetters_) return false;
    items_.erase(std::remove_if(items_.begin(), items_.end(), [](const MenuItem& item) { return item.name == "cdDoor"; }),
                 items_.end());
    std::vector<MenuItem> doors;
    int index = 0;
    for (char letter : letters)
        for (bool open : {true, false})
            doors.push_back(MenuItem{"cdDoor", ++index, menu_id::cdDoor(letter, open),
                                     open ? cd_drives::openCaption(letter) : cd_drives::closeCaption(letter), true, true,
                                     CdDoor{letter, open}});
    auto heading = std::find_if(items_.begin(), items_.end(), [](const MenuItem& item) { return item.name == "cdHeading"; });
    items_.insert(heading + 1, doors.begin(), doors.end());
    cdLetters_ = std::move(letters);
    return true;
}

bool isHeadingCaption(std::string_view caption) {
    return caption.size() >= 2 && caption[0] == '-' && caption[1] == ' ';
}

bool isSeparatorCaption(std::string_view caption) {
    return caption == "-";
}

} // namespace lumivane
