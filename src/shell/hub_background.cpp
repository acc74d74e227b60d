// What the hub sends to the background, and its answers: the existence of a
// favourite folder and the CD doors. Browse is in hub_customize.cpp.
#include "actions/cd_drives.h"
#include "folders/open_folder.h"
#include "shell/hub.h"

#include <algorithm>

namespace lumivane {

bool Hub::waiting() const {
    return doorsMoving_ > 0 || browseWaiting_ ||
           std::any_of(folderChecks_.begin(), folderChecks_.end(), [](bool checking) { return checking; });
}

void Hub::answer(std::function<void()> then) {
    if (gone_) return;
    if (menuOpen()) {
        afterMenu_.push_back(std::move(then));
        return;
    }
    then();
}

void Hub::runAnswersHeldForMenu() {
    std::vector<std::function<void()>> held;
    held.swap(afterMenu_);
    for (auto& then : held) answer(std::move(then));
}

void Hub::openFolder(int slot) {
    bool& checking = folderChecks_[static_cast<size_t>(slot)];
    if (checking) return;
    checking = true;
    // The box as it is now, not the shortened caption nor the file.
    std::string path = host_.slotText(slot);
    platform::answerLater(
        os_.background, [&files = os_.files, path] { return files.folderExists(path); },
        [this, &checking, path](bool exists) {
            checking = false;
            answer([this, path, exists] { openOrSayMissing(path, exists, os_.processes, os_.boxes); });
        });
}

void Hub::moveCdDoor(const CdDoor& door) {
    ++doorsMoving_;
    // One unit of work: the drive's whole command sequence, in order.
    os_.background.run(
        [&mci = os_.mci, door] {
            if (door.open)
                cd_drives::openCdDoor(door.drive, mci);
            else
                cd_drives::closeCdDoor(door.drive, mci);
        },
        [this] { --doorsMoving_; });
}

} // namespace lumivane
