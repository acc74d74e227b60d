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

// The action behind folder item k: reads slot k's path box now (not the
// shortened caption, not the file), then opens it or says it is missing.
void openFolderSlot(int slot, const FolderSlots& slots, platform::FileSystem& files,
                    platform::Processes& processes, platform::MessageBoxes& boxes);

} // namespace lumivane
