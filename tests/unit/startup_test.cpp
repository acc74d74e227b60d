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

TEST_CASE("a settings file another program holds is reported at start-up, and left alone") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    const std::string path = "C:\\Tools\\lumivane.ini";
    os.files.files[path] = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nE:\\Mine\r\n";
    os.files.unreadable.insert(path);
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    auto order = os.log.only({"readFile", "replaceFile", "messageBox", "hide"});
    REQUIRE(order.size() == 3);
    CHECK(order[0] == "readFile(" + path + ")");
    CHECK(order[1].rfind("messageBox(The folders could not be read from " + path + ".", 0) == 0);
    CHECK(order[1].find("|Lumivane|48)") != std::string::npos);
    CHECK(order[2] == "hide()");
    CHECK(os.files.files[path] == "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nE:\\Mine\r\n");
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
