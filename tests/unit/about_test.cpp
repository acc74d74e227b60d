#include "about/about_layout.h"
#include "about/sys_info.h"
#include "fakes/recording.h"

#include <doctest/doctest.h>

#include <limits>

using namespace lumivane;
using Calls = std::vector<std::string>;

TEST_CASE("About: the hub's own counter, the secret label on the eighth opening only, a DWORD as &h digits") {
    fakes::FakeHub hub;
    for (int i = 0; i < 3; ++i) hub.logic.onMenuCommand(menu_id::kAbout);
    hub.logic.onMenuCommand(menu_id::kProgramHeading);  // a heading opens nothing
    CHECK(hub.os.log.calls == Calls{"aboutBox(0)", "aboutBox(1)", "aboutBox(2)"});
    CHECK(hub.logic.aboutCount == 3);

    int count = 0;
    std::vector<int> shownOn;
    for (int opening = 1; opening <= 20; ++opening)
        if (about::countOpening(count)) shownOn.push_back(opening);
    CHECK(shownOn == std::vector<int>{8});
    int full = std::numeric_limits<int>::max();
    CHECK_FALSE(about::countOpening(full));
    CHECK(full == std::numeric_limits<int>::max());

    CHECK(about::keyValueText(platform::kRegDword, {0x03, 0x02, 0x01, 0x00}) == "&h10203");
    CHECK(about::keyValueText(platform::kRegDword, {0, 0, 0, 0}) == "&h0");
}

TEST_CASE("system information: the first key's program, else the second key's, else the system folder's") {
    fakes::CallLog log;
    fakes::FakeRegistry registry(log);
    fakes::FakeFileSystem files(log);
    fakes::FakeProcesses processes(log);
    fakes::FakeMessageBoxes boxes(log);
    about::SysInfoServices os{registry, files, processes, boxes, "C:\\WINDOWS\\system32"};
    const std::string unavailable = "messageBox(System Information Is Unavailable At This Time|Lumivane|0)";
    const std::string inSystem = "C:\\WINDOWS\\system32\\msinfo32.exe";
    files.files[inSystem] = "";
    auto effects = [&] {
        about::startSysInfo(os);
        return log.only({"start(", "messageBox("});
    };
    SUBCASE("the first key, read from the machine's root; a path with blanks quoted") {
        registry.setText(about::kSysInfoKey, "PATH", "C:\\Program Files\\msinfo32.exe", false);
        processes.startable = {"\"C:\\Program Files\\msinfo32.exe\""};
        CHECK(effects() == Calls{"start(\"C:\\Program Files\\msinfo32.exe\"|1)"});
        CHECK(log.calls.front() == "regQueryValue(SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH,2048)");
    }
    SUBCASE("an empty first key fails to start, and the second key is not consulted") {
        registry.setText(about::kSysInfoKey, "PATH", "");
        registry.setText(about::kSysInfoLocationKey, "MSINFO", "C:\\Shared");
        files.files = {{"C:\\Shared\\MSINFO32.EXE", ""}};
        CHECK(effects() == Calls{"start(|1)", unavailable});
    }
    SUBCASE("the second key's MSINFO32.EXE when it exists") {
        registry.setText(about::kSysInfoLocationKey, "MSINFO", "C:\\Shared");
        files.files = {{"C:\\Shared\\MSINFO32.EXE", ""}};
        processes.startable = {"C:\\Shared\\MSINFO32.EXE"};
        CHECK(effects() == Calls{"start(C:\\Shared\\MSINFO32.EXE|1)"});
    }
    SUBCASE("a stale first key: the system folder's program") {
        registry.setText(about::kSysInfoKey, "PATH", "C:\\Gone\\msinfo32.exe");
        processes.startable = {inSystem};
        CHECK(effects() == Calls{"start(C:\\Gone\\msinfo32.exe|1)", "start(" + inSystem + "|1)"});
    }
    SUBCASE("no program where the second key says, and the system folder's does not start: the message once") {
        registry.setText(about::kSysInfoLocationKey, "MSINFO", "C:\\Shared");
        CHECK(effects() == Calls{"start(" + inSystem + "|1)", unavailable});
    }
}

TEST_CASE("the About layout: the design's twips rounded to pixels at the system dpi, the rule below the credits") {
    CHECK(about::layOutAbout(96).controls[0].pixels == about::Rect{283, 175, 84, 23});    // OK
    CHECK(about::layOutAbout(144).controls[0].pixels == about::Rect{425, 263, 126, 34});  // 424.5 rounds up
    for (int dpi : {96, 144, 192}) {
        CAPTURE(dpi);
        auto l = about::layOutAbout(dpi);
        for (const auto& c : l.controls) CHECK(c.pixels.left + c.pixels.width <= l.clientWidth);
        CHECK(l.greyLine.height == dpi / 96);
        CHECK(l.whiteLine.top == l.greyLine.top + l.greyLine.height);
        CHECK(l.greyLine.top + l.greyLine.height <= l.controls[3].pixels.top);  // above "Thanks to: "
    }
}
