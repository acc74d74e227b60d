#include "fakes/recording.h"

#include <doctest/doctest.h>

using namespace lumivane;
using Calls = std::vector<std::string>;

TEST_CASE("a folder item opens its slot's current text with Explorer in a normal window, quoted only for a comma") {
    fakes::FakeHub hub;
    const Calls paths = {"C:\\", "C:\\a,b", "D:\\Tom & Jerry", "E:\\x  y ", "C:\\\xE6\x97\xA5\xE6\x9C\xAC"};
    for (size_t k = 0; k < paths.size(); ++k) {
        hub.host.boxes[k] = paths[k];
        hub.os.files.folders.insert(paths[k]);
    }
    hub.form.mnuPopup.folder(4).caption = "1. Old";  // the box counts, not the caption
    for (unsigned slot : {4u, 0u, 1u, 2u, 3u}) hub.form.onMenuCommand(menu_id::kFolderBase + slot);
    CHECK(hub.os.log.only({"start"}) == Calls{"start(Explorer C:\\\xE6\x97\xA5\xE6\x9C\xAC|1)", "start(Explorer C:\\|1)",
                                              "start(Explorer \"C:\\a,b\"|1)", "start(Explorer D:\\Tom & Jerry|1)",
                                              "start(Explorer E:\\x  y |1)"});
    CHECK(hub.os.log.calls[0] == "folderExists(C:\\\xE6\x97\xA5\xE6\x9C\xAC)");
}

TEST_CASE("a missing folder, a file, or an empty slot says so with the stop icon and starts nothing") {
    fakes::FakeHub hub;
    hub.host.boxes[1] = "C:\\Gone";
    hub.host.boxes[2] = "C:\\boot.ini";
    hub.os.files.files["C:\\boot.ini"] = "x";
    for (unsigned slot : {1u, 2u, 9u}) hub.form.onMenuCommand(menu_id::kFolderBase + slot);
    CHECK(hub.os.log.only({"start", "messageBox"}) == Calls(3, "messageBox(Folder Does Not Exist|Lumivane|16)"));
    CHECK(hub.os.log.only({"folderExists"}).back() == "folderExists()");
}
