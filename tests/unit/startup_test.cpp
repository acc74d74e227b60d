#include "fakes/recording.h"
#include "platform/registry.h"
#include "folders/settings_file.h"
#include "folders/start_with_windows.h"
#include "shell/tray_icon.h"

#include <set>
#include <utility>

#include <doctest/doctest.h>

using namespace lumivane;
using platform::RegistryRoot;
using Calls = std::vector<std::string>;

namespace {
const std::string kIni = "C:\\Tools\\lumivane.ini";
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const auto kMachine = RegistryRoot::LocalMachine;
constexpr unsigned kRightButtonUp = 0x0205;

std::string caption(const Hub& hub) { return hub.popupMenu.find("startWithWindows")->caption; }
std::u16string tipText(const platform::TrayRecord& record) { return std::u16string(record.tip.data()); }

// The hub with the tray picture among its images.
struct StartedHub : fakes::FakeHub {
    int turnPicture = 0;
    explicit StartedHub(bool load = true) {
        logic.menuImages.add("TURN", "Turn", &turnPicture);
        if (load) logic.start();
    }
};
} // namespace

TEST_CASE("start-up: Run value and folders, then the icon, then the menu engine, then hidden") {
    StartedHub hub;
    // The start-up state's reads begin with their watch; the registry's own calls are checked where they matter.
    CHECK(hub.os.log.only({"regWatch", "logical", "mayWrite", "file", "replace", "read", "tray", "attach",
                           "setComplex", "hide"}) ==
          Calls{"regWatch()", "mayWrite(" + kIni + ")",
                "fileExists(" + kIni + ")", "replaceFile(" + kIni + ")", "readFile(" + kIni + ")", "trayAdd()",
                "attach(true)", "setComplexChecks(false)", "hide()"});
    CHECK(hub.logic.popupMenu.folder(0).caption == "1. C:\\");
    const auto& record = hub.os.tray.added.at(0);
    CHECK(record.window == fakes::FakeHubHost::kWindow);
    CHECK(record.icon == &hub.turnPicture);
    CHECK(record.callbackMessage == tray_icon::kTrayCallbackMessage);
    CHECK(tipText(record) == u"Lumivane");
    CHECK(hub.os.menuEngine.help == &hub.logic.menuHelp);
    CHECK(hub.os.menuEngine.images == &hub.logic.menuImages);

    CHECK(settingsPathFor("C:\\") == "C:\\\\lumivane.ini");  // the backslash always goes in
}

TEST_CASE("a command run alone: the folders as read, and no settings file, tray icon or menu engine") {
    fakes::FakeHub hub;
    hub.os.files.folders.insert("D:\\Music");
    const std::string userIni = "C:\\Users\\Ann\\AppData\\Roaming\\Lumivane\\lumivane.ini";
    hub.logic.prepareForCommand(userIni, FolderList{"C:\\", "D:\\Music"});
    hub.logic.run(OpenFolder{1});
    CHECK(hub.logic.waiting());  // the process waits for the answer before it ends
    hub.os.background.release();
    hub.logic.run(Customize{});
    hub.logic.onCancel();  // no file to read back, and none is made
    const std::initializer_list<std::string> effects{"folder", "start", "show", "hide", "file", "make", "replace"};
    CHECK(hub.os.log.only(effects) == Calls{"folderExists(D:\\Music)", "start(Explorer D:\\Music|1)", "show()",
                                            "hide()", "fileExists(" + userIni + ")"});
    CHECK(hub.host.boxes[1] == "D:\\Music");
    // Saved: the user's own copy is made where a start would have made it.
    hub.os.log.calls.clear();
    hub.logic.run(Customize{});
    hub.logic.onOk();
    CHECK(hub.os.log.only(effects) == Calls{"show()", "makeFolder(C:\\Users\\Ann\\AppData\\Roaming\\Lumivane)",
                                            "replaceFile(" + userIni + ")", "hide()"});

    // Unreadable: said once, and the rows stay empty rather than showing the defaults as the user's.
    fakes::FakeHub held;
    held.logic.prepareForCommand(kIni, std::nullopt);
    held.logic.run(OpenFolder{0});
    held.os.background.release();
    auto calls = held.os.log.only({"messageBox", "start"});
    REQUIRE(calls.size() == 2);
    CHECK(calls[0].rfind("messageBox(The folders could not be read from " + kIni + ".", 0) == 0);
    CHECK(calls[1] == "messageBox(Folder Does Not Exist|Lumivane|16)");
}

TEST_CASE("a settings file another program holds is reported at start-up, and left alone") {
    StartedHub hub(false);
    const std::string mine = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nE:\\Mine\r\n";
    hub.os.files.files[kIni] = mine;
    hub.os.files.unreadable.insert(kIni);
    hub.logic.start();
    auto calls = hub.os.log.only({"readFile", "replaceFile", "messageBox", "hide"});
    REQUIRE(calls.size() == 3);
    CHECK(calls[1].rfind("messageBox(The folders could not be read from " + kIni + ".", 0) == 0);
    CHECK(calls[1].find("|Lumivane|48)") != std::string::npos);
    CHECK(hub.os.files.files[kIni] == mine);
}

TEST_CASE("the tray record of the 32-bit program field by field, its tip cut so that the NUL survives") {
    auto record = tray_icon::makeTrayRecord(reinterpret_cast<void*>(0x12345), 1, 7, 0x8001,
                                           reinterpret_cast<void*>(0x0BADF00D), "Lumivane");
    auto bytes = platform::trayRecordBytes(record, {4, 2});
    REQUIRE(bytes.size() == 152);
    std::vector<std::uint32_t> fields;
    for (size_t at = 0; at < 24; at += 4)
        fields.push_back(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24);
    CHECK(fields == std::vector<std::uint32_t>{152, 0x12345, 1, 7, 0x8001, 0x0BADF00D});
    CHECK(std::vector<unsigned char>(bytes.begin() + 38, bytes.begin() + 44) ==
          std::vector<unsigned char>{'e', 0, 0, 0, ' ', 0});  // the tip, its NUL, then blanks
    auto ansi = platform::trayRecordBytes(record, platform::kTrayRecordAnsi32);
    CHECK(std::string(ansi.begin() + 24, ansi.end()) == std::string("Lumivane") + '\0' + std::string(55, ' '));
    CHECK(tipText(tray_icon::makeTrayRecord(nullptr, 1, 7, 0, nullptr, std::string(70, 'x'))) ==
          std::u16string(63, u'x'));
    CHECK(tipText(tray_icon::makeTrayRecord(nullptr, 1, 7, 0, nullptr, "L\xC3\xBCm \xF0\x9F\x98\x80")) ==
          u"L\u00FCm \U0001F600");
}

TEST_CASE("only the right button's release opens the menu; the chosen item runs after it closes") {
    StartedHub hub;
    hub.os.log.calls.clear();
    for (unsigned message : {0x0201u, 0x0202u, 0x0204u, 0x0206u, kRightButtonUp + 0x10000u})
        hub.logic.onTrayMessage(message);
    CHECK(hub.os.log.calls.empty());
    hub.logic.onTrayMessage(kRightButtonUp);  // dismissed
    CHECK(hub.os.tray.popups.at(0)[2].text == "1. C:\\");
    hub.os.tray.choice = menu_id::kCustomize;
    hub.logic.onTrayMessage(kRightButtonUp);
    hub.os.tray.choice = menu_id::kExit;
    hub.logic.onTrayMessage(kRightButtonUp);
    // Nothing changed in the registry: no registry call on the way to the menu,
    // only the drives of the moment.
    const std::string drives = "logicalDriveStrings()";
    CHECK(hub.os.log.calls == Calls{drives, "popup(68140)", drives, "popup(68140)", "show()", drives, "popup(68140)",
                                    "trayRemove()", "unload()"});
    CHECK(hub.os.tray.removed.at(0).window == hub.os.tray.added.at(0).window);
    hub.logic.onWindowGone();  // the window's end after Exit removes nothing a second time
    CHECK(hub.os.tray.removed.size() == 1);
}

TEST_CASE("the icon: back when the taskbar is made again, retried when refused, removed once with its window") {
    StartedHub hub(false);
    hub.os.tray.accepts = false;  // no taskbar yet at log-on
    hub.os.tray.taskbar = false;
    hub.logic.start();
    CHECK_FALSE(hub.os.log.contains("after"));  // its "TaskbarCreated" says when
    SUBCASE("a busy taskbar sends no \"TaskbarCreated\": tried again about once a second until it takes the icon") {
        hub.os.tray.taskbar = true;
        hub.os.log.calls.clear();
        hub.logic.onTaskbarCreated();  // Explorer's taskbar came, and is busy still
        hub.logic.onTaskbarCreated();  // refused again meanwhile: still one try waiting
        hub.os.background.elapse();
        hub.os.tray.accepts = true;
        hub.os.background.elapse();
        CHECK(hub.os.background.delays.empty());
        CHECK(hub.os.log.calls == Calls{"trayAdd()", "after(1000)", "trayAdd()", "trayAdd()", "after(1000)", "trayAdd()"});
        CHECK(hub.os.tray.added.back().icon == &hub.turnPicture);
        hub.logic.onWindowGone();
        CHECK(hub.os.tray.removed.size() == 1);
    }
    SUBCASE("refused and never shown: nothing to remove") {
        hub.logic.onWindowGone();
        CHECK(hub.os.tray.removed.empty());
    }
    SUBCASE("shown at the next taskbar, gone with the window, not back for a late taskbar") {
        hub.os.tray.accepts = true;
        hub.logic.onTaskbarCreated();
        CHECK(hub.os.tray.added.at(1).icon == &hub.turnPicture);
        hub.logic.onWindowGone();
        hub.logic.onWindowGone();
        hub.logic.onTaskbarCreated();
        CHECK(hub.os.tray.removed.size() == 1);
        CHECK(hub.os.tray.added.size() == 2);
    }
}

TEST_CASE("the session's end takes the icon; an installer's request to close ends the program as Exit does") {
    StartedHub hub;
    hub.os.log.calls.clear();
    hub.logic.onSessionEnd(false, true);  // another program refused: the session goes on
    CHECK(hub.os.log.calls.empty());
    hub.logic.onSessionEnd(true, true);
    hub.logic.onWindowGone();
    CHECK(hub.os.log.calls == Calls{"trayRemove()", "unload()"});
    StartedHub loggingOff;
    loggingOff.os.log.calls.clear();
    loggingOff.logic.onSessionEnd(true, false);  // the system ends the process itself
    loggingOff.logic.onWindowGone();
    CHECK(loggingOff.os.log.calls == Calls{"trayRemove()"});
}

TEST_CASE("the Run value: type and size first, then exactly that many bytes; a value that grew meanwhile is none") {
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    reg.putString(kMachine, kRun, "Lumivane", "C:\\Tools\\lumivane");
    CHECK(platform::stringValue(reg, kMachine, kRun, "Lumivane") == "C:\\Tools\\lumivane");
    // 17 characters and the terminating NUL, two bytes each.
    CHECK(log.calls == Calls{"regOpen(" + kRun + ")", "regQueryInfo(Lumivane)", "regQueryData(Lumivane,36)"});
    reg.grewBetweenQueries = true;
    CHECK(platform::stringValue(reg, kMachine, kRun, "Lumivane").empty());
    CHECK(start_with_windows::runValueData("C:", "lumivane.exe") == "\"C:\\lumivane\"");
    CHECK(start_with_windows::runValueData("D:\\v1.2", "lumi.vane.exe") == "\"D:\\v1.2\\lumi.vane\"");
}

namespace {
const auto kUser = RegistryRoot::CurrentUser;
const std::string kApproved = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::string kMine = "\"C:\\Tools\\lumivane\"";
const std::string kOther = "\"D:\\Old\\lumivane\"";
const std::string kMarkOff = std::string(1, '\x03') + std::string(11, '\0');
const std::string kMarkOn = std::string(1, '\x02') + std::string(11, '\0');
} // namespace

TEST_CASE("the start-up item: which root is written and removed, for an administrator and for a standard user") {
    const std::string refusedOn = "Lumivane could not be set to load at startup: Windows refused access to the list of "
                                  "programs it loads at startup.";
    const std::string stays = start_with_windows::machineValueStaysText();
    const struct {
        const char* name;
        const char* machine;  // the Run values before the click; nullptr: none
        const char* user;
        bool machineOff, userOff;  // switched off in Windows's list
        std::set<RegistryRoot> readOnly;
        long refuseDelete;
        const char* machineAfter;
        const char* userAfter;
        bool on;  // after the click
        std::string message;
    } cases[] = {
        {"full rights: the machine's value", nullptr, nullptr, false, false, {}, 0, kMine.c_str(), nullptr, true, ""},
        {"an empty value is none, and is written over", "", nullptr, false, false, {}, 0, kMine.c_str(), nullptr,
         true, ""},
        {"a standard user: the user's value, its mark on again", nullptr, kOther.c_str(), false, true, {kMachine}, 0,
         nullptr, kMine.c_str(), true, ""},
        {"both roots refused: said once", nullptr, nullptr, false, false, {kMachine, kUser}, 0, nullptr, nullptr,
         false, refusedOn},
        {"on in both roots, one another copy's: removed from both", kOther.c_str(), kMine.c_str(), false, false, {}, 0,
         nullptr, nullptr, false, ""},
        {"a standard user's own value: removed, the machine's root not touched", nullptr, kMine.c_str(), false, false,
         {kMachine}, 0, nullptr, nullptr, false, ""},
        {"an administrator's value for every user stays: said in plain words", kMine.c_str(), kMine.c_str(), false,
         false, {kMachine}, 0, kMine.c_str(), nullptr, true, stays},
        {"that value switched off in Windows's list: off, without a word", kOther.c_str(), kMine.c_str(), true, false,
         {kMachine}, 0, kOther.c_str(), nullptr, false, ""},
        {"another failure: its code", kMine.c_str(), nullptr, false, false, {}, 1018, kMine.c_str(), nullptr, true,
         "Lumivane could not be removed from the programs loaded at startup: Windows reported error 1018."},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        fakes::FakeHub hub;
        auto& reg = hub.os.registry;
        if (c.machine) reg.putString(kMachine, kRun, "Lumivane", c.machine);
        if (c.user) reg.putString(kUser, kRun, "Lumivane", c.user);
        if (c.machineOff) reg.putValue(kMachine, kApproved, "Lumivane", platform::kRegBinary, kMarkOff);
        if (c.userOff) reg.putValue(kUser, kApproved, "Lumivane", platform::kRegBinary, kMarkOff);
        reg.readOnlyRoots = c.readOnly;
        reg.refuseDelete = c.refuseDelete;
        hub.logic.start();
        const bool wasOn = hub.logic.startsWithWindows;
        CHECK(caption(hub.logic) == start_with_windows::startupCaption(wasOn));
        hub.os.log.calls.clear();
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);

        const auto messages = hub.os.log.only({"messageBox"});
        CHECK(messages == (c.message.empty() ? Calls{} : Calls{"messageBox(" + c.message + "|Lumivane|48)"}));
        // Switching off deletes only where a value was found.
        if (wasOn) CHECK(hub.os.log.only({"regDelete"}).size() == (c.machine ? 1u : 0u) + (c.user ? 1u : 0u));
        CHECK(hub.logic.startsWithWindows == c.on);
        CHECK(caption(hub.logic) == start_with_windows::startupCaption(c.on));
        for (auto [root, after] : {std::pair{kMachine, c.machineAfter}, std::pair{kUser, c.userAfter}}) {
            CAPTURE(static_cast<unsigned>(root));
            const auto* value = reg.find(root, kRun, "Lumivane");
            CHECK((value && value->type == platform::kRegSz ? platform::stringValue(reg, root, kRun, "Lumivane")
                                                           : "(none)") == (after ? after : "(none)"));
        }
        if (c.userOff && c.on) CHECK(reg.find(kUser, kApproved, "Lumivane")->bytes == kMarkOn);
    }
    // A value deleted behind the program's back: switching off reaches the wanted state quietly.
    fakes::FakeHub hub;
    hub.logic.start();
    hub.logic.startsWithWindows = true;
    hub.logic.onMenuCommand(menu_id::kStartWithWindows);
    CHECK_FALSE(hub.logic.startsWithWindows);
    CHECK_FALSE(hub.os.log.contains("regDelete"));
    CHECK_FALSE(hub.os.log.contains("messageBox"));
    // Asked to switch on while the user's own value already runs: no second value, which would start a second copy.
    hub.os.registry.putString(kUser, kRun, "Lumivane", kOther);
    hub.logic.setStartWithWindows(true);
    CHECK_FALSE(hub.os.log.contains("regSet"));
    CHECK(hub.logic.startsWithWindows);
    CHECK(caption(hub.logic) == "Load at Startup");
}
