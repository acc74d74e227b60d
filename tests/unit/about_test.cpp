#include "about/about_box.h"
#include "about/about_layout.h"
#include "about/sys_info.h"
#include "fakes/about.h"
#include "fakes/recording.h"
#include "shell/frm_folder_browse.h"
#include "shell/popup_menu.h"

#include <doctest/doctest.h>

using namespace lumivane;
using about::KeyValueText;
using platform::kRegDword;
using platform::kRegSz;

namespace {
std::vector<unsigned char> utf16(const std::string& ascii, bool withNul) {
    std::vector<unsigned char> out;
    for (char c : ascii) out.insert(out.end(), {static_cast<unsigned char>(c), 0});
    if (withNul) out.insert(out.end(), {0, 0});
    return out;
}

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::string kUnavailable = "messageBox(System Information Is Unavailable At This Time|Lumivane|0)";

struct SysInfoRig {
    fakes::CallLog log;
    fakes::FakeRegistryReader registry{log};
    fakes::FakeFileSystem files{log};
    fakes::FakeProcessStarter processes{log};
    fakes::FakeMessageBoxes boxes{log};
    about::SysInfoServices os{registry, files, processes, boxes, "C:\\WINDOWS\\system32"};
    std::vector<std::string> effects() const { return log.only({"start(", "messageBox("}); }
};
} // namespace

TEST_CASE("the secret label shows on the eighth opening of a run only") {
    std::int16_t count = 0;
    std::vector<int> shownOn;
    for (int opening = 1; opening <= 20; ++opening)
        if (about::CountOpening(count)) shownOn.push_back(opening);
    CHECK(shownOn == std::vector<int>{8});
    CHECK(count == 20);

    std::int16_t full = 32767;
    CHECK_FALSE(about::CountOpening(full));
    CHECK(full == 32767);
}

TEST_CASE("About from the popup shows the box with the hub's own counter") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    frmFolderBrowse form(host, os.services);
    for (int i = 0; i < 3; ++i) form.onMenuCommand(menu_id::kAbout);
    CHECK(os.log.calls == std::vector<std::string>{"aboutBox(0)", "aboutBox(1)", "aboutBox(2)"});
    CHECK(form.AboutCount == 3);
    form.onMenuCommand(menu_id::kSep1);  // a heading opens nothing
    CHECK(os.log.calls.size() == 3);
}

TEST_CASE("stored text yields the same characters with or without its NUL") {
    const std::string twelve = "C:\\MSINFO.EX";
    REQUIRE(twelve.size() == 12);
    CHECK(KeyValueText(kRegSz, utf16(twelve, true)) == twelve);   // 26 bytes
    CHECK(KeyValueText(kRegSz, utf16(twelve, false)) == twelve);  // 24 bytes
    CHECK(KeyValueText(kRegSz, utf16("", true)) == "");
    CHECK(KeyValueText(kRegSz, {}) == "");
    // Only the last character is the terminator; one before it is kept.
    CHECK(KeyValueText(kRegSz, {'a', 0, 0, 0, 0, 0}) == std::string("a\0", 2));
    // Beyond ASCII: e-acute and a character outside the basic plane.
    CHECK(KeyValueText(kRegSz, {0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}) == "\xC3\xA9\xF0\x9F\x98\x80");
}

TEST_CASE("a DWORD reads as &h and its hexadecimal digits; other types leave the text alone") {
    CHECK(KeyValueText(kRegDword, {0x34, 0x12, 0x00, 0x00}) == "&h1234");
    // Inner zero bytes and a zero high byte keep their digits.
    CHECK(KeyValueText(kRegDword, {0x03, 0x02, 0x01, 0x00}) == "&h10203");
    CHECK(KeyValueText(kRegDword, {0x00, 0x00, 0x00, 0x00}) == "&h0");
    CHECK(KeyValueText(kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}) == "&hFFFFFFFF");
    CHECK_FALSE(KeyValueText(2, utf16("%SystemRoot%", true)).has_value());
    CHECK_FALSE(KeyValueText(3, {1, 2, 3}).has_value());

    fakes::CallLog log;
    fakes::FakeRegistryReader registry(log);
    registry.values[{"K", "bin"}] = {3, {1, 2}};
    std::string val = "before";
    CHECK(about::GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "K", "bin", val));
    CHECK(val == "before");
    CHECK_FALSE(about::GetKeyValue(registry, platform::RegistryRoot::LocalMachine, "K", "missing", val));
    CHECK(val.empty());
    CHECK(log.calls.back() == "readValue(2147483650|K|missing)");
}

TEST_CASE("system information: the first key's program starts, normal and focused") {
    SysInfoRig rig;
    rig.registry.setText(kPathKey, "PATH", "C:\\Tools\\msinfo32.exe");
    rig.processes.startable = {"C:\\Tools\\msinfo32.exe"};
    about::StartSysInfo(rig.os);
    CHECK(rig.log.calls == std::vector<std::string>{
                               "readValue(2147483650|SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH)",
                               "start(C:\\Tools\\msinfo32.exe|1)"});
}

TEST_CASE("system information: a path with blanks is started quoted") {
    SysInfoRig rig;
    rig.registry.setText(kPathKey, "PATH", "C:\\Program Files\\MSInfo\\msinfo32.exe", false);
    rig.processes.startable = {"\"C:\\Program Files\\MSInfo\\msinfo32.exe\""};
    about::StartSysInfo(rig.os);
    CHECK(rig.effects() == std::vector<std::string>{"start(\"C:\\Program Files\\MSInfo\\msinfo32.exe\"|1)"});
}

TEST_CASE("system information: an empty first key fails to start, and the message follows") {
    SysInfoRig rig;
    rig.registry.setText(kPathKey, "PATH", "");
    rig.registry.setText(kLocationKey, "MSINFO", "C:\\Shared");  // not consulted once the first key is read
    rig.files.files["C:\\Shared\\MSINFO32.EXE"] = "";
    about::StartSysInfo(rig.os);
    CHECK(rig.effects() == std::vector<std::string>{"start(|1)", kUnavailable});
    CHECK_FALSE(rig.log.contains("readValue(2147483650|SOFTWARE\\Microsoft\\Shared Tools Location"));
}

TEST_CASE("system information: the second key leads to MSINFO32.EXE only when it exists") {
    SysInfoRig rig;
    rig.registry.setText(kLocationKey, "MSINFO", "C:\\Shared");
    rig.processes.startable = {"C:\\Shared\\MSINFO32.EXE"};

    SUBCASE("present") {
        rig.files.files["C:\\Shared\\MSINFO32.EXE"] = "";
        about::StartSysInfo(rig.os);
        CHECK(rig.log.only({"readValue", "fileExists", "start"}) ==
              std::vector<std::string>{"readValue(2147483650|SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH)",
                                       "readValue(2147483650|SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO)",
                                       "fileExists(C:\\Shared\\MSINFO32.EXE)", "start(C:\\Shared\\MSINFO32.EXE|1)"});
    }
    SUBCASE("absent: nothing starts") {
        about::StartSysInfo(rig.os);
        CHECK(rig.effects() == std::vector<std::string>{kUnavailable});
        CHECK(rig.log.contains("fileExists(C:\\WINDOWS\\system32\\msinfo32.exe)"));
    }
}

TEST_CASE("system information: neither key gives the message and starts nothing") {
    SysInfoRig rig;
    about::StartSysInfo(rig.os);
    CHECK(rig.effects() == std::vector<std::string>{kUnavailable});
}

TEST_CASE("system information: the system directory's program serves when the registry routes lead nowhere") {
    SysInfoRig rig;
    rig.files.files["C:\\WINDOWS\\system32\\msinfo32.exe"] = "";
    rig.processes.startable = {"C:\\WINDOWS\\system32\\msinfo32.exe"};

    SUBCASE("a stale first key") {
        rig.registry.setText(kPathKey, "PATH", "C:\\Gone\\msinfo32.exe");
        about::StartSysInfo(rig.os);
        CHECK(rig.effects() == std::vector<std::string>{"start(C:\\Gone\\msinfo32.exe|1)",
                                                        "start(C:\\WINDOWS\\system32\\msinfo32.exe|1)"});
    }
    SUBCASE("no key at all") {
        about::StartSysInfo(rig.os);
        CHECK(rig.effects() == std::vector<std::string>{"start(C:\\WINDOWS\\system32\\msinfo32.exe|1)"});
    }
    SUBCASE("it exists but does not start") {
        rig.processes.startable.clear();
        about::StartSysInfo(rig.os);
        CHECK(rig.effects() == std::vector<std::string>{"start(C:\\WINDOWS\\system32\\msinfo32.exe|1)", kUnavailable});
    }
}

TEST_CASE("the links: mail with its subject and blank, the web page through explorer") {
    CHECK(about::MailLinkTarget() == "mailto: lumivane@example.org?Subject=Lumivane");
    CHECK(about::WebLinkCommand() == "explorer https://example.org/lumivane");
}

TEST_CASE("the dialog's layout at 96 dpi is the design's twips divided by 15") {
    auto layout = about::LayOutAbout(96);
    CHECK(layout.clientWidth == 382);
    CHECK(layout.clientHeight == 237);
    REQUIRE(layout.controls.size() == 11);
    std::vector<std::string> order;
    for (const auto& c : layout.controls) order.push_back(c.control->name);
    CHECK(order == std::vector<std::string>{"cmdOK", "picIcon", "cmdSysInfo", "lblDisclaimer", "lblTitle", "lblVersion",
                                            "lblWebPage", "Label2", "Label3", "Label4", "Label5"});
    CHECK(layout.controls[0].pixels == about::Rect{283, 175, 84, 23});  // cmdOK
    CHECK(layout.controls[1].pixels == about::Rect{16, 16, 32, 32});    // picIcon holds a 32x32 icon
    CHECK(layout.controls[2].pixels == about::Rect{284, 205, 83, 23});  // cmdSysInfo
    CHECK(layout.controls[7].pixels == about::Rect{72, 116, 153, 17});  // Label2 at 1739 twips
    CHECK(layout.controls[10].pixels == about::Rect{248, 112, 105, 33});
    CHECK(layout.labelFontHeight == -11);
    CHECK(layout.secretFontHeight == -13);
    // The rule lies above the credits' block and the white line right below the grey.
    CHECK(layout.greyLine.top + layout.greyLine.height <= layout.controls[3].pixels.top);
    CHECK(layout.whiteLine.top == layout.greyLine.top + 1);
    CHECK(layout.greyLine.height == 1);
    CHECK(layout.greyLine.left + layout.greyLine.width <= layout.clientWidth);
}

TEST_CASE("the layout scales with the system dpi and keeps every control inside the client area") {
    for (int dpi : {96, 120, 144, 192}) {
        CAPTURE(dpi);
        auto layout = about::LayOutAbout(dpi);
        for (const auto& c : layout.controls) {
            CAPTURE(c.control->name);
            CHECK(c.pixels.left >= 0);
            CHECK(c.pixels.left + c.pixels.width <= layout.clientWidth);
            CHECK(c.pixels.top + c.pixels.height <= layout.clientHeight);
        }
    }
    auto large = about::LayOutAbout(144);
    CHECK(large.clientWidth == 573);
    CHECK(large.controls[0].pixels == about::Rect{425, 263, 126, 34});  // 4245*1.5/15 = 424.5 rounds up
    CHECK(large.secretFontHeight == -20);
    CHECK(about::LayOutAbout(192).greyLine.height == 2);
    CHECK(about::TwipsToPixels(1739, 96) == 116);
    CHECK(about::TwipsToPixels(-15, 96) == -1);
}
