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
} // namespace

TEST_CASE("a folder item opens its slot's current text with Explorer, unquoted, in a normal window") {
    Hub hub;
    hub.host.boxes[0] = "C:\\";
    hub.host.boxes[7] = "D:\\My Pictures";
    hub.os.files.folders = {"C:\\", "D:\\My Pictures"};

    hub.form.onMenuCommand(menu_id::kFolderBase + 0);
    hub.form.onMenuCommand(menu_id::kFolderBase + 7);
    CHECK(hub.os.log.calls == std::vector<std::string>{"folderExists(C:\\)", "start(Explorer C:\\|1)",
                                                       "folderExists(D:\\My Pictures)",
                                                       "start(Explorer D:\\My Pictures|1)"});
}

TEST_CASE("the path is read from the box at the moment of the click, not from the caption") {
    Hub hub;
    hub.host.boxes[3] = "C:\\Old";
    hub.form.mnuPopup.folder(3).caption = "&3 C:\\Old";
    hub.os.files.folders = {"C:\\Old", "E:\\New"};
    // An edit in the open dialog, not yet saved.
    hub.host.boxes[3] = "E:\\New";
    hub.form.onMenuCommand(menu_id::kFolderBase + 3);
    CHECK(hub.os.log.only({"start"}) == std::vector<std::string>{"start(Explorer E:\\New|1)"});
}

TEST_CASE("a missing folder, a file, or an empty slot says so with the stop icon and starts nothing") {
    Hub hub;
    hub.host.boxes[1] = "C:\\Gone";
    hub.host.boxes[2] = "C:\\boot.ini";
    hub.os.files.files["C:\\boot.ini"] = "x";
    for (unsigned slot : {1u, 2u, 9u}) hub.form.onMenuCommand(menu_id::kFolderBase + slot);

    CHECK_FALSE(hub.os.log.contains("start("));
    auto boxes = hub.os.log.only({"messageBox"});
    CHECK(boxes == std::vector<std::string>(3, "messageBox(Folder Does Not Exist|Lumivane|16)"));
    // Nothing else changes: the slots keep their text.
    CHECK(hub.host.boxes[1] == "C:\\Gone");
    CHECK(hub.os.log.only({"folderExists"}).back() == "folderExists()");
}

TEST_CASE("each folder command reaches its own slot and no other") {
    Hub hub;
    for (int k = 0; k < kFolderSlotCount; ++k) {
        hub.host.boxes[static_cast<size_t>(k)] = "C:\\F" + std::to_string(k);
        hub.os.files.folders.insert("C:\\F" + std::to_string(k));
    }
    for (int k = 9; k >= 0; --k) hub.form.onMenuCommand(menu_id::kFolderBase + static_cast<unsigned>(k));
    auto starts = hub.os.log.only({"start"});
    REQUIRE(starts.size() == 10);
    for (int k = 0; k < 10; ++k)
        CHECK(starts[static_cast<size_t>(k)] == "start(Explorer C:\\F" + std::to_string(9 - k) + "|1)");
}

TEST_CASE("a folder with a comma reaches the file manager whole, in quotes; other characters as typed") {
    Hub hub;
    const std::vector<std::string> paths = {"C:\\a,b", "D:\\Tom & Jerry", "E:\\x  y ", "C:\\\xE6\x97\xA5\xE6\x9C\xAC"};
    for (size_t k = 0; k < paths.size(); ++k) {
        hub.host.boxes[k] = paths[k];
        hub.os.files.folders.insert(paths[k]);
        hub.form.onMenuCommand(menu_id::kFolderBase + static_cast<unsigned>(k));
    }
    CHECK(hub.os.log.only({"start"}) ==
          std::vector<std::string>{"start(Explorer \"C:\\a,b\"|1)", "start(Explorer D:\\Tom & Jerry|1)",
                                   "start(Explorer E:\\x  y |1)",
                                   "start(Explorer C:\\\xE6\x97\xA5\xE6\x9C\xAC|1)"});
}
