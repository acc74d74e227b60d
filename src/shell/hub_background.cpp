// What the hub sends to the background, and its answers: the existence of a
// favourite folder, the CD doors, and Browse's walk up to an existing folder.
#include "actions/cd_drives.h"
#include "folders/open_folder.h"
#include "shell/hub.h"

#include <algorithm>

namespace lumivane {

namespace {

// Each job owns copies of what it asks about; the file system and the media
// control it calls live as long as the process.
struct FolderCheck final : platform::Job {
    FolderCheck(Hub& hub, platform::FileSystem& files, int slot, std::string path)
        : hub(hub), files(files), slot(slot), path(std::move(path)) {}
    void work() override { exists = files.folderExists(path); }
    void done() override { hub.onFolderChecked(slot, path, exists); }
    Hub& hub;
    platform::FileSystem& files;
    int slot;
    std::string path;
    bool exists = false;
};

struct DoorMove final : platform::Job {
    DoorMove(Hub& hub, platform::MediaControl& mci, CdDoor door) : hub(hub), mci(mci), door(door) {}
    // One unit of work: the drive's whole command sequence, in order.
    void work() override {
        if (door.open)
            cd_drives::openCdDoor(door.drive, mci);
        else
            cd_drives::closeCdDoor(door.drive, mci);
    }
    void done() override { hub.onDoorMoved(); }
    Hub& hub;
    platform::MediaControl& mci;
    CdDoor door;
};

// The walk up asks at every level, and each may wait on a share that sleeps.
struct FolderWalk final : platform::Job {
    FolderWalk(Hub& hub, platform::FileSystem* files, int row, unsigned ticket, std::string path)
        : hub(hub), files(files), row(row), ticket(ticket), path(std::move(path)) {}
    void work() override {
        if (files) start = nearestExistingFolder(path, *files);
    }
    void done() override { hub.openPicker(row, ticket, start); }
    Hub& hub;
    platform::FileSystem* files;  // none: the patience is over, the picker chooses
    int row;
    unsigned ticket;
    std::string path, start;
};

} // namespace

bool Hub::waiting() const {
    return doorsMoving_ > 0 || browseWaiting_ ||
           std::any_of(folderChecks_.begin(), folderChecks_.end(), [](bool checking) { return checking; });
}

void Hub::openFolder(int slot) {
    bool& checking = folderChecks_[static_cast<size_t>(slot)];
    if (checking) return;
    checking = true;
    // The box as it is now, not the shortened caption nor the file.
    os_.background.run(std::make_unique<FolderCheck>(*this, os_.files, slot, host_.slotText(slot)));
}

void Hub::onFolderChecked(int slot, const std::string& path, bool exists) {
    folderChecks_[static_cast<size_t>(slot)] = false;
    if (gone_) return;
    if (menuOpen()) {
        heldFolders_.push_back({path, exists});
        return;
    }
    openOrSayMissing(path, exists, os_.processes, os_.boxes);
}

void Hub::moveCdDoor(const CdDoor& door) {
    ++doorsMoving_;
    os_.background.run(std::make_unique<DoorMove>(*this, os_.mci, door));
}

void Hub::onBrowse(int row) {
    if (browseWaiting_) return;
    browseWaiting_ = true;
    const unsigned ticket = ++browseTicket_;
    os_.background.run(std::make_unique<FolderWalk>(*this, &os_.files, row, ticket, host_.slotText(row)));
    // Never at a folder whose check has not answered: that would wait again.
    os_.background.after(kPickerPatience, std::make_unique<FolderWalk>(*this, nullptr, row, ticket, ""));
}

void Hub::openPicker(int row, unsigned ticket, const std::string& start) {
    // The walk's answer and the timer each come once; the first opens it.
    if (!browseWaiting_ || ticket != browseTicket_ || gone_) return;
    browseWaiting_ = false;
    if (menuOpen()) {
        heldPicker_.emplace(row, start);
        return;
    }
    showPicker(row, start);
}

void Hub::runAnswersHeldForMenu() {
    std::vector<HeldFolder> folders;
    folders.swap(heldFolders_);
    for (const auto& folder : folders) openOrSayMissing(folder.path, folder.exists, os_.processes, os_.boxes);
    if (auto picker = std::exchange(heldPicker_, std::nullopt)) showPicker(picker->first, picker->second);
}

} // namespace lumivane
