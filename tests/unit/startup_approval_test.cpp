#include "fakes/recording.h"
#include "folders/startup_approval.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace lumivane::startup_approval;
using platform::RegistryView;
using Calls = std::vector<std::string>;

namespace {
const auto kMachine = platform::RegistryRoot::LocalMachine;
const std::string kApproved = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::string kApproved32 = kApproved + "32";

// A mark of `size` bytes: the flag, then a FILETIME-like tail.
std::string mark(unsigned char flag, size_t size = 12) {
    std::string bytes(size, '\0');
    for (size_t i = 4; i < size; ++i) bytes[i] = static_cast<char>(0x11 * i);
    if (size > 0) bytes[0] = static_cast<char>(flag);
    return bytes;
}
} // namespace

TEST_CASE("a mark says off only as Windows writes it: REG_BINARY, 12 bytes, first byte 3 or 7") {
    const struct {
        const char* name;
        unsigned type;
        std::string data;
        bool off;
    } cases[] = {
        {"enabled, 2", platform::kRegBinary, mark(2), false},
        {"disabled, 3", platform::kRegBinary, mark(3), true},
        {"enabled, 6", platform::kRegBinary, mark(6), false},
        {"disabled, 7", platform::kRegBinary, mark(7), true},
        {"disabled, no time", platform::kRegBinary, mark(3).substr(0, 4) + std::string(8, '\0'), true},
        {"an unknown flag, 5", platform::kRegBinary, mark(5), false},
        {"a flag word of 0x103", platform::kRegBinary, mark(3).replace(1, 1, 1, '\x01'), true},
        {"short: the flag word alone", platform::kRegBinary, mark(3, 4), false},
        {"short by one", platform::kRegBinary, mark(7, 11), false},
        {"empty", platform::kRegBinary, "", false},
        {"long by one", platform::kRegBinary, mark(3, 13), false},
        {"REG_DWORD", 4, mark(3, 4), false},
        {"REG_SZ of 12 bytes", platform::kRegSz, mark(3), false},
        {"REG_QWORD with a tail", 11, mark(7), false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CHECK(marksDisabled(c.type, c.data) == c.off);
        CHECK(marksDisabled(platform::ValueQuery{platform::kRegSuccess, c.type, c.data.size(), c.data}) ==
              c.off);
    }
    // Only a value read whole counts: a missing or partly read one is no mark.
    CHECK_FALSE(marksDisabled(platform::ValueQuery{}));
    CHECK_FALSE(marksDisabled(platform::ValueQuery{platform::kRegMoreData, platform::kRegBinary, 12, mark(3)}));
    CHECK_FALSE(marksDisabled(platform::ValueQuery{platform::kRegSuccess, platform::kRegBinary, 13, mark(3)}));

    CHECK_FALSE(marksDisabled(platform::kRegBinary, enabledMark()));
}

TEST_CASE("the mark is read and turned back on where Windows keeps the program's; only one saying off is rewritten") {
    for (bool is32BitOn64 : {false, true}) {
        CAPTURE(is32BitOn64);
        fakes::CallLog log;
        fakes::FakeRegistry reg(log);
        reg.is32BitOn64 = is32BitOn64;
        // StartupApproved\Run32 of the native view for a 32-bit program on 64-bit Windows.
        const std::string& subkey = is32BitOn64 ? kApproved32 : kApproved;
        auto put = [&](const std::string& bytes) {
            reg.putValue(kMachine, subkey, "Lumivane", platform::kRegBinary, bytes, RegistryView::Native);
        };
        // Marks where Windows never looks for this one's: the other width's, another name's, its own view's.
        reg.putValue(kMachine, is32BitOn64 ? kApproved : kApproved32, "Lumivane", platform::kRegBinary, mark(3),
                     RegistryView::Native);
        reg.putValue(kMachine, subkey, "Other", platform::kRegBinary, mark(3), RegistryView::Native);
        if (is32BitOn64) reg.putValue(kMachine, subkey, "Lumivane", platform::kRegBinary, mark(3), RegistryView::Own);
        CHECK_FALSE(runValueMarkedDisabled(reg, kMachine, "Lumivane"));
        put(mark(7, 40));
        CHECK_FALSE(runValueMarkedDisabled(reg, kMachine, "Lumivane"));

        for (const std::string& kept : {mark(2), mark(6), mark(3, 11), std::string()}) {
            put(kept);
            log.calls.clear();
            CHECK(clearDisabledMark(reg, kMachine, "Lumivane") == platform::kRegSuccess);
            CHECK_FALSE(log.contains("regSetBinary"));
            CHECK(reg.find(kMachine, subkey, "Lumivane", RegistryView::Native)->bytes == kept);
        }
        for (unsigned char off : {3, 7}) {
            put(mark(off));
            CHECK(runValueMarkedDisabled(reg, kMachine, "Lumivane"));
            log.calls.clear();
            CHECK(clearDisabledMark(reg, kMachine, "Lumivane") == platform::kRegSuccess);
            // A mark never has more than 12 bytes; one byte more tells a longer value apart.
            CHECK(log.calls == Calls{"regQueryValue(native:" + subkey + "|Lumivane,13)",
                                     "regSetBinary(native:" + subkey + "|Lumivane=020000000000000000000000)"});
            const auto* now = reg.find(kMachine, subkey, "Lumivane", RegistryView::Native);
            REQUIRE(now);
            CHECK(now->type == platform::kRegBinary);
            CHECK(now->bytes == enabledMark());
            CHECK_FALSE(runValueMarkedDisabled(reg, kMachine, "Lumivane"));
        }
        put(mark(3));
        reg.refuseSetBinary = platform::kRegAccessDenied;
        CHECK(clearDisabledMark(reg, kMachine, "Lumivane") == platform::kRegAccessDenied);
        CHECK(runValueMarkedDisabled(reg, kMachine, "Lumivane"));
    }
}

namespace {
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kMine = "\"C:\\Tools\\lumivane\"";

std::string caption(const Hub& hub) { return hub.popupMenu.find("startWithWindows")->caption; }

// The start-up item's text in the latest popup.
std::string shownCaption(const fakes::FakeHub& hub) {
    for (const auto& line : hub.os.tray.popups.back())
        if (line.id == menu_id::kStartWithWindows) return line.text;
    return "(no start-up item)";
}

// Opens the popup from the tray and chooses `id` (0: dismissed).
void choose(fakes::FakeHub& hub, unsigned id) {
    hub.os.tray.choice = id;
    hub.logic.onTrayMessage(0x0205);  // WM_RBUTTONUP
}
} // namespace

TEST_CASE("a Run value switched off in Windows's list reads as off, and choosing the item switches it back on") {
    for (bool is32BitOn64 : {false, true}) {
        CAPTURE(is32BitOn64);
        fakes::FakeHub hub;
        auto& reg = hub.os.registry;
        reg.is32BitOn64 = is32BitOn64;
        const std::string& place = is32BitOn64 ? kApproved32 : kApproved;
        reg.putString(kMachine, kRun, "Lumivane", "\"D:\\Old\\lumivane\"");
        reg.putValue(kMachine, place, "Lumivane", platform::kRegBinary, mark(3), RegistryView::Native);
        hub.logic.start();
        CHECK_FALSE(hub.logic.startsWithWindows);
        CHECK(caption(hub.logic) == "Don't Load at Startup");

        hub.os.log.calls.clear();
        choose(hub, menu_id::kStartWithWindows);
        CHECK(shownCaption(hub) == "Don't Load at Startup");
        // The Run value written as ever, then the mark turned to 2 and zeros in its place.
        CHECK(hub.os.log.only({"regSet", "messageBox"}) ==
              Calls{"regSet(Lumivane=" + kMine + ")",
                    "regSetBinary(native:" + place + "|Lumivane=020000000000000000000000)"});
        CHECK(reg.find(kMachine, kRun, "Lumivane")->bytes == fakes::utf16Bytes(kMine));
        CHECK(reg.find(kMachine, place, "Lumivane", RegistryView::Native)->bytes == enabledMark());
        CHECK(hub.logic.startsWithWindows);
        CHECK(caption(hub.logic) == "Load at Startup");
        // Switching off again (the Run value goes, the mark stays) is checked on the real registry.
    }
}

TEST_CASE("the start-up item follows changes made while the program runs, and only a change costs registry calls") {
    fakes::FakeHub hub;
    auto& reg = hub.os.registry;
    const auto kUser = platform::RegistryRoot::CurrentUser;
    reg.putString(kMachine, kRun, "Lumivane", kMine);
    // The user has no StartupApproved key: its watch stands on Explorer's key,
    // below which Explorer writes all the time.
    const std::string kRecent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    reg.putString(kUser, kRecent, "MRUList", "a");
    hub.logic.start();
    CHECK(caption(hub.logic) == "Load at Startup");
    reg.putString(kUser, kRecent, "MRUList", "ba");
    reg.putString(kUser, kRecent + "\\.txt", "0", "notes.txt");
    hub.os.log.calls.clear();
    choose(hub, 0);
    CHECK(hub.os.log.only({"reg", "popup"}).front() == "popup(68140)");
    const struct {
        const char* change;
        std::string machineMark, userMark;  // "" for none
        bool machineValue, userValue;
        const char* shown;
    } openings[] = {
        {"switched off in Windows's list", mark(3), "", true, false, "Don't Load at Startup"},
        {"nothing", mark(3), "", true, false, "Don't Load at Startup"},
        {"on again there", mark(2), "", true, false, "Load at Startup"},
        {"off with the other flag", mark(7), "", true, false, "Don't Load at Startup"},
        {"the mark gone", "", "", true, false, "Load at Startup"},
        {"nothing again", "", "", true, false, "Load at Startup"},
        {"the Run value gone", "", "", false, false, "Don't Load at Startup"},
        {"the user's own value", "", "", false, true, "Load at Startup"},
        {"that one switched off in Windows's list", "", mark(3), false, true, "Don't Load at Startup"},
        {"the machine's back beside it", mark(6), mark(3), true, true, "Load at Startup"},
    };
    for (const auto& opening : openings) {
        CAPTURE(opening.change);
        for (auto [root, markBytes, present] : {std::tuple{kMachine, opening.machineMark, opening.machineValue},
                                                std::tuple{kUser, opening.userMark, opening.userValue}}) {
            reg.values.erase({root, kApproved, "Lumivane"});
            if (!markBytes.empty())
                reg.putValue(root, kApproved, "Lumivane", platform::kRegBinary, markBytes, RegistryView::Native);
            if (present)
                reg.putString(root, kRun, "Lumivane", kMine);
            else
                reg.values.erase({root, kRun, "Lumivane"});
        }
        hub.os.log.calls.clear();
        choose(hub, 0);
        CHECK(shownCaption(hub) == opening.shown);
        // The registry is read (and watched again) only after it reported a change.
        const bool unchanged = std::string(opening.change).rfind("nothing", 0) == 0;
        CHECK(hub.os.log.only({"reg", "popup"}).front() == (unchanged ? "popup(68140)" : "regWatch()"));
    }
    CHECK_FALSE(hub.os.log.contains("regSet"));
}

TEST_CASE("a machine's mark that cannot be turned back on: the user's own value instead; refused there too, said once") {
    fakes::FakeHub hub;
    auto& reg = hub.os.registry;
    const auto kUser = platform::RegistryRoot::CurrentUser;
    reg.putString(kMachine, kRun, "Lumivane", kMine);
    reg.putValue(kMachine, kApproved, "Lumivane", platform::kRegBinary, mark(7), RegistryView::Native);
    reg.refuseSetBinary = platform::kRegAccessDenied;
    hub.logic.start();
    choose(hub, menu_id::kStartWithWindows);
    CHECK_FALSE(hub.os.log.contains("messageBox"));
    CHECK(hub.logic.startsWithWindows);
    CHECK(caption(hub.logic) == "Load at Startup");
    CHECK(reg.find(kUser, kRun, "Lumivane")->bytes == fakes::utf16Bytes(kMine));
    CHECK(reg.find(kMachine, kApproved, "Lumivane", RegistryView::Native)->bytes == mark(7));

    choose(hub, menu_id::kStartWithWindows);
    CHECK_FALSE(reg.find(kUser, kRun, "Lumivane"));
    CHECK_FALSE(reg.find(kMachine, kRun, "Lumivane"));
    CHECK(caption(hub.logic) == "Don't Load at Startup");
    // Both Run values refused: no mark is touched, and one message says so.
    reg.refuseSet = platform::kRegAccessDenied;
    hub.os.log.calls.clear();
    choose(hub, menu_id::kStartWithWindows);
    CHECK_FALSE(hub.os.log.contains("regSetBinary"));
    CHECK(hub.os.log.only({"messageBox"}) ==
          Calls{"messageBox(Lumivane could not be set to load at startup: Windows refused access to the list of "
                "programs it loads at startup.|Lumivane|48)"});
    CHECK(caption(hub.logic) == "Don't Load at Startup");
}
