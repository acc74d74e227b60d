#include "fakes/recording.h"
#include "folders/registry_values.h"
#include "folders/settings_file.h"
#include "folders/start_with_windows.h"
#include "shell/tray_icon.h"

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

TEST_CASE("start-up: Run value, drives and folders, then the icon, then the menu engine, then hidden") {
    StartedHub hub;
    CHECK(hub.os.log.calls == Calls{"regOpen(" + kRun + ")",
                                    "logicalDriveStrings()", "fileExists(" + kIni + ")", "replaceFile(" + kIni + ")",
                                    "readFile(" + kIni + ")", "trayAdd()", "attach(true)",
                                    "setComplexChecks(false)", "hide()"});
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
    hub.logic.prepareForCommand(kIni, FolderList{"C:\\", "D:\\Music"});
    hub.logic.run(OpenFolder{1});
    hub.logic.run(Customize{});
    hub.logic.onCancel();  // no file to read back, and none is made
    CHECK(hub.os.log.calls == Calls{"regOpen(" + kRun + ")", "folderExists(D:\\Music)", "start(Explorer D:\\Music|1)",
                                    "show()", "hide()", "fileExists(" + kIni + ")"});
    CHECK(hub.host.boxes[1] == "D:\\Music");

    // Unreadable: said once, and the rows stay empty rather than showing the defaults as the user's.
    fakes::FakeHub held;
    held.logic.prepareForCommand(kIni, std::nullopt);
    held.logic.run(OpenFolder{0});
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
    // Each opening reads the start-up state again first.
    const std::string reread = "regOpen(" + kRun + ")";
    CHECK(hub.os.log.calls == Calls{reread, "popup(68140)", reread, "popup(68140)", "show()", reread, "popup(68140)",
                                    "trayRemove()", "unload()"});
    CHECK(hub.os.tray.removed.at(0).window == hub.os.tray.added.at(0).window);
    hub.logic.onWindowGone();  // the window's end after Exit removes nothing a second time
    CHECK(hub.os.tray.removed.size() == 1);
}

TEST_CASE("the icon: back when the taskbar is made again, retried when refused, removed once with its window") {
    StartedHub hub(false);
    hub.os.tray.accepts = false;  // no taskbar yet at log-on
    hub.logic.start();
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

TEST_CASE("the Run value: type and size first, then exactly that many bytes; a value that grew meanwhile is none") {
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    reg.putString(kMachine, kRun, "Lumivane", "C:\\Tools\\lumivane");
    CHECK(registry_values::stringValue(reg, kMachine, kRun, "Lumivane") == "C:\\Tools\\lumivane");
    // 17 characters and the terminating NUL, two bytes each.
    CHECK(log.calls == Calls{"regOpen(" + kRun + ")", "regQueryInfo(Lumivane)", "regQueryData(Lumivane,36)"});
    reg.grewBetweenQueries = true;
    CHECK(registry_values::stringValue(reg, kMachine, kRun, "Lumivane").empty());
    CHECK(start_with_windows::runValueData("C:", "lumivane.exe") == "\"C:\\lumivane\"");
    CHECK(start_with_windows::runValueData("D:\\v1.2", "lumi.vane.exe") == "\"D:\\v1.2\\lumi.vane\"");
}

TEST_CASE("the start-up item follows what the registry holds, and a click switches the Run value") {
    fakes::FakeHub hub;
    hub.logic.start();
    CHECK(caption(hub.logic) == "Don't Load at Startup");
    SUBCASE("a value left by a copy in another folder counts, an empty one not") {
        hub.os.registry.putString(kMachine, kRun, "Lumivane", "\"D:\\Old\\lumivane\"");
        hub.logic.readStartWithWindows();
        CHECK(hub.logic.startsWithWindows);
        hub.os.registry.putString(kMachine, kRun, "Lumivane", "");
        hub.logic.readStartWithWindows();
        CHECK_FALSE(hub.logic.startsWithWindows);
    }
    SUBCASE("on, then off") {
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);
        const auto* value = hub.os.registry.find(kMachine, kRun, "Lumivane");
        REQUIRE(value);
        CHECK(value->type == platform::kRegSz);
        CHECK(value->bytes == fakes::utf16Bytes("\"C:\\Tools\\lumivane\""));
        CHECK(caption(hub.logic) == "Load at Startup");
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);
        CHECK_FALSE(hub.os.registry.find(kMachine, kRun, "Lumivane"));
        CHECK(caption(hub.logic) == "Don't Load at Startup");
        CHECK_FALSE(hub.os.log.contains("messageBox"));
    }
    SUBCASE("a refused write: read back, still off, and said why") {
        hub.os.registry.refuseSet = platform::kRegAccessDenied;
        hub.os.log.calls.clear();
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);
        CHECK(caption(hub.logic) == "Don't Load at Startup");
        auto calls = hub.os.log.only({"regSet", "regOpen", "messageBox"});
        REQUIRE(calls.size() == 3);
        CHECK(calls[1] == "regOpen(" + kRun + ")");
        CHECK(calls[2] == "messageBox(Lumivane could not be set to load at startup: administrator rights are needed "
                          "to change the programs Windows loads at startup.|Lumivane|48)");
    }
    SUBCASE("a refused delete: still on, and said why") {
        hub.os.registry.putString(kMachine, kRun, "Lumivane", "\"C:\\Tools\\lumivane\"");
        hub.logic.readStartWithWindows();
        hub.os.registry.refuseDelete = 1018;  // ERROR_KEY_DELETED
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);
        CHECK(caption(hub.logic) == "Load at Startup");
        CHECK(hub.os.log.only({"messageBox"}) ==
              Calls{"messageBox(Lumivane could not be removed from the programs loaded at startup: "
                    "Windows reported error 1018.|Lumivane|48)"});
    }
    SUBCASE("a value deleted behind the program's back: switching off reaches the wanted state quietly") {
        hub.logic.startsWithWindows = true;
        hub.logic.onMenuCommand(menu_id::kStartWithWindows);
        CHECK_FALSE(hub.logic.startsWithWindows);
        CHECK_FALSE(hub.os.log.contains("messageBox"));
    }
}
