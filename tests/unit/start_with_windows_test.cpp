#include "fakes/recording.h"
#include "folders/reg_plus.h"
#include "platform/utf8.h"
#include "folders/start_with_windows.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>

using namespace lumivane;
using platform::RegistryRoot;

namespace {
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string caption(const frmFolderBrowse& form) {
    return form.mnuPopup.find("mnuRunAtStartUp")->caption;
}
} // namespace

TEST_CASE("QueryStringValue asks for type and size first, then reads exactly that many bytes") {
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    reg.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "C:\\Tools\\lumivane");
    CHECK(RegPlus::GetStringValue(reg, RegistryRoot::LocalMachine, kRun, "Lumivane") == "C:\\Tools\\lumivane");
    // 17 characters and the terminating NUL, two bytes each.
    CHECK(log.calls == std::vector<std::string>{"regOpen(" + std::string(kRun) + ")", "regQueryInfo(Lumivane)",
                                                "regQueryData(Lumivane,36)"});
}

TEST_CASE("QueryStringValue: only a readable, non-empty REG_SZ counts") {
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    auto get = [&] { return RegPlus::GetStringValue(reg, RegistryRoot::LocalMachine, kRun, "Lumivane"); };

    SUBCASE("no Run subkey at all") { CHECK(get().empty()); }
    SUBCASE("missing value") {
        reg.putString(RegistryRoot::LocalMachine, kRun, "Other", "x");
        CHECK(get().empty());
    }
    SUBCASE("the same text as REG_EXPAND_SZ counts as absent, and its data is never read") {
        reg.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "C:\\x", platform::kRegExpandSz);
        CHECK(get().empty());
        CHECK_FALSE(log.contains("regQueryData"));
    }
    SUBCASE("an empty value") {
        reg.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "");
        CHECK(get().empty());
    }
    SUBCASE("a NUL inside cuts the text") {
        reg.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", std::string("C:\\a\0C:\\b", 9));
        CHECK(get() == "C:\\a");
    }
    SUBCASE("a value under the user's key is not the machine's") {
        reg.putString(RegistryRoot::CurrentUser, kRun, "Lumivane", "C:\\x");
        CHECK(get().empty());
    }
    SUBCASE("a value that grew between the two reads is unreadable") {
        reg.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "C:\\x");
        reg.grewBetweenQueries = true;
        CHECK(get().empty());
    }
    SUBCASE("text data without a terminating NUL keeps its last character") {
        reg.subkeys.insert({RegistryRoot::LocalMachine, kRun});
        reg.values[{RegistryRoot::LocalMachine, kRun, "Lumivane"}] = {platform::kRegSz, fakes::utf16Bytes("C:\\abc", false)};
        CHECK(get() == "C:\\abc");
    }
}

TEST_CASE("registry text: UTF-16LE to UTF-8 and StripNul") {
    CHECK(RegPlus::StripNul(std::string("ab\0cd", 5)) == "ab");
    CHECK(RegPlus::StripNul("abc") == "abc");
    CHECK(RegPlus::StripNul(std::string("\0x", 2)).empty());
    CHECK(Utf16LeToUtf8(std::string("A\0\xE9\0", 4)) == "A\xC3\xA9");
    CHECK(Utf16LeToUtf8(std::string("\xE5\x65", 2)) == "\xE6\x97\xA5");                  // U+65E5
    CHECK(Utf16LeToUtf8(std::string("\x3D\xD8\x00\xDE", 4)) == "\xF0\x9F\x98\x80");   // U+1F600
    CHECK(Utf16LeToUtf8(std::string("\x3D\xD8" "A\0", 4)) == "\xEF\xBF\xBD" "A");      // lone high surrogate
    CHECK(Utf16LeToUtf8(std::string("A\0B", 3)) == "A");                                // odd last byte dropped
}

TEST_CASE("the Run value holds the quoted path of the program without its extension") {
    CHECK(startup::RunValueData("C:\\Program Files\\Lumivane", "lumivane.exe") ==
          "\"C:\\Program Files\\Lumivane\\lumivane\"");
    CHECK(startup::RunValueData("C:", "lumivane.exe") == "\"C:\\lumivane\"");
    CHECK(startup::RunValueData("D:\\v1.2", "lumi.vane.exe") == "\"D:\\v1.2\\lumi.vane\"");
    CHECK(startup::RunValueData("D:\\bin", "lumivane") == "\"D:\\bin\\lumivane\"");
}

TEST_CASE("the caption names the setting in force") {
    CHECK(startup::StartupCaption(true) == "Load at Startup");
    CHECK(startup::StartupCaption(false) == "Don't Load at Startup");
}

TEST_CASE("start-up reads the Run value before it captions the item, and before the settings file") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    frmFolderBrowse form(host, os.services);

    SUBCASE("value present, even one left by a copy in another folder") {
        os.registry.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "\"D:\\Old\\lumivane\"");
        form.Form_Load();
        CHECK(form.RunAtStartup);
        CHECK(caption(form) == "Load at Startup");
    }
    SUBCASE("value absent") {
        form.Form_Load();
        CHECK_FALSE(form.RunAtStartup);
        CHECK(caption(form) == "Don't Load at Startup");
    }
    auto order = os.log.only({"anotherInstanceRunning", "regOpen", "fileExists"});
    CHECK(order == std::vector<std::string>{"anotherInstanceRunning()", "regOpen(" + std::string(kRun) + ")",
                                            "fileExists(C:\\Tools\\lumivane.ini)"});
    CHECK_FALSE(os.log.contains("regSet"));
    CHECK_FALSE(os.log.contains("regDelete"));
}

TEST_CASE("a second copy does not read the registry") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    os.instance.othersRunning = true;
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    CHECK_FALSE(os.log.contains("regOpen"));
}

TEST_CASE("the start-up item switches the Run value and follows what the registry holds") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    REQUIRE_FALSE(form.RunAtStartup);

    SUBCASE("on, then off") {
        form.onMenuCommand(menu_id::kRunAtStartUp);
        const auto* value = os.registry.find(RegistryRoot::LocalMachine, kRun, "Lumivane");
        REQUIRE(value);
        CHECK(value->type == platform::kRegSz);
        CHECK(value->bytes == fakes::utf16Bytes("\"C:\\Tools\\lumivane\""));
        CHECK(form.RunAtStartup);
        CHECK(caption(form) == "Load at Startup");

        form.onMenuCommand(menu_id::kRunAtStartUp);
        CHECK_FALSE(os.registry.find(RegistryRoot::LocalMachine, kRun, "Lumivane"));
        CHECK_FALSE(form.RunAtStartup);
        CHECK(caption(form) == "Don't Load at Startup");
        CHECK_FALSE(os.log.contains("messageBox"));
    }
    SUBCASE("a refused write leaves the flag off and says why") {
        os.registry.refuseSet = platform::kRegAccessDenied;
        os.log.calls.clear();
        form.mnuRunAtStartUp_Click();
        CHECK_FALSE(form.RunAtStartup);
        CHECK(caption(form) == "Don't Load at Startup");
        auto boxes = os.log.only({"messageBox"});
        REQUIRE(boxes.size() == 1);
        CHECK(boxes[0] == "messageBox(Lumivane could not be set to load at startup: administrator rights are needed "
                          "to change the programs Windows loads at startup.|Lumivane|48)");
        // The flag was not simply left alone: the registry was asked after the write.
        auto order = os.log.only({"regSet", "regOpen", "messageBox"});
        CHECK(order.size() == 3);
        CHECK(order[0].rfind("regSet", 0) == 0);
        CHECK(order[1].rfind("regOpen", 0) == 0);
    }
    SUBCASE("a refused delete leaves the flag on and says why") {
        os.registry.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "\"C:\\Tools\\lumivane\"");
        form.LoadSettings();
        form.UpdateStartupCaption();
        os.registry.refuseDelete = 1018;  // ERROR_KEY_DELETED
        form.mnuRunAtStartUp_Click();
        CHECK(form.RunAtStartup);
        CHECK(caption(form) == "Load at Startup");
        CHECK(os.log.only({"messageBox"}) ==
              std::vector<std::string>{"messageBox(Lumivane could not be removed from the programs loaded at startup: "
                                       "Windows reported error 1018.|Lumivane|48)"});
    }
    SUBCASE("an empty value counts as off, and switching on overwrites it with the path") {
        os.registry.putString(RegistryRoot::LocalMachine, kRun, "Lumivane", "");
        form.LoadSettings();
        REQUIRE_FALSE(form.RunAtStartup);
        form.mnuRunAtStartUp_Click();
        CHECK(form.RunAtStartup);
        CHECK(os.registry.find(RegistryRoot::LocalMachine, kRun, "Lumivane")->bytes ==
              fakes::utf16Bytes("\"C:\\Tools\\lumivane\""));
    }
    SUBCASE("a value deleted behind the program's back: switching off reaches the wanted state quietly") {
        form.RunAtStartup = true;
        form.mnuRunAtStartUp_Click();
        CHECK_FALSE(form.RunAtStartup);
        CHECK_FALSE(os.log.contains("messageBox"));
    }
}
