#include "fakes/recording.h"
#include "shell/menu_images.h"
#include "shell/menu_text.h"
#include "shell/popup_lines.h"

#include <doctest/doctest.h>

#include <cctype>
#include <filesystem>
#include <fstream>

using namespace lumivane;
using Lines = std::vector<std::string>;

TEST_CASE("shortenedPath keeps the last component, cut at 20 characters, and leaves texts under 4 whole") {
    auto shortened = [](std::string s) { return menu_text::shortenedPath(s).value_or("(whole) " + s); };
    CHECK(shortened("C:\\") == "(whole) C:\\");
    CHECK(shortened("C:\\a") == "a");
    CHECK(shortened("D:\\Data\\").empty());
    CHECK(shortened("C:/Users/me") == "C:/Users/me");  // only the backslash separates
    CHECK(shortened("C:\\" + std::string(19, 'b')) == std::string(19, 'b'));
    CHECK(shortened(std::string(20, 'a')) == std::string(20, 'a') + "...");
    // Characters, not UTF-8 bytes, are counted, and a cut never splits one.
    CHECK(shortened("\xC3\xA9\xC3\xA9\\") == "(whole) \xC3\xA9\xC3\xA9\\");
    std::string e20;
    for (int i = 0; i < 20; ++i) e20 += "\xC3\xA9";
    CHECK(shortened("C:\\" + e20 + "\xC3\xA9") == e20 + "...");
}

TEST_CASE("the folder items are numbered without gaps and the popup shows only visible items") {
    fakes::FakeHub hub;
    hub.host.boxes[2] = "C:\\a\\Photos";
    hub.host.boxes[7] = "D:\\Tom & Jerry";
    hub.logic.updateFolderItems();
    hub.logic.popupMenu.find("about")->enabled = false;
    auto lines = visibleLines(hub.logic.popupMenu);
    Lines texts;
    for (const auto& line : lines) texts.push_back(line.separator ? "<separator>" : line.text);
    CHECK(texts == Lines{"- CD Drives", "- F o l d e r s ", "1. Photos", "2. Tom && Jerry", "- L u m i v a n e",
                         "Run Screen Saver", "Turn Monitor Off", "- O p t i o n s ", "", "Customize", "About",
                         "<separator>", "Exit"});
    CHECK(lines[2].id == menu_id::kFolderBase + 2);
    CHECK(lines[3].id == menu_id::kFolderBase + 7);
    CHECK_FALSE(lines[10].enabled);
    for (const auto& line : lines) CHECK(line.id != 0);

    // Refilled: the numbers follow; blanks are not empty; a hidden item keeps its old caption.
    hub.host.boxes[2] = "";
    hub.host.boxes[0] = "C:\\";
    hub.host.boxes[9] = "   ";
    hub.logic.updateFolderItems();
    CHECK(hub.logic.popupMenu.folder(0).caption == "1. C:\\");
    CHECK(hub.logic.popupMenu.folder(7).caption == "2. Tom && Jerry");
    CHECK(hub.logic.popupMenu.folder(9).caption == "3.    ");
    CHECK_FALSE(hub.logic.popupMenu.folder(2).visible);
    CHECK_FALSE(hub.logic.popupMenu.folder(2).enabled);
    CHECK(hub.logic.popupMenu.folder(2).caption == "1. Photos");
}

TEST_CASE("the CD group is made again only when its drive letters change") {
    PopupMenu menu;
    CHECK(menu.setCdDrives({'E', 'D', 'E', '1', 'e'}));  // a letter once; a root that names no drive is left out
    CHECK(menu.cdDrives() == std::vector<char>{'D', 'E'});
    CHECK(menu.items()[1].caption == "Open [D:]");
    CHECK_FALSE(menu.setCdDrives({'E', 'D'}));
    CHECK(menu.setCdDrives({}));
    CHECK(menu.items()[1].name == "foldersHeading");
}

TEST_CASE("menuImages finds the tray picture by key, and the icon resources come in the list's order") {
    ImageList list;
    int pictures[19];
    for (size_t i = 0; i < 19; ++i)
        list.add(std::string(kMenuImageTable[i].key), std::string(kMenuImageTable[i].tag), &pictures[i]);
    CHECK(list.iconOf("turn") == &pictures[15]);  // the tray's picture

    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "res" / "icons.rc");
    REQUIRE(in);
    Lines listed, expected;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) listed.push_back(line);
    int id = kFirstMenuIconResource;
    for (const auto& entry : kMenuImageTable)
        expected.push_back(std::to_string(id++) + " ICON \"icons/" + std::string(entry.file) + ".ico\"");
    CHECK(listed == expected);
}
