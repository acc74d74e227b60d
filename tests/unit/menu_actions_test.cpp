#include "actions/cd_drives.h"
#include "actions/cover_window.h"
#include "actions/screen_saver.h"
#include "fakes/recording.h"
#include "platform/process.h"

#include <optional>
#include <set>

#include <doctest/doctest.h>

#include <map>
#include <set>

using namespace lumivane;
using namespace std::string_literals;
using Calls = std::vector<std::string>;

TEST_CASE("a folder item opens its box's text with Explorer, quoted only for a comma; a missing folder is named") {
    fakes::FakeHub hub;
    const Calls paths = {"C:\\", "C:\\a,b", "D:\\Tom & Jerry", "E:\\x  y ", "C:\\\xE6\x97\xA5\xE6\x9C\xAC"};
    for (size_t k = 0; k < paths.size(); ++k) {
        hub.host.boxes[k] = paths[k];
        hub.os.files.folders.insert(paths[k]);
    }
    hub.host.boxes[5] = "C:\\Gone";
    hub.host.boxes[6] = "C:\\boot.ini";
    hub.os.files.files["C:\\boot.ini"] = "x";
    hub.logic.popupMenu.folder(4).caption = "1. Old";  // the box counts, not the caption
    for (unsigned slot : {4u, 0u, 1u, 2u, 3u, 5u, 6u, 9u}) hub.logic.onMenuCommand(menu_id::kFolderBase + slot);
    while (!hub.os.background.jobs.empty()) hub.os.background.release();
    const std::string missing = "messageBox(Folder Does Not Exist|Lumivane|16)";
    CHECK(hub.os.log.only({"start", "messageBox"}) ==
          Calls{"start(Explorer C:\\\xE6\x97\xA5\xE6\x9C\xAC|1)", "start(Explorer C:\\|1)",
                "start(Explorer \"C:\\a,b\"|1)", "start(Explorer D:\\Tom & Jerry|1)", "start(Explorer E:\\x  y |1)",
                missing, missing, missing});
    CHECK(hub.os.log.only({"folderExists"}).front() == "folderExists(C:\\\xE6\x97\xA5\xE6\x9C\xAC)");
    CHECK(hub.os.log.only({"folderExists"}).back() == "folderExists()");
}

TEST_CASE("a program named without a folder starts from the Windows or the system folder, never the search path") {
    // Spelled as asked for ("Explorer" + ".exe"): Windows finds a file whatever the case of its name.
    const std::set<std::string> files{"C:\\Windows\\Explorer.exe", "C:\\Windows\\System32\\Explorer.exe",
                                      "C:\\Windows\\System32\\rundll32.exe"};
    auto exists = [&](const std::string& path) { return files.count(path) != 0; };
    const struct {
        std::string commandLine;
        std::optional<std::string> program;
    } cases[] = {
        {"Explorer C:\\a b", "C:\\Windows\\Explorer.exe"},  // the Windows folder's first
        {"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1", "C:\\Windows\\System32\\rundll32.exe"},
        {"lumivane /about", std::nullopt},  // in neither: not looked for anywhere else
        {"\"C:\\Program Files\\Tools\\msinfo32.exe\"", "C:\\Program Files\\Tools\\msinfo32.exe"},
        {"C:\\Tools\\msinfo32.exe", "C:\\Tools\\msinfo32.exe"},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        CAPTURE(c.commandLine);
        CHECK(platform::programToStart(c.commandLine, "C:\\Windows", "C:\\Windows\\System32\\", exists) == c.program);
    }
}

TEST_CASE("a favourite on a sleeping share: asked in the background; meanwhile everything works, and its answer "
          "opens it or says it is missing, however late") {
    const std::string nas = "\\\\nas\\photos";
    fakes::FakeHub hub;
    hub.logic.start();
    hub.host.boxes = {nas, "C:\\"};
    hub.os.files.folders.insert("C:\\");
    hub.logic.updateFolderItems();
    hub.os.log.calls.clear();
    auto& pending = hub.os.background.jobs;
    hub.logic.onMenuCommand(menu_id::kFolderBase + 0);
    hub.logic.onMenuCommand(menu_id::kFolderBase + 0);  // chosen again: nothing more
    REQUIRE(pending.size() == 1);
    CHECK(hub.logic.waiting());
    // The menu opens, another row opens at its answer, a handed-over command runs.
    hub.os.tray.choice = menu_id::kFolderBase + 1;
    hub.logic.onTrayMessage(tray_event::kRightButtonUp);
    hub.logic.run(About{});
    hub.os.background.release(1);
    CHECK(hub.os.log.only({"popup", "aboutBox", "start", "folderExists"}) ==
          Calls{"popup(68140)", "aboutBox(0)", "folderExists(C:\\)", "start(Explorer C:\\|1)"});
    hub.os.files.folders.insert(nas);
    hub.os.background.release();
    CHECK(hub.os.log.calls.back() == "start(Explorer " + nas + "|1)");
    CHECK_FALSE(hub.logic.waiting());

    // An answer that comes while the popup is open waits for it to close: no box inside its loop.
    hub.os.files.folders.clear();
    hub.logic.onMenuCommand(menu_id::kFolderBase + 0);
    hub.os.tray.choice = 0;
    hub.os.tray.whileOpen = [&] {
        hub.os.background.release();
        hub.os.log.add("still open");
    };
    hub.logic.onTrayMessage(tray_event::kRightButtonUp);
    CHECK(hub.os.log.only({"still open", "messageBox"}) ==
          Calls{"still open", "messageBox(Folder Does Not Exist|Lumivane|16)"});

    // Exit before the answer: the program ends at once, and the answer is dropped.
    hub.os.tray.whileOpen = nullptr;
    hub.logic.onMenuCommand(menu_id::kFolderBase + 0);
    hub.logic.run(Exit{});
    CHECK(hub.os.log.calls.back() == "unload()");
    hub.os.log.calls.clear();
    hub.os.files.folders.insert(nas);
    hub.os.background.release();
    CHECK(hub.os.log.only({"start", "messageBox", "popup"}).empty());
}

TEST_CASE("each opening shows Open and Close of the drives that are CD drives then, in letter order, each keeping its id") {
    fakes::FakeHub hub;
    hub.logic.start();
    CHECK(hub.os.log.only({"logical", "driveType"}).empty());  // asked when the menu opens, not before
    // Opens the popup over these drives, choosing the item `choice`; gives the CD group as shown.
    auto opening = [&](std::string strings, std::map<std::string, unsigned> types, unsigned choice = 0) {
        hub.os.drives.strings = std::move(strings);
        hub.os.drives.types = std::move(types);
        hub.os.tray.choice = choice;
        hub.logic.onTrayMessage(0x0205);  // WM_RBUTTONUP
        Calls group;
        for (const auto& line : hub.os.tray.popups.back()) {
            if (line.text == "- F o l d e r s ") break;
            group.push_back(line.text);
        }
        return group;
    };
    auto idOf = [&](const std::string& caption) {
        for (const auto& line : hub.os.tray.popups.back())
            if (line.text == caption) return line.id;
        return 0u;
    };

    // Upper-cased, whatever case the system reports.
    CHECK(opening("a:\\\0C:\\\0e:\\\0"s, {{"a:\\", 2}, {"e:\\", 5}}) == Calls{"- CD Drives", "Open [E:]", "Close [E:]"});
    const unsigned openE = idOf("Open [E:]");
    // D plugged in, reported after E: letter order, and E's items keep their ids.
    const auto withD = std::map<std::string, unsigned>{{"e:\\", 5}, {"D:\\", 5}};
    CHECK(opening("C:\\\0e:\\\0D:\\\0"s, withD) ==
          Calls{"- CD Drives", "Open [D:]", "Close [D:]", "Open [E:]", "Close [E:]"});
    CHECK(idOf("Open [E:]") == openE);
    std::set<unsigned> ids;
    for (const auto& line : hub.os.tray.popups.back()) ids.insert(line.id);
    CHECK(ids.size() == hub.os.tray.popups.back().size());
    CHECK(ids.count(0) == 0);
    const unsigned closeD = idOf("Close [D:]");

    // The chosen item runs its own drive's door, at the opening that showed it.
    hub.os.log.calls.clear();
    opening("C:\\\0e:\\\0D:\\\0"s, withD, openE);
    opening("C:\\\0e:\\\0D:\\\0"s, withD, closeD);
    // Each door's whole sequence is one piece of work, away from the window: a drive may take seconds.
    CHECK(hub.os.log.only({"mci", "background"}) == Calls(2, "background()"));
    CHECK(hub.logic.waiting());
    hub.os.background.release(1);
    hub.os.background.release();
    CHECK_FALSE(hub.logic.waiting());
    CHECK(hub.os.log.only({"mci"}) == Calls{"mci(Open D: Alias DriveD Type CDAudio)", "mci(Set DriveD Door Closed)",
                                            "mci(Close DriveD)", "mci(Open E: Alias DriveE Type CDAudio)",
                                            "mci(Set DriveE Door Open)", "mci(Close DriveE)"});
    // E gone: its items with it, and its old id runs nothing.
    hub.os.log.calls.clear();
    CHECK(opening("C:\\\0D:\\\0"s, {{"D:\\", 5}}, openE) == Calls{"- CD Drives", "Open [D:]", "Close [D:]"});
    hub.logic.onMenuCommand(menu_id::kCdHeading);
    CHECK(hub.os.log.only({"mci"}).empty());
    // The same letters again: only the CD drive shown is asked, and when it
    // went but its letter stayed (Wine keeps it), its items go with it.
    hub.os.log.calls.clear();
    CHECK(opening("C:\\\0D:\\\0"s, {}) == Calls{"- CD Drives"});
    CHECK(hub.os.log.only({"driveType"}) == Calls{"driveType(D:\\)"});
    // No CD drive, then a failed call: the heading alone.
    CHECK(opening("C:\\\0"s, {}) == Calls{"- CD Drives"});
    CHECK(opening("", {}) == Calls{"- CD Drives"});
}

TEST_CASE("Run Screen Saver: SC_SCREENSAVE only when active and SCRNSAVE.EXE names a file, else the message and "
          "Display settings") {
    const std::string kMystify = "C:\\Windows\\system32\\Mystify.scr", kBubbles = "C:\\Windows\\system32\\Bubbles.scr";
    const struct {
        const char* name;
        std::uint32_t active;
        std::string policy, user;  // "" for no value
        bool runs;
    } cases[] = {
        {"active, the user's choice exists", 1, "", kMystify, true},
        {"(None): active, no value", 1, "", "", false},
        {"the user's choice deleted since", 1, "", kBubbles, false},
        {"a policy's choice comes first", 1, kMystify, kBubbles, true},
        {"a policy naming a missing file", 1, kBubbles, kMystify, false},
        {"not active", 0, "", kMystify, false},
        {"an answer other than 1", 2, "", kMystify, false},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        fakes::FakeHub hub;
        hub.os.desktop.screenSaveValue = c.active;
        hub.os.files.files[kMystify] = "MZ";
        const auto user = platform::RegistryRoot::CurrentUser;
        if (!c.policy.empty())
            hub.os.registry.putString(user, screen_saver::kPolicyDesktopKey, screen_saver::kScreenSaverValue, c.policy);
        if (!c.user.empty())
            hub.os.registry.putString(user, screen_saver::kDesktopKey, screen_saver::kScreenSaverValue, c.user);
        hub.logic.onMenuCommand(menu_id::kRunScreenSaver);
        Calls none{"messageBox(No Screen Saver is selected.|Lumivane|0)",
                   "start(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1|2)"};
        CHECK(hub.os.log.only({"desktop", "messageBox", "start"}) ==
              (c.runs ? Calls{"desktopSysCommand(61760|0)"} : none));
    }
}

TEST_CASE("Turn Monitor Off: straight to the desktop on XP and 2000, through the cover window on any other version") {
    // 5.2 and later minors of 5 are neither; 0.0.0 is a system that cannot be asked.
    for (platform::OsVersion version : {platform::OsVersion{5, 1, 2}, {5, 0, 0}, {5, 2, 2}, {6, 0, 2}, {4, 90, 1},
                                        {4, 0, 2}, {0, 0, 0}}) {
        CAPTURE(version.major);
        CAPTURE(version.minor);
        fakes::FakeHub hub;
        hub.os.osVersion.version = version;
        hub.logic.onMenuCommand(menu_id::kTurnMonitorOff);
        bool direct = version.major == 5 && version.minor < 2;
        CHECK(hub.os.log.calls == Calls{"osVersion()", direct ? "desktopSysCommand(61808|2)" : "showTurnMonOff()"});
    }
}

TEST_CASE("the cover window turns the display off; two moves are absorbed, the third or any key or click wakes it") {
    fakes::CallLog log;
    fakes::FakeCoverWindowHost host(log);
    CoverWindow cover(host);
    cover.onShow();
    // Right of and below the centre: (6217.5 + 60) / 15 = 418.5 rounds to even, (4170 + 260) / 15 = 295.33.
    CHECK(log.calls == Calls{"setCursorPos(418,295)", "monitorPower(2)"});
    host.outer = {-1000 * 15.0, 0, 239 * 15.0, 140 * 15.0};  // left of the primary screen: -876.5 to even
    cover.onShow();
    CHECK(log.calls[2] == "setCursorPos(-876,87)");
    log.calls.clear();
    cover.onMouseMove();
    cover.onCancelMouseMove();  // the window and its button share the count
    CHECK(log.calls.empty());
    cover.onMouseMove();
    CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});

    for (auto input : {&CoverWindow::onKeyDown, &CoverWindow::onMouseDown, &CoverWindow::onCancel,
                       &CoverWindow::onCancelKeyDown}) {
        cover.onMouseMove();
        cover.onShow();  // a new showing counts from 0 again
        log.calls.clear();
        cover.onMouseMove();
        cover.onMouseMove();
        REQUIRE(log.calls.empty());
        (cover.*input)();
        CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});
    }

    // The Enter that chose the item, or a shortcut's keys, still down: the
    // power-off waits for their release, or for at most 5 s.
    host.held = true;
    cover.onShow();
    cover.onHeldCheck();
    cover.onInputReleased();  // one key of several went up
    host.held = false;
    cover.onInputReleased();  // the last went up
    cover.onHeldCheck();      // done already: nothing more
    CHECK(log.only({"monitor", "held"}) ==
          Calls{"monitorPower(-1)", "heldCheck(250)", "heldCheck(250)", "monitorPower(2)"});
    host.held = true;
    cover.onShow();
    cover.onInputReleased();
    log.calls.clear();
    for (int check = 1; check < kHeldChecksAtMost; ++check) cover.onHeldCheck();
    CHECK(log.calls == Calls(kHeldChecksAtMost - 1, "heldCheck(250)"));
    cover.onHeldCheck();
    CHECK(log.calls.back() == "monitorPower(2)");
    host.held = false;
    cover.onShow();  // nothing held: at once
    cover.onKeyDown();  // the wake-up rules as before
    CHECK(log.only({"monitor", "close"}) ==
          Calls{"monitorPower(2)", "monitorPower(2)", "monitorPower(-1)", "closeWindow()"});
}
