#include "fakes/recording.h"
#include "shell/frm_folder_browse.h"
#include "shell/mod_systray.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

std::uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void* handle(std::uintptr_t value) {
    return reinterpret_cast<void*>(value);
}

std::u16string tipText(const platform::TrayRecord& record) {
    return std::u16string(record.tip.data());
}

struct Hub {
    fakes::FakeOs os;
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};
    int turnPicture = 0;
    int otherPicture = 0;

    Hub() {
        form.ilsMenu.add("Run", "Run", &otherPicture);
        form.ilsMenu.add("TURN", "Turn", &turnPicture);
    }
};

} // namespace

TEST_CASE("the 88-byte record of the first version, byte by byte") {
    auto record = modSystray::FillIconData(handle(0x00012345), 1, 7, modSystray::kTrayCallbackMessage,
                                           handle(0x0BADF00D), "Lumivane");
    auto bytes = platform::TrayRecordBytes(record, platform::kTrayRecordAnsi32);
    REQUIRE(bytes.size() == 88);
    CHECK(le32(bytes, 0) == 88);
    CHECK(le32(bytes, 4) == 0x00012345);
    CHECK(le32(bytes, 8) == 1);
    CHECK(le32(bytes, 12) == 7);
    CHECK(le32(bytes, 16) == 0x8001);
    CHECK(le32(bytes, 20) == 0x0BADF00D);
    std::string tip(bytes.begin() + 24, bytes.end());
    CHECK(tip == std::string("Lumivane") + '\0' + std::string(55, ' '));
}

TEST_CASE("the wide record of the 32-bit program: 152 bytes, a tip of 64 UTF-16 units") {
    auto record = modSystray::FillIconData(handle(0x11223344), 1, 7, 0x8001, handle(0x99),
                                           "Lumivane");
    auto wide32 = platform::TrayRecordBytes(record, {4, 2});
    CHECK(wide32.size() == 152);
    CHECK(le32(wide32, 0) == 152);
    CHECK(wide32[24] == 'L');
    CHECK(wide32[25] == 0);
    CHECK(wide32[24 + 8 * 2] == 0);       // the NUL after "Lumivane"
    CHECK(wide32[24 + 9 * 2] == ' ');     // then blanks
    CHECK(wide32[24 + 63 * 2] == ' ');
}

TEST_CASE("a tip is cut so that its NUL survives, and the removal record names the same icon") {
    auto record = modSystray::FillIconData(nullptr, 1, 7, 0, nullptr, std::string(70, 'x'));
    CHECK(tipText(record) == std::u16string(63, u'x'));
    CHECK(record.tip[63] == u'\0');

    // A non-ASCII tip reaches the wide record as UTF-16.
    record = modSystray::FillIconData(nullptr, 1, 7, 0, nullptr, "L\xC3\xBCm \xF0\x9F\x98\x80");
    CHECK(tipText(record) == u"L\u00FCm \U0001F600");

    fakes::FakeOs os;
    modSystray::AddToTray(os.tray, "Lumivane", handle(0x42), handle(0x43));
    modSystray::RemoveFromTray(os.tray, handle(0x42));
    REQUIRE(os.tray.added.size() == 1);
    REQUIRE(os.tray.removed.size() == 1);
    CHECK(os.tray.added[0].window == os.tray.removed[0].window);
    CHECK(os.tray.added[0].id == 1);
    CHECK(os.tray.removed[0].id == 1);
    CHECK(os.tray.added[0].flags == 7);
    CHECK(os.tray.added[0].icon == handle(0x43));
    CHECK(tipText(os.tray.removed[0]).empty());
}

TEST_CASE("start-up builds the folder items, then adds the icon, then hides the window") {
    Hub hub;
    hub.form.Form_Load();
    auto order = hub.os.log.only({"readFile", "trayAdd", "hide"});
    CHECK(order == std::vector<std::string>{"readFile(C:\\Tools\\lumivane.ini)", "trayAdd()", "hide()"});
    REQUIRE(hub.os.tray.added.size() == 1);
    const auto& record = hub.os.tray.added[0];
    CHECK(record.window == fakes::FakeFormHost::kWindow);
    CHECK(record.icon == &hub.turnPicture);
    CHECK(record.callbackMessage == modSystray::kTrayCallbackMessage);
    CHECK(tipText(record) == u"Lumivane");
    // The default file's one folder is already numbered when the icon appears.
    CHECK(hub.form.mnuPopup.folder(0).caption == "1. C:\\");
}

TEST_CASE("a second copy adds no icon") {
    Hub hub;
    hub.os.instance.othersRunning = true;
    hub.form.Form_Load();
    CHECK_FALSE(hub.os.log.contains("tray"));
}

TEST_CASE("only the right button's release opens the menu") {
    Hub hub;
    hub.form.Form_Load();
    for (unsigned message : {0x0200u, 0x0201u, 0x0202u, 0x0203u, 0x0204u, 0x0206u, 0x0207u, 0x0208u, 0x0209u,
                             0x0400u, 0x0205u + 0x10000u, 517u * 15u})
        hub.form.onTrayMessage(message);
    CHECK(hub.os.tray.popups.empty());

    hub.form.onTrayMessage(0x0205);
    REQUIRE(hub.os.tray.popups.size() == 1);
    CHECK(hub.os.tray.popupOwners[0] == fakes::FakeFormHost::kWindow);
    CHECK(hub.os.tray.popups[0][2].text == "1. C:\\");
}

TEST_CASE("the chosen item runs after the popup returns; a dismissed popup runs nothing") {
    Hub hub;
    hub.form.Form_Load();
    hub.os.log.calls.clear();

    hub.os.tray.choice = 0;
    hub.form.onTrayMessage(0x0205);
    CHECK(hub.os.log.calls == std::vector<std::string>{"popup()"});

    hub.os.tray.choice = menu_id::kCustomize;
    hub.form.onTrayMessage(0x0205);
    CHECK(hub.os.log.calls == std::vector<std::string>{"popup()", "popup()", "show()"});
    CHECK(hub.host.visible);

    // Customize again while shown: stays shown, nothing else happens.
    hub.form.onTrayMessage(0x0205);
    CHECK(hub.host.visible);
    CHECK_FALSE(hub.os.log.contains("trayRemove"));

    hub.os.tray.choice = menu_id::kExit;
    hub.os.log.calls.clear();
    hub.form.onTrayMessage(0x0205);
    CHECK(hub.os.log.calls == std::vector<std::string>{"popup()", "trayRemove()", "unload()"});
    CHECK(hub.os.tray.removed[0].window == fakes::FakeFormHost::kWindow);

    // The window's destruction after Exit removes nothing a second time.
    hub.form.onWindowGone();
    CHECK(hub.os.tray.removed.size() == 1);
}

TEST_CASE("a window closed other than by Exit takes its icon with it, once") {
    Hub hub;
    hub.form.Form_Load();
    hub.form.onWindowGone();
    hub.form.onWindowGone();
    CHECK(hub.os.tray.removed.size() == 1);
    // Nor does a late taskbar broadcast bring it back.
    hub.form.onTaskbarCreated();
    CHECK(hub.os.tray.added.size() == 1);
}

TEST_CASE("a window that never had an icon removes none") {
    Hub hub;
    hub.os.tray.accepts = false;
    hub.form.Form_Load();
    hub.form.onWindowGone();
    CHECK(hub.os.tray.removed.empty());
}

TEST_CASE("the icon comes back when the taskbar is created again, and a refused icon is retried") {
    Hub hub;
    hub.os.tray.accepts = false;  // no taskbar yet at log-on
    hub.form.Form_Load();
    REQUIRE(hub.os.tray.added.size() == 1);
    hub.os.tray.accepts = true;
    hub.form.onTaskbarCreated();
    REQUIRE(hub.os.tray.added.size() == 2);
    CHECK(hub.os.tray.added[1].icon == &hub.turnPicture);
    CHECK(hub.os.tray.added[1].window == fakes::FakeFormHost::kWindow);
    hub.form.onWindowGone();
    CHECK(hub.os.tray.removed.size() == 1);
}
