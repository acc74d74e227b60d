#include "about/about_layout.h"
#include "about/sys_info.h"
#include "fakes/recording.h"

#include <doctest/doctest.h>

using namespace lumivane;
using Calls = std::vector<std::string>;

TEST_CASE("the secret label shows on the eighth opening only, and the count stops at its limit") {
    std::int16_t count = 0;
    std::vector<int> shownOn;
    for (int opening = 1; opening <= 20; ++opening)
        if (about::CountOpening(count)) shownOn.push_back(opening);
    CHECK(shownOn == std::vector<int>{8});
    std::int16_t full = 32767;
    CHECK_FALSE(about::CountOpening(full));
    CHECK(full == 32767);

    // The hub hands the box its own counter; a heading opens nothing.
    fakes::FakeHub hub;
    for (int i = 0; i < 3; ++i) hub.form.onMenuCommand(menu_id::kAbout);
    hub.form.onMenuCommand(menu_id::kSep1);
    CHECK(hub.os.log.calls == Calls{"aboutBox(0)", "aboutBox(1)", "aboutBox(2)"});
    CHECK(hub.form.AboutCount == 3);
}

TEST_CASE("a DWORD reads as &h and its digits; a type that is not text leaves the value alone") {
    CHECK(about::KeyValueText(platform::kRegDword, {0x03, 0x02, 0x01, 0x00}) == "&h10203");
    CHECK(about::KeyValueText(platform::kRegDword, {0, 0, 0, 0}) == "&h0");
    CHECK_FALSE(about::KeyValueText(platform::kRegExpandSz, {'%', 0, 0, 0}).has_value());

    fakes::CallLog log;
    fakes::FakeRegistry registry(log);
    registry.setText("K", "bin", "");
    registry.values[{platform::RegistryRoot::LocalMachine, "K", "bin"}].type = 3;  // REG_BINARY
    std::string val = "before";
    CHECK(about::GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "K", "bin", val));
    CHECK(val == "before");
    CHECK_FALSE(about::GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "K", "missing", val));
    CHECK(val.empty());
}

TEST_CASE("system information: the first key's program, then the second key's, then the system folder's") {
    fakes::CallLog log;
    fakes::FakeRegistry registry(log);
    fakes::FakeFileSystem files(log);
    fakes::FakeProcesses processes(log);
    fakes::FakeMessageBoxes boxes(log);
    about::SysInfoServices os{registry, files, processes, boxes, "C:\\WINDOWS\\system32"};
    const std::string unavailable = "messageBox(System Information Is Unavailable At This Time|Lumivane|0)";
    const std::string systemProgram = "C:\\WINDOWS\\system32\\msinfo32.exe";
    auto effects = [&] {
        about::StartSysInfo(os);
        return log.only({"start(", "messageBox("});
    };

    SUBCASE("the first key, read from the machine's root; a path with blanks is quoted") {
        registry.setText(about::kSysInfoKey, "PATH", "C:\\Program Files\\msinfo32.exe", false);
        processes.startable = {"\"C:\\Program Files\\msinfo32.exe\""};
        CHECK(effects() == Calls{"start(\"C:\\Program Files\\msinfo32.exe\"|1)"});
        CHECK(log.calls.front() == "readValue(2147483650|SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH)");
    }
    SUBCASE("an empty first key fails to start and the second key is not consulted") {
        registry.setText(about::kSysInfoKey, "PATH", "");
        registry.setText(about::kSysInfoLocationKey, "MSINFO", "C:\\Shared");
        files.files["C:\\Shared\\MSINFO32.EXE"] = "";
        CHECK(effects() == Calls{"start(|1)", unavailable});
    }
    SUBCASE("the second key leads to MSINFO32.EXE only when it exists") {
        registry.setText(about::kSysInfoLocationKey, "MSINFO", "C:\\Shared");
        processes.startable = {"C:\\Shared\\MSINFO32.EXE"};
        files.files["C:\\Shared\\MSINFO32.EXE"] = "";
        CHECK(effects() == Calls{"start(C:\\Shared\\MSINFO32.EXE|1)"});
        files.files.clear();
        log.calls.clear();
        CHECK(effects() == Calls{unavailable});
    }
    SUBCASE("a stale first key falls back on the system folder's program") {
        registry.setText(about::kSysInfoKey, "PATH", "C:\\Gone\\msinfo32.exe");
        files.files[systemProgram] = "";
        processes.startable = {systemProgram};
        CHECK(effects() == Calls{"start(C:\\Gone\\msinfo32.exe|1)", "start(" + systemProgram + "|1)"});
    }
    SUBCASE("the system folder's program that does not start, or none at all: the message once") {
        files.files[systemProgram] = "";
        CHECK(effects() == Calls{"start(" + systemProgram + "|1)", unavailable});
        files.files.clear();
        log.calls.clear();
        CHECK(effects() == Calls{unavailable});
    }
}

TEST_CASE("the About layout scales with the dpi and keeps every control and the rule inside the client area") {
    auto layout = about::LayOutAbout(96);
    CHECK(layout.clientWidth == 382);  // 5730 twips
    CHECK(layout.clientHeight == 237);
    CHECK(layout.controls[0].pixels == about::Rect{283, 175, 84, 23});  // cmdOK
    CHECK(layout.labelFontHeight == -11);
    auto large = about::LayOutAbout(144);
    CHECK(large.controls[0].pixels == about::Rect{425, 263, 126, 34});  // 424.5 rounds up
    CHECK(large.secretFontHeight == -20);
    CHECK(about::TwipsToPixels(-15, 96) == -1);

    for (int dpi : {96, 120, 144, 192}) {
        CAPTURE(dpi);
        auto l = about::LayOutAbout(dpi);
        CHECK(l.controls.size() == 11);
        for (const auto& c : l.controls) {
            CAPTURE(c.control->name);
            CHECK(c.pixels.left >= 0);
            CHECK(c.pixels.left + c.pixels.width <= l.clientWidth);
            CHECK(c.pixels.top + c.pixels.height <= l.clientHeight);
        }
        CHECK(l.whiteLine.top == l.greyLine.top + l.greyLine.height);
        CHECK(l.greyLine.left + l.greyLine.width <= l.clientWidth);
        CHECK(l.greyLine.top + l.greyLine.height <= l.controls[3].pixels.top);  // lblDisclaimer
    }
    CHECK(about::LayOutAbout(192).greyLine.height == 2);
}
