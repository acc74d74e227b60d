#include "actions/cd_drives.h"

#include <algorithm>

namespace lumivane::cd_drives {

namespace {
char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool blank(const std::string& item) {
    return std::all_of(item.begin(), item.end(), [](char c) { return c == ' '; });
}

void sendDoorCommands(char letter, std::string_view state, platform::MediaControl& mci) {
    std::string alias = std::string("Drive") + letter;
    mci.sendString(std::string("Open ") + letter + ": Alias " + alias + " Type CDAudio");
    mci.sendString("Set " + alias + " Door " + std::string(state));
    mci.sendString("Close " + alias);
}
} // namespace

std::vector<std::string> splitList(std::string_view text, char delimiter, bool compact) {
    std::vector<std::string> items;
    for (size_t at = text.find(delimiter); at != std::string_view::npos; at = text.find(delimiter)) {
        items.emplace_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    if (compact) compactList(items);
    return items;
}

void compactList(std::vector<std::string>& list) {
    list.erase(std::remove_if(list.begin(), list.end(), blank), list.end());
}

std::vector<std::string> logicalDrives(platform::DriveInfo& drives) {
    return splitList(drives.logicalDriveStrings(), kNul, true);
}

char driveLetter(const std::string& root) {
    return root.empty() ? '\0' : asciiUpper(root[0]);
}

std::vector<std::string> cdDrives(const std::vector<std::string>& driveList, platform::DriveInfo& drives) {
    std::vector<std::string> cds;
    for (const auto& root : driveList) {
        if (drives.driveType(root) != platform::kDriveCdRom) continue;
        std::string upper = root;
        std::transform(upper.begin(), upper.end(), upper.begin(), asciiUpper);
        cds.push_back(std::move(upper));
    }
    return cds;
}

void openCdDoor(char letter, platform::MediaControl& mci) {
    sendDoorCommands(letter, "Open", mci);
}

void closeCdDoor(char letter, platform::MediaControl& mci) {
    sendDoorCommands(letter, "Closed", mci);
}

std::string openCaption(char letter) {
    return std::string("Open [") + letter + ":]";
}

std::string closeCaption(char letter) {
    return std::string("Close [") + letter + ":]";
}

} // namespace lumivane::cd_drives
