#include "fakes/recording.h"
#include "folders/settings_file.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>

using namespace lumivane;

TEST_CASE("the settings path always inserts the backslash") {
    CHECK(SettingsPathFor("C:\\Tools") == "C:\\Tools\\lumivane.ini");
    CHECK(SettingsPathFor("C:\\") == "C:\\\\lumivane.ini");
    CHECK(SettingsPathFor("C:") == "C:\\lumivane.ini");
}

TEST_CASE("a second copy says so and touches nothing else") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    os.instance.othersRunning = true;
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    CHECK(os.log.calls == std::vector<std::string>{"anotherInstanceRunning()", "messageBox(Already running|Lumivane|16)",
                                                   "unload()"});
    CHECK(os.files.files.empty());
    CHECK(form.SettingsPath.empty());
}

TEST_CASE("start-up loads the folders from beside the program and hides the window") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    CHECK(form.SettingsPath == "C:\\Tools\\lumivane.ini");
    CHECK(host.boxes[0] == "C:\\");
    CHECK_FALSE(host.visible);
    CHECK_FALSE(host.unloaded);
    auto order = os.log.only({"anotherInstanceRunning", "fileExists", "readFile", "hide"});
    CHECK(order == std::vector<std::string>{"anotherInstanceRunning()", "fileExists(C:\\Tools\\lumivane.ini)",
                                            "readFile(C:\\Tools\\lumivane.ini)", "hide()"});
}

TEST_CASE("the menu engine is attached after the tray icon, with the hub's help object and images, marks as glyphs") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    auto order = os.log.only({"trayAdd", "AttachCoolMenu", "CoolMenuComplexChecks", "hide"});
    CHECK(order == std::vector<std::string>{"trayAdd()", "AttachCoolMenu(true)", "CoolMenuComplexChecks(false)",
                                            "hide()"});
    CHECK(os.menuEngine.helpObj == &form.HelpObj);
    CHECK(os.menuEngine.images == &form.ilsMenu);
}

TEST_CASE("a second copy attaches no engine") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    os.instance.othersRunning = true;
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    CHECK_FALSE(os.log.contains("AttachCoolMenu"));
    CHECK_FALSE(os.log.contains("trayAdd"));
}
