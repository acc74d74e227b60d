// Drive strings as the system might return them, split and turned into door items.
#include "actions/cd_drives.h"
#include "fakes/recording.h"

#include <algorithm>
#include <cassert>
#include <fuzzer/FuzzedDataProvider.h>

using namespace lumivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    char delimiter = input.ConsumeBool() ? '\0' : static_cast<char>(input.ConsumeIntegral<unsigned char>());
    fakes::CallLog log;
    fakes::FakeDriveInfo drives(log);
    auto cdLetters = input.ConsumeIntegral<std::uint32_t>();  // a drive is a CD drive by a bit of its first byte
    const std::string& text = drives.strings = input.ConsumeRemainingBytesAsString();

    // One item per delimiter, giving the text back up to its last one; compaction drops the blank ones.
    auto items = cd_drives::splitList(text, delimiter, false);
    assert(items.size() == size_t(std::count(text.begin(), text.end(), delimiter)) && "not one item per delimiter");
    std::string joined;
    std::vector<std::string> kept;
    for (const auto& item : items) {
        (joined += item) += delimiter;
        if (item.find_first_not_of(' ') != std::string::npos) kept.push_back(item);
    }
    assert(joined == text.substr(0, joined.size()) && "the items are not the text");
    assert(cd_drives::splitList(text, delimiter, true) == kept && "compaction dropped a kept item or kept a blank one");

    // Each CD drive's two door items exist and send the two commands for that drive's own letter.
    for (const auto& root : cd_drives::splitList(text, cd_drives::kNul, true))
        drives.types[root] = (cdLetters >> (static_cast<unsigned char>(root[0]) % 32)) & 1 ? platform::kDriveCdRom : 3;
    auto cds = cd_drives::cdDrives(cd_drives::logicalDrives(drives), drives);
    // An opening gives each CD drive letter, once and in letter order, an Open and a Close item for its own door.
    std::vector<char> letters;
    for (const auto& root : cds)
        if (root[0] >= 'A' && root[0] <= 'Z') letters.push_back(root[0]);
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    fakes::FakeHub hub;
    hub.os.drives.strings = text;
    hub.os.drives.types = drives.types;
    hub.logic.refreshCdDriveItems();
    const auto& menu = hub.logic.popupMenu.items();
    assert(menu[0].name == "cdHeading" && menu[1 + 2 * letters.size()].name == "foldersHeading" &&
           "the group holds other than two items a drive");
    for (size_t k = 0; k < 2 * letters.size(); ++k) {
        const MenuItem& item = menu[1 + k];
        const bool open = k % 2 == 0;
        const char letter = letters[k / 2];
        assert(item.caption == (open ? cd_drives::openCaption(letter) : cd_drives::closeCaption(letter)) &&
               "a door item has another drive's caption");
        assert(item.action == std::optional<Action>(CdDoor{letter, open}) &&
               "a door item works another drive's or another door");
        assert(hub.logic.popupMenu.byId(item.id) == &item && "two items share an id");
    }
    return 0;
}
