#include "fakes/recording.h"
#include "folders/settings_file.h"
#include "shell/mod_systray.h"

#include <doctest/doctest.h>

using namespace lumivane;
using Calls = std::vector<std::string>;

namespace {
const std::string kIni = "C:\\Tools\\lumivane.ini";
constexpr unsigned kRightButtonUp = 0x0205;

std::uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void* handle(std::uintptr_t value) { return reinterpret_cast<void*>(value); }
std::u16string tipText(const platform::TrayRecord& record) { return std::u16string(record.tip.data()); }

// The hub with the tray picture among its images, loaded.
struct Hub : fakes::FakeHub {
    int turnPicture = 0;
    explicit Hub(bool load = true) {
        form.ilsMenu.add("TURN", "Turn", &turnPicture);
        if (load) form.Form_Load();
    }
};
} // namespace

TEST_CASE("a second copy says so, ends, and touches nothing else") {
    Hub hub(false);
    hub.os.instance.othersRunning = true;
    hub.form.Form_Load();
    CHECK(hub.os.log.calls == Calls{"anotherInstanceRunning()", "messageBox(Already running|Lumivane|16)", "unload()"});
    CHECK(hub.os.files.files.empty());
    CHECK(SettingsPathFor("C:\\") == "C:\\\\lumivane.ini");  // the backslash always goes in
}

TEST_CASE("start-up: Run value, drives and folders, then the icon, then the menu engine, then hidden") {
    Hub hub;
    CHECK(hub.os.log.calls == Calls{"anotherInstanceRunning()", "regOpen(SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run)",
                                    "logicalDriveStrings()", "fileExists(" + kIni + ")", "replaceFile(" + kIni + ")",
                                    "readFile(" + kIni + ")", "trayAdd()", "AttachCoolMenu(true)",
                                    "CoolMenuComplexChecks(false)", "hide()"});
    CHECK(hub.form.mnuPopup.folder(0).caption == "1. C:\\");
    const auto& record = hub.os.tray.added.at(0);
    CHECK(record.window == fakes::FakeFormHost::kWindow);
    CHECK(record.icon == &hub.turnPicture);
    CHECK(record.callbackMessage == modSystray::kTrayCallbackMessage);
    CHECK(tipText(record) == u"Lumivane");
    CHECK(hub.os.menuEngine.helpObj == &hub.form.HelpObj);
    CHECK(hub.os.menuEngine.images == &hub.form.ilsMenu);
}

TEST_CASE("a settings file another program holds is reported at start-up, and left alone") {
    Hub hub(false);
    hub.os.files.files[kIni] = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nE:\\Mine\r\n";
    hub.os.files.unreadable.insert(kIni);
    hub.form.Form_Load();
    auto calls = hub.os.log.only({"readFile", "replaceFile", "messageBox", "hide"});
    REQUIRE(calls.size() == 3);
    CHECK(calls[1].rfind("messageBox(The folders could not be read from " + kIni + ".", 0) == 0);
    CHECK(calls[1].find("|Lumivane|48)") != std::string::npos);
    CHECK(hub.os.files.files[kIni] == "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nE:\\Mine\r\n");
}

TEST_CASE("the tray record of the 32-bit program field by field, its tip cut so that the NUL survives") {
    auto record = modSystray::FillIconData(handle(0x12345), 1, 7, 0x8001, handle(0x0BADF00D), "Lumivane");
    auto wide = platform::TrayRecordBytes(record, {4, 2});
    REQUIRE(wide.size() == 152);
    for (auto [at, value] : {std::pair{0, 152u}, {4, 0x12345u}, {8, 1u}, {12, 7u}, {16, 0x8001u}, {20, 0x0BADF00Du}})
        CHECK(le32(wide, size_t(at)) == value);
    CHECK(std::vector<unsigned char>(wide.begin() + 38, wide.begin() + 44) == std::vector<unsigned char>{'e', 0, 0, 0, ' ', 0});
    auto ansi = platform::TrayRecordBytes(record, platform::kTrayRecordAnsi32);
    CHECK(std::string(ansi.begin() + 24, ansi.end()) == std::string("Lumivane") + '\0' + std::string(55, ' '));

    CHECK(tipText(modSystray::FillIconData(nullptr, 1, 7, 0, nullptr, std::string(70, 'x'))) == std::u16string(63, u'x'));
    CHECK(tipText(modSystray::FillIconData(nullptr, 1, 7, 0, nullptr, "L\xC3\xBCm \xF0\x9F\x98\x80")) ==
          u"L\u00FCm \U0001F600");
}

TEST_CASE("only the right button's release opens the menu; the chosen item runs after it closes") {
    Hub hub;
    hub.os.log.calls.clear();
    for (unsigned message : {0x0201u, 0x0202u, 0x0204u, 0x0206u, kRightButtonUp + 0x10000u}) hub.form.onTrayMessage(message);
    CHECK(hub.os.log.calls.empty());

    hub.form.onTrayMessage(kRightButtonUp);  // dismissed
    CHECK(hub.os.tray.popups.at(0)[2].text == "1. C:\\");
    hub.os.tray.choice = menu_id::kCustomize;
    hub.form.onTrayMessage(kRightButtonUp);
    hub.form.onTrayMessage(kRightButtonUp);  // again while shown: stays shown
    hub.os.tray.choice = menu_id::kExit;
    hub.form.onTrayMessage(kRightButtonUp);
    CHECK(hub.os.log.calls == Calls{"popup(68140)", "popup(68140)", "show()", "popup(68140)", "show()", "popup(68140)",
                                    "trayRemove()", "unload()"});
    CHECK(hub.os.tray.removed.at(0).window == hub.os.tray.added.at(0).window);
    hub.form.onWindowGone();  // the window's end after Exit removes nothing a second time
    CHECK(hub.os.tray.removed.size() == 1);
}

TEST_CASE("the icon: back when the taskbar is made again, retried when refused, removed once with its window") {
    Hub hub(false);
    hub.os.tray.accepts = false;  // no taskbar yet at log-on
    hub.form.Form_Load();
    SUBCASE("refused and never shown: nothing to remove") {
        hub.form.onWindowGone();
        CHECK(hub.os.tray.removed.empty());
    }
    SUBCASE("shown at the next taskbar, gone with the window, not back for a late taskbar") {
        hub.os.tray.accepts = true;
        hub.form.onTaskbarCreated();
        REQUIRE(hub.os.tray.added.size() == 2);
        CHECK(hub.os.tray.added[1].icon == &hub.turnPicture);
        hub.form.onWindowGone();
        hub.form.onWindowGone();
        hub.form.onTaskbarCreated();
        CHECK(hub.os.tray.removed.size() == 1);
        CHECK(hub.os.tray.added.size() == 2);
    }
}
