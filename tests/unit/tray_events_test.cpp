#include "fakes/recording.h"
#include "shell/tray_events.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

using namespace lumivane;
using Lines = std::vector<std::string>;

namespace {
namespace ev = tray_event;
constexpr unsigned kMouseMove = 0x0200, kLeftDown = 0x0201, kLeftUp = 0x0202, kLeftDouble = 0x0203,
                   kRightDown = 0x0204, kRightDouble = 0x0206, kMiddleUp = 0x0208;

std::string said(TrayAction action) {
    return action == TrayAction::openAtPointer ? "pointer" : action == TrayAction::openAtIcon ? "icon" : "-";
}

// Feeds the notifications in order; a menu that opens closes again at once,
// as when the user dismisses it, unless the test keeps it open.
Lines feed(TrayEvents& events, const std::vector<unsigned>& notifications, bool closeEachMenu = true) {
    Lines out;
    for (unsigned n : notifications) {
        TrayAction action = events.onNotification(n);
        out.push_back(said(action));
        if (action == TrayAction::ignore) continue;
        events.menuOpened();
        if (closeEachMenu) events.menuClosed();
    }
    return out;
}
} // namespace

TEST_CASE("the mouse: only the right button's release opens, at the pointer; the click's WM_CONTEXTMENU opens nothing") {
    TrayEvents events;
    // First version: the mouse messages alone, each release opens again.
    CHECK(feed(events, {kMouseMove, kLeftDown, kLeftUp, kLeftDouble, kRightDown, ev::kRightButtonUp, kRightDouble,
                        kMiddleUp, ev::kRightButtonUp, ev::kRightButtonUp}) ==
          Lines{"-", "-", "-", "-", "-", "pointer", "-", "-", "pointer", "pointer"});
    // Newer versions: a left click ends with NIN_SELECT, a right click with WM_CONTEXTMENU.
    CHECK(feed(events, {kLeftDown, kLeftUp, ev::kSelect, kRightDown, ev::kRightButtonUp, ev::kContextMenu}) ==
          Lines{"-", "-", "-", "-", "pointer", "-"});
    // The click's WM_CONTEXTMENU arriving while its menu is still open is used up there.
    CHECK(feed(events, {ev::kRightButtonUp}, false) == Lines{"pointer"});
    CHECK(feed(events, {ev::kContextMenu, kMouseMove}) == Lines{"-", "-"});
    events.menuClosed();
    CHECK(feed(events, {ev::kContextMenu}) == Lines{"icon"});  // Shift+F10 afterwards still opens

    // A right click whose WM_CONTEXTMENU never comes does not swallow a later Shift+F10.
    for (unsigned between : {kMouseMove, kLeftUp, kRightDown, ev::kSelect, ev::kKeySelect}) {
        CAPTURE(between);
        CHECK(feed(events, {ev::kRightButtonUp, between, ev::kContextMenu}) ==
              Lines{"pointer", between == ev::kKeySelect ? "icon" : "-", "icon"});
    }
    // A tip or a balloon coming and going is no mouse activity: the click's own still comes.
    constexpr unsigned kBalloonHide = 0x0403, kPopupClose = 0x0407;
    CHECK(feed(events, {ev::kRightButtonUp, kBalloonHide, kPopupClose, ev::kContextMenu, ev::kContextMenu}) ==
          Lines{"pointer", "-", "-", "-", "icon"});
}

TEST_CASE("the keyboard: Enter, Space, Shift+F10 and the Menu key open at the icon, once for each gesture") {
    TrayEvents events;
    CHECK(feed(events, {ev::kKeySelect, ev::kContextMenu, ev::kKeySelect}) == Lines{"icon", "icon", "icon"});
    // Enter may come as two NIN_KEYSELECT; the second finds the menu open.
    CHECK(feed(events, {ev::kKeySelect, ev::kKeySelect, ev::kContextMenu, ev::kRightButtonUp}, false) ==
          Lines{"icon", "-", "-", "-"});
    CHECK(events.menuOpen());
    events.menuClosed();
    CHECK_FALSE(events.menuOpen());
    // That release's WM_CONTEXTMENU, late, is still the click's.
    CHECK(feed(events, {ev::kContextMenu, ev::kContextMenu}) == Lines{"-", "icon"});
}

TEST_CASE("the hub opens the keyboard's menu at the icon with the shell's point, and runs the chosen item after it") {
    fakes::FakeHub hub;
    hub.logic.start();
    hub.os.log.calls.clear();
    hub.os.tray.choice = menu_id::kCustomize;
    hub.logic.onTrayMessage(tray_event::kKeySelect, platform::ScreenPoint{-300, 740});
    hub.os.tray.choice = 0;
    hub.logic.onTrayMessage(tray_event::kContextMenu);  // no point from the shell
    hub.logic.onTrayMessage(tray_event::kSelect, platform::ScreenPoint{1, 2});
    hub.logic.onTrayMessage(tray_event::kRightButtonUp, platform::ScreenPoint{5, 6});
    hub.logic.onTrayMessage(tray_event::kContextMenu, platform::ScreenPoint{5, 6});
    CHECK(hub.os.log.only({"popup", "show"}) ==
          Lines{"popupAtIcon(68140,1,-300,740)", "show()", "popupAtIcon(68140,1,-)", "popup(68140)"});
    REQUIRE(hub.os.tray.popups.size() == 3);
    CHECK(hub.os.tray.popups[0].size() == hub.os.tray.popups[2].size());  // the same menu either way
}

TEST_CASE("/menu run alone opens the menu a started hub shows, at the pointer, its items made first") {
    fakes::FakeHub started;
    started.logic.start();
    started.logic.onTrayMessage(tray_event::kRightButtonUp);
    fakes::FakeHub alone;
    alone.logic.prepareForCommand("C:\\Tools\\lumivane.ini", FolderList{"C:\\"});
    alone.logic.run(OpenMenu{});
    CHECK(alone.os.log.only({"attach", "setComplexChecks", "popup"}) ==
          Lines{"attach(true)", "setComplexChecks(false)", "popup(68140)"});
    REQUIRE(started.os.tray.popups.size() == 1);
    REQUIRE(alone.os.tray.popups.size() == 1);
    auto texts = [](const std::vector<platform::PopupLine>& lines) {
        Lines out;
        for (const auto& line : lines) out.push_back(line.text);
        return out;
    };
    CHECK(texts(alone.os.tray.popups[0]) == texts(started.os.tray.popups[0]));
}
