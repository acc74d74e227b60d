#include "actions/frm_turn_mon_off.h"
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
        Calls inactive{"screenSaveActive()", "messageBox(No Screen Saver is selected.|Lumivane|0)",
                       "start(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1|2)"};
        CHECK(hub.os.log.calls == (active == 1 ? Calls{"screenSaveActive()", "desktopSysCommand(61760|0)"} : inactive));
    }
}

TEST_CASE("Turn Monitor Off: straight to the desktop on XP and 2000, through the cover window on any other version") {
    // 5.2 and later minors of 5 are neither; 0.0.0 is a system that cannot be asked.
    const platform::OsVersion versions[] = {{5, 1, 2}, {5, 0, 0}, {5, 2, 2}, {6, 0, 2}, {4, 90, 1}, {4, 0, 2}, {0, 0, 0}};
    for (const auto& version : versions) {
        CAPTURE(version.major);
        CAPTURE(version.minor);
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
