#pragma once
#include "platform/media_control.h"
#include "platform/system_info.h"

#include <string>
#include <string_view>
#include <vector>

// The drive lists and the CD doors.
namespace lumivane::cd_drives {

// Splits at every delimiter; the text before each one is an item, even when
// empty, and text after the last one is never an item. With compaction the
// blank items are then dropped.
std::vector<std::string> splitList(std::string_view text, char delimiter, bool compact);
inline constexpr char kNul = '\0';

// Removes the items that are empty once leading and trailing blanks are
// trimmed; the kept items stay as they were, in order.
void compactList(std::vector<std::string>& list);

// The root paths of the logical drives, in the system's order.
std::vector<std::string> logicalDrives(platform::DriveInfo& drives);
// The drive letter of a root path such as "d:\", upper-cased.
char driveLetter(const std::string& root);
// The CD-ROM drives of the list, upper-cased, in the list's order.
std::vector<std::string> cdDrives(const std::vector<std::string>& driveList, platform::DriveInfo& drives);

// The door commands for drive letter X go to the alias "DriveX", opened for
// them and closed after, so the drive is not held between choices.
void openCdDoor(char letter, platform::MediaControl& mci);
void closeCdDoor(char letter, platform::MediaControl& mci);

// Captions of the two items of a CD drive, by its letter.
std::string openCaption(char letter);
std::string closeCaption(char letter);

} // namespace lumivane::cd_drives
