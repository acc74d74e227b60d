#include "actions/frm_turn_mon_off.h"
#include "actions/win_version.h"
#include "fakes/recording.h"

#include <doctest/doctest.h>

using namespace lumivane;
using Calls = std::vector<std::string>;

TEST_CASE("Run Screen Saver: SC_SCREENSAVE to the desktop when one is active, else the message and Display settings") {
    for (std::uint32_t active : {1u, 0u, 2u}) {
        CAPTURE(active);
        fakes::FakeHub hub;
        hub.os.desktop.screenSaveValue = active;
        hub.form.onMenuCommand(menu_id::kRunScr);
        CHECK(hub.os.log.calls == (active == 1 ? Calls{"screenSaveActive()", "desktopSysCommand(61760|0)"}
                                               : Calls{"screenSaveActive()", "messageBox(No Screen Saver is selected.|Lumivane|0)",
                                                       "start(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1|2)"}));
    }
}

TEST_CASE("Turn Monitor Off: straight to the desktop on XP and 2000, through the cover window on any other version") {
    const std::pair<platform::OsVersion, const char*> rows[] = {
        {{5, 1, 2}, "Windows XP"},    {{5, 0, 0}, "Windows 2000"},          {{5, 2, 2}, ""},
        {{6, 0, 2}, "Unknown Windows Version"}, {{4, 90, 1}, "Windows 98"}, {{4, 0, 1}, "Windows 95"},
        {{4, 10, 2}, "Windows NT 4.0"},         {{3, 51, 2}, "Windows NT 3.x"}, {{3, 10, 1}, "Windows 3.x"},
        {{0, 0, 0}, "Unknown Windows Version"},  // a system that cannot be asked
    };
    for (const auto& [version, name] : rows) {
        CAPTURE(name);
        CHECK(modWinVer::ClassifyWinVersion(version.major, version.minor, version.platformId) == name);
        fakes::FakeHub hub;
        hub.os.osVersion.version = version;
        hub.form.onMenuCommand(menu_id::kTurnMonOff);
        bool direct = version.major == 5 && version.minor < 2;
        CHECK(hub.os.log.calls == Calls{"osVersion()", direct ? "desktopSysCommand(61808|2)" : "showTurnMonOff()"});
    }
}

TEST_CASE("the cover window puts the cursor right of and below its centre, halves rounded to even") {
    CHECK(RoundHalfEven(2.5) == 2);
    CHECK(RoundHalfEven(3.5) == 4);
    CHECK(RoundHalfEven(-2.5) == -2);
    CHECK(RoundHalfEven(2.5001) == 3);
    // 15 twips a pixel: the centre 412.5,276 plus 60 and 260 twips.
    CHECK(CoverCursorPoint({293 * 15.0, 206 * 15.0, 239 * 15.0, 140 * 15.0}, 15, 15) == PixelPoint{416, 293});
    // 12 twips a pixel: 255.5 -> 256, 158.67 -> 159; left of the primary screen.
    CHECK(CoverCursorPoint({100 * 12.0, 50 * 12.0, 301 * 12.0, 174 * 12.0}, 12, 12) == PixelPoint{256, 159});
    CHECK(CoverCursorPoint({-1000 * 15.0, 0, 239 * 15.0, 140 * 15.0}, 15, 15).x == -876);
}

TEST_CASE("the cover window turns the display off; two moves are absorbed, the third or any key or click wakes it") {
    fakes::CallLog log;
    fakes::FakeTurnMonOffHost host(log);
    frmTurnMonOff form(host);
    form.Form_Load();
    // (6217.5 + 60) / 15 = 418.5 -> 418; (4170 + 260) / 15 = 295.33 -> 295
    CHECK(log.calls == Calls{"setCursorPos(418,295)", "monitorPower(2)"});
    log.calls.clear();
    form.Form_MouseMove();
    form.cmdCancel_MouseMove();  // the window and its button share the count
    CHECK(log.calls.empty());
    form.Form_MouseMove();
    CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});

    for (auto input : {&frmTurnMonOff::Form_KeyDown, &frmTurnMonOff::Form_MouseDown, &frmTurnMonOff::cmdCancel_Click,
                       &frmTurnMonOff::cmdCancel_KeyDown}) {
        form.Form_MouseMove();
        form.Form_Load();  // a new showing counts from 0 again
        log.calls.clear();
        form.Form_MouseMove();
        form.Form_MouseMove();
        REQUIRE(log.calls.empty());
        (form.*input)();
        CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});
    }
}
