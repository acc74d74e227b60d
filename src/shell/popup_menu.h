#pragma once
#include "shell/action.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// Command identifiers of the popup's items. They never start at 0, because a
// dismissed popup reports 0.
namespace menu_id {
inline constexpr unsigned kCdHeading = 1000;
inline constexpr unsigned kCdDoorBase = 1001;  // + cdDoor(letter, open)'s offset, below kFolderBase
inline constexpr unsigned kFolderBase = 1100;  // + slot
inline constexpr unsigned kRunScreenSaver = 1200;
inline constexpr unsigned kTurnMonitorOff = 1201;
inline constexpr unsigned kStartWithWindows = 1202;
inline constexpr unsigned kCustomize = 1203;
inline constexpr unsigned kAbout = 1204;
inline constexpr unsigned kExit = 1205;
inline constexpr unsigned kProgramHeading = 1301;
inline constexpr unsigned kFoldersHeading = 1302;
inline constexpr unsigned kExitSeparator = 1303;
inline constexpr unsigned kOptionsHeading = 1304;
// A door item's identifier follows from its drive and door alone, so that the
// same item keeps it however often the group is made again.
constexpr unsigned cdDoor(char letter, bool open) {
    return kCdDoorBase + 2u * static_cast<unsigned>(letter - 'A') + (open ? 0u : 1u);
}
} // namespace menu_id

struct MenuItem {
    std::string name;   // "folder3", "cdDoor", ...
    int index = -1;     // element of a numbered item group, -1 for a single item
    unsigned id = 0;    // stable command identifier
    std::string caption;
    bool enabled = true;
    bool visible = true;
    std::optional<Action> action;  // what choosing it does; nothing for headings and separators
};

// The popup menu: the children of the tray popup in their fixed order. A hidden item
// is absent from the menu the user sees but keeps its place and identity here.
class PopupMenu {
public:
    PopupMenu();

    const std::vector<MenuItem>& items() const { return items_; }
    MenuItem* find(std::string_view name, int index = -1);
    const MenuItem* find(std::string_view name, int index = -1) const;
    MenuItem* byId(unsigned id);
    const MenuItem* byId(unsigned id) const;
    MenuItem& folder(int slot);

    // The CD group behind its heading: an "Open" and a "Close" item for each
    // drive letter (A to Z, upper case), in letter order. The items are made
    // again only when the letters differ from the last ones; returns whether
    // they did.
    bool setCdDrives(std::vector<char> letters);
    const std::vector<char>& cdDrives() const { return cdLetters_; }

private:
    std::vector<MenuItem> items_;
    std::vector<char> cdLetters_;
};

// "- " begins a group heading; "-" alone is a separator line.
bool isHeadingCaption(std::string_view caption);
bool isSeparatorCaption(std::string_view caption);

} // namespace lumivane
