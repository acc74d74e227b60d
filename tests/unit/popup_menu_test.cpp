#include "fakes/recording.h"
#include "shell/frm_folder_browse.h"
#include "shell/menu_images.h"
#include "shell/popup_lines.h"

#include <doctest/doctest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

struct Hub {
    fakes::FakeOs os;
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};

    void fill(std::initializer_list<std::pair<int, std::string>> slots) {
        for (const auto& [slot, text] : slots) host.boxes[static_cast<size_t>(slot)] = text;
    }
};

std::vector<std::string> texts(const std::vector<platform::PopupLine>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(line.separator ? "<separator>" : line.text);
    return out;
}

} // namespace

TEST_CASE("InitMenu numbers the filled slots without gaps") {
    Hub hub;
    hub.fill({{2, "C:\\Windows"}, {7, "D:\\Tom & Jerry"}});
    hub.form.InitMenu();
    for (int slot = 0; slot < 10; ++slot) {
        const MenuItem& item = hub.form.mnuPopup.folder(slot);
        bool filled = slot == 2 || slot == 7;
        CHECK_MESSAGE(item.visible == filled, "slot ", slot);
        CHECK_MESSAGE(item.enabled == filled, "slot ", slot);
    }
    CHECK(hub.form.mnuPopup.folder(2).caption == "1. Windows");
    CHECK(hub.form.mnuPopup.folder(7).caption == "2. Tom && Jerry");

    // Cleared and refilled: the numbers follow, a hidden item keeps its old caption.
    hub.fill({{2, ""}, {0, "C:\\"}, {9, "   "}});
    hub.form.InitMenu();
    CHECK(hub.form.mnuPopup.folder(0).caption == "1. C:\\");
    CHECK_FALSE(hub.form.mnuPopup.folder(2).visible);
    CHECK(hub.form.mnuPopup.folder(2).caption == "1. Windows");
    CHECK(hub.form.mnuPopup.folder(7).caption == "2. Tom && Jerry");
    // Blanks are not empty: the item shows, with the blanks kept whole.
    CHECK(hub.form.mnuPopup.folder(9).visible);
    CHECK(hub.form.mnuPopup.folder(9).caption == "3.    ");
}

TEST_CASE("the popup shows only visible items, headings as text, '-' as a separator") {
    Hub hub;
    hub.form.InitMenu();
    std::vector<std::string> expected{"- CD Drives", "- F o l d e r s ", "- L u m i v a n e", "Run Screen Saver",
                                      "Turn Monitor Off", "- O p t i o n s ", "", "Customize", "About",
                                      "<separator>", "Exit"};
    auto lines = VisibleLines(hub.form.mnuPopup);
    CHECK(texts(lines) == expected);  // all slots empty: the folder heading stays

    hub.fill({{2, "C:\\a\\Photos"}, {7, "E:\\"}});
    hub.form.InitMenu();
    hub.form.mnuPopup.find("mnuAbout")->enabled = false;
    lines = VisibleLines(hub.form.mnuPopup);
    expected.insert(expected.begin() + 2, {"1. Photos", "2. E:\\"});
    CHECK(texts(lines) == expected);
    CHECK(lines[2].id == menu_id::kFolderBase + 2);
    CHECK(lines[3].id == menu_id::kFolderBase + 7);
    CHECK(lines[10].id == menu_id::kAbout);
    CHECK_FALSE(lines[10].enabled);
    CHECK(lines[11].id == menu_id::kSep3);
    CHECK(lines[12].id == menu_id::kExit);
    for (const auto& line : lines) CHECK(line.id != 0);
}

TEST_CASE("ilsMenu: nineteen images in order, found by key regardless of case") {
    REQUIRE(kMenuImageTable.size() == 19);
    CHECK(kMenuImageTable[0].key == "ABOUT");
    for (int n = 1; n <= 10; ++n) {
        CHECK(kMenuImageTable[static_cast<size_t>(n)].key == "F" + std::to_string(n));
        CHECK(kMenuImageTable[static_cast<size_t>(n)].tag == std::to_string(n) + ".");
    }
    std::vector<std::string> rest;
    for (size_t i = 11; i < 19; ++i) rest.push_back(std::string(kMenuImageTable[i].key) + "=" + std::string(kMenuImageTable[i].tag));
    CHECK(rest == std::vector<std::string>{"YES=Load at Startup", "Run=Run", "EXIT=Exit", "NO=Don't Load at Startup",
                                           "TURN=Turn", "CLOSE=Close", "OPTIONS=Customize", "OPEN=Open"});

    ImageList list;
    int pictures[19];
    for (size_t i = 0; i < 19; ++i)
        list.add(std::string(kMenuImageTable[i].key), std::string(kMenuImageTable[i].tag), &pictures[i]);
    CHECK(list.count() == 19);
    CHECK(list.indexOfKey("TURN") == 16);
    CHECK(list.indexOfKey("turn") == 16);
    CHECK(list.iconOf("TURN") == &pictures[15]);
    CHECK(list.tag(1) == "About");
    CHECK(list.tag(11) == "10.");
    CHECK(list.key(19) == "OPEN");
    CHECK(list.indexOfKey("F1") == 2);  // not confused with "F10"
    CHECK(list.indexOfKey("MISSING") == 0);
    CHECK(list.icon(0) == nullptr);
    CHECK(list.icon(20) == nullptr);
    CHECK(list.tag(20).empty());
}

TEST_CASE("the resource script lists the pictures in the image list's order") {
    std::filesystem::path script = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "res" / "icons.rc";
    std::ifstream in(script);
    REQUIRE_MESSAGE(in, "cannot read ", script.string());
    std::vector<std::string> listed;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) listed.push_back(line);
    std::vector<std::string> expected;
    int id = kFirstMenuIconResource;
    for (const auto& entry : kMenuImageTable)
        expected.push_back(std::to_string(id++) + " ICON \"icons/" + std::string(entry.file) + ".ico\"");
    CHECK(listed == expected);
}
