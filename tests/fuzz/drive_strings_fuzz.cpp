// Drive strings as the system might return them, split, compacted, turned into
// door items, and the items read back into door commands.
#include "actions/cd_drives.h"
#include "shell/popup_menu.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "drive_strings: %s\n", what);
        std::abort();
    }
}

bool blank(const std::string& item) {
    return std::all_of(item.begin(), item.end(), [](char c) { return c == ' '; });
}

// A drive is a CD-ROM drive when the fuzzer says so for its letter.
struct Drives final : platform::DriveInfo {
    std::string strings;
    std::uint32_t cdLetters = 0;  // bit per byte value modulo 32
    std::string logicalDriveStrings() override { return strings; }
    unsigned driveType(const std::string& root) override {
        if (root.empty()) return 1;
        return (cdLetters >> (static_cast<unsigned char>(root[0]) % 32)) & 1 ? platform::kDriveCdRom : 3;
    }
};

struct Commands final : platform::MediaControl {
    std::vector<std::string> sent;
    void sendString(const std::string& command) override { sent.push_back(command); }
};

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void splitting(std::string_view text, char delimiter) {
    auto items = modMain::SplitList(text, delimiter, false);
    // Every delimiter ends one item; the items and delimiters give the text
    // back up to its last delimiter.
    size_t delimiters = static_cast<size_t>(std::count(text.begin(), text.end(), delimiter));
    require(items.size() == delimiters, "not one item per delimiter");
    std::string joined;
    for (const auto& item : items) {
        require(item.find(delimiter) == std::string::npos, "a delimiter inside an item");
        (joined += item) += delimiter;
    }
    require(joined == text.substr(0, joined.size()), "the items are not the text");

    auto compact = modMain::SplitList(text, delimiter, true);
    std::vector<std::string> expected;
    for (const auto& item : items)
        if (!blank(item)) expected.push_back(item);
    require(compact == expected, "compaction dropped a kept item or kept a blank one");
}

void doors(Drives& drives) {
    auto cds = modMain::GetCDDrives(modMain::GetDriveList(drives), drives);
    PopupMenu menu;
    for (const auto& root : cds) {
        menu.loadCDEject(modMain::OpenCaption(root));
        menu.loadCDEject(modMain::CloseCaption(root));
    }
    for (size_t k = 0; k < cds.size(); ++k) {
        const std::string& root = cds[k];
        for (int door = 0; door < 2; ++door) {
            const MenuItem* item = menu.find("mnuCDEject", static_cast<int>(2 * k) + door + 1);
            require(item != nullptr, "a door item is missing");
            // A system has at most 26 drives; their items stay inside the door range.
            if (cds.size() <= 26)
                require(item->id >= menu_id::kCDEjectBase && item->id <= menu_id::kCDEjectLast,
                        "a door item's command is outside the door range");
            Commands mci;
            modMain::DoorCommandFromCaption(item->caption, mci);
            char letter = root[0];
            bool isLetter = (letter >= 'A' && letter <= 'Z');
            if (!isLetter) continue;  // the system names drives by letters only
            require(mci.sent.size() == 2, "a door item sends no command pair");
            std::string alias = std::string("Drive") + upper(letter);
            require(mci.sent[0] == "Open " + std::string(1, upper(letter)) + ": Alias " + alias + " Type CDAudio",
                    "the door command opens another drive");
            require(mci.sent[1] == "Set " + alias + (door == 0 ? " Door Open" : " Door Closed"),
                    "the door command does the other thing");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    char delimiter = input.ConsumeBool() ? '\0' : static_cast<char>(input.ConsumeIntegral<unsigned char>());
    Drives drives;
    drives.cdLetters = input.ConsumeIntegral<std::uint32_t>();
    drives.strings = input.ConsumeRemainingBytesAsString();
    splitting(drives.strings, delimiter);
    doors(drives);
    return 0;
}
