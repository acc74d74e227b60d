#include "fakes/recording.h"
#include "folders/reg_plus.h"
#include "folders/start_with_windows.h"

#include <doctest/doctest.h>

using namespace lumivane;
using platform::RegistryRoot;
using Calls = std::vector<std::string>;

namespace {
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const auto kMachine = RegistryRoot::LocalMachine;
std::string caption(const frmFolderBrowse& form) { return form.mnuPopup.find("mnuRunAtStartUp")->caption; }
} // namespace

TEST_CASE("the Run value: type and size first, then exactly that many bytes; only the machine's REG_SZ counts") {
    fakes::CallLog log;
    fakes::FakeRegistry reg(log);
    auto get = [&] { return RegPlus::GetStringValue(reg, kMachine, kRun, "Lumivane"); };
    SUBCASE("text") {
        reg.putString(kMachine, kRun, "Lumivane", "C:\\Tools\\lumivane");
        CHECK(get() == "C:\\Tools\\lumivane");
        // 17 characters and the terminating NUL, two bytes each.
        CHECK(log.calls == Calls{"regOpen(" + kRun + ")", "regQueryInfo(Lumivane)", "regQueryData(Lumivane,36)"});
    }
    SUBCASE("REG_EXPAND_SZ is absent, and its data never read") {
        reg.putString(kMachine, kRun, "Lumivane", "C:\\x", platform::kRegExpandSz);
        CHECK(get().empty());
        CHECK_FALSE(log.contains("regQueryData"));
    }
    SUBCASE("the user's value, or one that grew between the two reads, is none") {
        reg.putString(RegistryRoot::CurrentUser, kRun, "Lumivane", "C:\\x");
        CHECK(get().empty());
        reg.putString(kMachine, kRun, "Lumivane", "C:\\x");
        reg.grewBetweenQueries = true;
        CHECK(get().empty());
    }
    CHECK(startup::RunValueData("C:", "lumivane.exe") == "\"C:\\lumivane\"");
    CHECK(startup::RunValueData("D:\\v1.2", "lumi.vane.exe") == "\"D:\\v1.2\\lumi.vane\"");
}

TEST_CASE("start-up captions the item from the Run value: a copy's in another folder counts, an empty one not") {
    for (auto [data, expected] : {std::pair{"\"D:\\Old\\lumivane\"", "Load at Startup"}, {"", "Don't Load at Startup"}}) {
        fakes::FakeHub hub;
        hub.os.registry.putString(kMachine, kRun, "Lumivane", data);
        hub.form.Form_Load();
        CHECK(caption(hub.form) == expected);
        CHECK_FALSE(hub.os.log.contains("regSet"));
    }
}

TEST_CASE("the start-up item switches the Run value and then follows what the registry holds") {
    fakes::FakeHub hub;
    hub.form.Form_Load();
    SUBCASE("on, then off") {
        hub.form.onMenuCommand(menu_id::kRunAtStartUp);
        const auto* value = hub.os.registry.find(kMachine, kRun, "Lumivane");
        REQUIRE(value);
        CHECK(value->type == platform::kRegSz);
        CHECK(value->bytes == fakes::utf16Bytes("\"C:\\Tools\\lumivane\""));
        CHECK(caption(hub.form) == "Load at Startup");
        hub.form.onMenuCommand(menu_id::kRunAtStartUp);
        CHECK_FALSE(hub.os.registry.find(kMachine, kRun, "Lumivane"));
        CHECK(caption(hub.form) == "Don't Load at Startup");
        CHECK_FALSE(hub.os.log.contains("messageBox"));
    }
    SUBCASE("a refused write: read back, still off, and said why") {
        hub.os.registry.refuseSet = platform::kRegAccessDenied;
        hub.os.log.calls.clear();
        hub.form.onMenuCommand(menu_id::kRunAtStartUp);
        CHECK(caption(hub.form) == "Don't Load at Startup");
        auto calls = hub.os.log.only({"regSet", "regOpen", "messageBox"});
        REQUIRE(calls.size() == 3);
        CHECK(calls[1] == "regOpen(" + kRun + ")");
        CHECK(calls[2] == "messageBox(Lumivane could not be set to load at startup: administrator rights are needed "
                          "to change the programs Windows loads at startup.|Lumivane|48)");
    }
    SUBCASE("a refused delete: still on, and said why") {
        hub.os.registry.putString(kMachine, kRun, "Lumivane", "\"C:\\Tools\\lumivane\"");
        hub.form.LoadSettings();
        hub.os.registry.refuseDelete = 1018;  // ERROR_KEY_DELETED
        hub.form.onMenuCommand(menu_id::kRunAtStartUp);
        CHECK(caption(hub.form) == "Load at Startup");
        CHECK(hub.os.log.only({"messageBox"}) ==
              Calls{"messageBox(Lumivane could not be removed from the programs loaded at startup: "
                    "Windows reported error 1018.|Lumivane|48)"});
    }
    SUBCASE("a value deleted behind the program's back: switching off reaches the wanted state quietly") {
        hub.form.RunAtStartup = true;
        hub.form.onMenuCommand(menu_id::kRunAtStartUp);
        CHECK_FALSE(hub.form.RunAtStartup);
        CHECK_FALSE(hub.os.log.contains("messageBox"));
    }
}
