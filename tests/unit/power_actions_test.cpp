#include "actions/frm_turn_mon_off.h"
#include "actions/win_version.h"
#include "fakes/recording.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>

using namespace lumivane;

namespace {
struct Hub {
    fakes::FakeOs os;
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};
};
using Calls = std::vector<std::string>;
} // namespace

TEST_CASE("Run Screen Saver with a screen saver active sends SC_SCREENSAVE to the desktop only") {
    Hub hub;
    hub.os.desktop.screenSaveValue = 1;
    hub.form.onMenuCommand(menu_id::kRunScr);
    CHECK(hub.os.log.calls == Calls{"screenSaveActive()", "desktopSysCommand(61760|0)"});
}

TEST_CASE("Run Screen Saver without one: the message, then the Display settings minimized, nothing to the desktop") {
    for (std::uint32_t value : {0u, 2u, 0xFFFFFFFFu}) {
        CAPTURE(value);
        Hub hub;
        hub.os.desktop.screenSaveValue = value;
        hub.form.onMenuCommand(menu_id::kRunScr);
        CHECK(hub.os.log.calls == Calls{"screenSaveActive()", "messageBox(No Screen Saver is selected.|Lumivane|0)",
                                        "start(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1|2)"});
    }
}

TEST_CASE("the version table, row by row") {
    struct Row {
        unsigned major, minor, platform;
        const char* text;
    };
    const Row rows[] = {
        {5, 1, 2, "Windows XP"},      {5, 1, 1, "Windows XP"},         {5, 0, 2, "Windows 2000"},
        {5, 0, 0, "Windows 2000"},    {5, 2, 2, ""},                   {6, 0, 2, "Unknown Windows Version"},
        {6, 1, 2, "Unknown Windows Version"}, {10, 0, 2, "Unknown Windows Version"},
        {4, 10, 1, "Windows 98"},     {4, 0, 1, "Windows 95"},         {4, 90, 1, "Windows 98"},
        {4, 0, 2, "Windows NT 4.0"},  {4, 10, 2, "Windows NT 4.0"},    {3, 51, 2, "Windows NT 3.x"},
        {3, 10, 0, "Windows 3.x"},    {3, 10, 1, "Windows 3.x"},       {0, 0, 0, "Unknown Windows Version"},
    };
    for (const auto& r : rows) {
        CAPTURE(r.major);
        CAPTURE(r.minor);
        CAPTURE(r.platform);
        CHECK(modWinVer::ClassifyWinVersion(r.major, r.minor, r.platform) == r.text);
    }
}

TEST_CASE("Turn Monitor Off goes straight to the desktop on XP and 2000, through the cover window elsewhere") {
    struct Case {
        platform::OsVersion version;
        Calls expected;
    };
    const Case cases[] = {
        {{5, 1, 2}, {"osVersion()", "desktopSysCommand(61808|2)"}},
        {{5, 0, 2}, {"osVersion()", "desktopSysCommand(61808|2)"}},
        {{5, 2, 2}, {"osVersion()", "showTurnMonOff()"}},
        {{6, 0, 2}, {"osVersion()", "showTurnMonOff()"}},
        {{4, 10, 1}, {"osVersion()", "showTurnMonOff()"}},
        // A system that cannot be asked reads 0.0.0.
        {{0, 0, 0}, {"osVersion()", "showTurnMonOff()"}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.version.major);
        CAPTURE(c.version.minor);
        Hub hub;
        hub.os.osVersion.version = c.version;
        hub.form.onMenuCommand(menu_id::kTurnMonOff);
        CHECK(hub.os.log.calls == c.expected);
    }
}

TEST_CASE("rounding a half goes to the even neighbour") {
    CHECK(RoundHalfEven(2.5) == 2);
    CHECK(RoundHalfEven(3.5) == 4);
    CHECK(RoundHalfEven(-2.5) == -2);
    CHECK(RoundHalfEven(-3.5) == -4);
    CHECK(RoundHalfEven(2.4999) == 2);
    CHECK(RoundHalfEven(2.5001) == 3);
    CHECK(RoundHalfEven(-0.4) == 0);
    CHECK(RoundHalfEven(7.0) == 7);
}

TEST_CASE("the cursor goes right of and below the window's centre") {
    // 15 twips a pixel: the outer rectangle 293,206 239x140 has its centre at
    // 412.5,276; +4 px and +17.33 px.
    TwipsRect outer{293 * 15.0, 206 * 15.0, 239 * 15.0, 140 * 15.0};
    CHECK(CoverCursorPoint(outer, 15, 15) == PixelPoint{RoundHalfEven(412.5 + 4), 293});
    CHECK(CoverCursorPoint(outer, 15, 15).x == 416);  // 416.5 rounds to even
    // 12 twips a pixel (120 dpi): 60 and 260 twips are 5 and 21.67 pixels.
    TwipsRect big{100 * 12.0, 50 * 12.0, 301 * 12.0, 174 * 12.0};
    CHECK(CoverCursorPoint(big, 12, 12) == PixelPoint{256, 159});  // 255.5 -> 256, 158.67 -> 159
    // Left of the primary screen.
    TwipsRect left{-1000 * 15.0, 0, 239 * 15.0, 140 * 15.0};
    CHECK(CoverCursorPoint(left, 15, 15).x == -876);  // -880.5 + 4 = -876.5 -> -876
}

TEST_CASE("twips become pixels at the screen's resolution") {
    using namespace turn_mon_off_layout;
    CHECK(TwipsToPixels(kClientWidth, 96) == 237);
    CHECK(TwipsToPixels(kClientHeight, 96) == 138);
    CHECK(TwipsToPixels(kClientWidth, 120) == 296);  // 296.25
    CHECK(TwipsToPixels(kClientHeight, 144) == 207);
    CHECK(TwipsToPixels(kCancelLeft, 96) == 168);
    CHECK(TwipsToPixels(kCancelWidth, 96) == 57);
    CHECK(PointsToPixels(kFontTenthsOfPoint, 96) == 18);
    CHECK(PointsToPixels(kFontTenthsOfPoint, 120) == 23);  // 22.5
}

TEST_CASE("the cover window's load: cursor, power-off through its own handle, counter at 0") {
    fakes::CallLog log;
    fakes::FakeTurnMonOffHost host(log);
    host.outer = {4395, 3090, 3645, 2160};  // centre 6217.5, 4170 twips
    frmTurnMonOff form(host);
    form.Form_Load();
    // (6217.5 + 60) / 15 = 418.5 -> 418; (4170 + 260) / 15 = 295.33 -> 295
    CHECK(log.calls == Calls{"setCursorPos(418,295)", "monitorPower(2)"});
    CHECK(form.mouseMoves() == 0);
}

TEST_CASE("two mouse moves are absorbed, the third wakes the display and closes, shared by window and button") {
    fakes::CallLog log;
    fakes::FakeTurnMonOffHost host(log);
    frmTurnMonOff form(host);
    form.Form_Load();
    log.calls.clear();

    form.Form_MouseMove();
    form.cmdCancel_MouseMove();
    CHECK(log.calls.empty());
    CHECK(form.mouseMoves() == 2);
    form.Form_MouseMove();
    CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});
    CHECK(form.mouseMoves() == 0);

    // A fresh load starts counting again from 0, whatever was counted before.
    log.calls.clear();
    form.cmdCancel_MouseMove();
    form.Form_Load();
    log.calls.clear();
    form.Form_MouseMove();
    form.Form_MouseMove();
    CHECK(log.calls.empty());
}

TEST_CASE("any key, any mouse button or Cancel wakes the display once and closes") {
    void (frmTurnMonOff::*handlers[])() = {&frmTurnMonOff::Form_KeyDown, &frmTurnMonOff::Form_MouseDown,
                                           &frmTurnMonOff::cmdCancel_Click, &frmTurnMonOff::cmdCancel_KeyDown};
    for (auto handler : handlers) {
        fakes::CallLog log;
        fakes::FakeTurnMonOffHost host(log);
        frmTurnMonOff form(host);
        form.Form_Load();
        form.Form_MouseMove();
        log.calls.clear();
        (form.*handler)();
        CHECK(log.calls == Calls{"monitorPower(-1)", "closeWindow()"});
    }
}
