#pragma once
#include "folders/folder_slots.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/process.h"

#include <string>

namespace lumivane {

inline constexpr int kSwShowNormal = 1;

// "Explorer " followed by the path exactly as the slot holds it: no quotes, so
// a path with blanks reaches the file manager as typed. A path with a comma is
// quoted, or the file manager would open the folder before the comma.
std::string explorerCommandLine(const std::string& path);

// Where a folder picker for this path opens: the path when it is a folder,
// else its nearest existing parent; "" when none exists (a drive or share
// that is gone, or not a path at all).
std::string nearestExistingFolder(const std::string& path, platform::FileSystem& files);

// The end of a folder item's action, once the file system has answered
// whether the path is a folder: Explorer opens it, or the message says it is
// missing.
void openOrSayMissing(const std::string& path, bool exists, platform::Processes& processes,
                      platform::MessageBoxes& boxes);

} // namespace lumivane
