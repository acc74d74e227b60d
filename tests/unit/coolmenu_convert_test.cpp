#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"
#include "fakes/memory_menu.h"
#include "fakes/menu_images.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace lumivane::coolmenu;
using fakes::MemoryItem;

namespace {
constexpr std::uintptr_t kHwnd = 0x40;

struct Engine {
    Registries reg;
    fakes::MemoryMenus menus;
    fakes::TagImages images = fakes::TagImages::program();
    WndCoolMenu* window = nullptr;
    Engine() {
        auto w = std::make_unique<WndCoolMenu>();
        w->hwnd = kHwnd;
        w->ilHandle = &images;
        window = w.get();
        reg.addWindow(std::move(w));
    }
    MenuHandle popup(std::vector<std::string> captions) {
        std::vector<MemoryItem> items;
        std::uint32_t id = 100;
        for (auto& c : captions) items.push_back(MemoryItem{id++, 0, 0, 0, c, 0});
        return menus.create(std::move(items));
    }
    void convert(MenuHandle m, bool mainMenu = false) { ConvertMenu(reg, menus, kHwnd, m, 0, false, true, mainMenu); }
    void restore(MenuHandle m) { ConvertMenu(reg, menus, kHwnd, m, 0, false, false, false); }
    const CMyItemData& record(MenuHandle m, int pos) {
        CMyItemData* r = reg.item(menus.at(m, pos).data);
        REQUIRE(r);
        return *r;
    }
};

// A record's parse result, compact for table checks.
std::string shape(const CMyItemData& r) {
    std::string s = r.sMenuText + "|" + r.sMenuHelp + "|";
    s += (r.fType & kTypeSeparator) ? "H" : "-";
    s += r.bAsMark ? (r.bAsCheck ? "C" : "B") : "-";
    return s;
}
} // namespace

TEST_CASE("caption markers decide heading, mark and drawn text") {
    struct Row {
        const char* caption;
        const char* expected;  // text|help|heading?mark?
    };
    const Row rows[] = {
        {"- CD Drives", " CD Drives||H-"},
        {"-", "||H-"},
        {"#Checked", "Checked||-C"},
        {"*Bullet", "Bullet||-B"},
        {"&1 One", "&1 One||-B"},
        {"&9 Nine", "&9 Nine||-B"},
        {"&a Letter", "&a Letter||--"},
        {"&0 Zero", "&0 Zero||--"},
        {"&1x", "&1x||--"},
        {"&1", "&1||--"},
        {"!Hidden", "!Hidden||--"},
        {"Exit", "Exit||--"},
        {"#|help|text", "text|help|-C"},
        {"-|help|text", "text|help|H-"},
        {"*|h|", "|h|-B"},
        {"ab|help|", "|help|--"},
        {"|x|&2 y", "&2 y|x|--"},
        {"&1 |h|t", "t|h|-B"},
        {"", "||--"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.caption);
        Engine e;
        MenuHandle m = e.popup({row.caption});
        e.convert(m);
        CHECK(shape(e.record(m, 0)) == row.expected);
        CHECK((e.menus.at(m, 0).type & kTypeOwnerDraw) != 0);
        std::string expected = row.expected;
        bool heading = expected[expected.size() - 2] == 'H';
        CHECK(((e.menus.at(m, 0).type & kTypeSeparator) != 0) == heading);
    }
}

TEST_CASE("a lone | ends the conversion where it stands and leaves no record behind") {
    Engine e;
    MenuHandle m = e.popup({"Run", "a|b", "Exit"});
    e.convert(m);
    CHECK(e.menus.at(m, 0).type == kTypeOwnerDraw);
    CHECK(e.menus.at(m, 0).data == 1);
    CHECK(e.menus.at(m, 1).type == 0);
    CHECK(e.menus.at(m, 1).data == 0);
    CHECK(e.menus.at(m, 2).type == 0);
    CHECK(e.reg.items.Count() == 1);
    CHECK(e.window->CountMenuHeads() == 1);

    // Once the caption is mended the next conversion goes on from there.
    e.menus.at(m, 1).caption = "a|b|c";
    e.convert(m);
    CHECK(e.menus.at(m, 1).data == 2);
    CHECK(e.menus.at(m, 2).data == 3);
    CHECK(e.record(m, 1).sMenuText == "c");
    e.restore(m);
    CHECK(e.reg.items.Count() == 0);
    CHECK(e.menus.at(m, 1).caption == "|b|c");  // a marker that was no marker is not kept
}

TEST_CASE("a failed write leaves the item and the registry as they were") {
    Engine e;
    MenuHandle m = e.popup({"Run", "Exit"});
    e.menus.failWriteAt = 1;
    e.convert(m);
    CHECK(e.reg.items.Count() == 1);
    CHECK(e.menus.at(m, 1).data == 0);
    e.convert(m);
    CHECK(e.menus.at(m, 1).data == 2);
}

TEST_CASE("data numbers follow the registry count and records carry type and submenu") {
    Engine e;
    MenuHandle sub = e.popup({"Inner"});
    MenuHandle bar = e.menus.create({MemoryItem{1, 0, 0, 0, "&File", sub}, MemoryItem{2, 0, 0, 0, "Turn", 0}});
    e.convert(bar, true);
    CHECK(e.menus.at(bar, 0).data == 1);
    CHECK(e.menus.at(bar, 1).data == 2);
    CHECK(e.record(bar, 0).bMainMenu);
    CHECK_FALSE(e.record(bar, 0).bTrueSub);  // menu-bar items never count as submenu items
    CHECK(e.record(bar, 1).iButton == -1);     // no images on the menu bar
    CHECK(e.window->CountMenuHeads() == 0);    // the bar is no head

    MenuHandle popup = e.menus.create({MemoryItem{10, 0, 0, 0, "More", sub}, MemoryItem{11, 0x4000, 0, 0, "Right", 0}});
    e.convert(popup);
    CHECK(e.menus.at(popup, 0).data == 3);
    CHECK(e.record(popup, 0).bTrueSub);
    CHECK_FALSE(e.record(popup, 0).bMainMenu);
    CHECK(e.menus.at(popup, 1).type == (0x4000u | kTypeOwnerDraw));  // other bits stay
    CHECK(e.record(popup, 1).fType == (0x4000u | kTypeOwnerDraw));
    CHECK(e.window->CountMenuHeads() == 1);
    CHECK(e.window->GetMenuHead(0) == popup);

    e.restore(popup);
    CHECK(e.reg.items.Count() == 2);  // the bar's records stay
    CHECK(e.menus.at(popup, 1).type == 0x4000u);
}

TEST_CASE("a true separator keeps its bit, draws as an empty heading and comes back as a separator") {
    Engine e;
    MenuHandle m = e.menus.create({MemoryItem{0, kTypeSeparator, 0, 0, "", 0}, MemoryItem{5, 0, 0, 0, "Exit", 0}});
    e.convert(m);
    CHECK(e.menus.at(m, 0).type == (kTypeSeparator | kTypeOwnerDraw));
    CHECK(e.record(m, 0).sMenuText.empty());
    CHECK((e.record(m, 0).fType & kTypeSeparator) != 0);
    e.restore(m);
    CHECK(e.menus.at(m, 0).type == kTypeSeparator);
    CHECK(e.menus.at(m, 0).data == 0);
    CHECK(e.menus.at(m, 1).caption == "Exit");
}

TEST_CASE("restore rebuilds the captions, and a new conversion gives the same records") {
    Engine e;
    std::vector<std::string> captions = {"- CD Drives", "-", "#Checked", "*Bullet", "#|help|text", "-|h|Head",
                                         "Exit", "!Hidden", "&1 Mark"};
    MenuHandle m = e.popup(captions);
    e.convert(m);
    std::vector<std::string> first;
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) first.push_back(shape(e.record(m, i)));
    e.restore(m);
    CHECK(e.reg.items.Count() == 0);
    for (int i = 0; i < 8; ++i) {
        CAPTURE(i);
        CHECK(e.menus.at(m, i).caption == captions[static_cast<size_t>(i)]);
        CHECK(e.menus.at(m, i).type == 0);
        CHECK(e.menus.at(m, i).data == 0);
    }
    // The "&" + digit rule comes back as a bullet marker and stays so.
    CHECK(e.menus.at(m, 8).caption == "*&1 Mark");
    e.convert(m);
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) CHECK(shape(e.record(m, i)) == first[static_cast<size_t>(i)]);
    e.restore(m);
    CHECK(e.menus.at(m, 8).caption == "*&1 Mark");
}

TEST_CASE("a text that would read as markers or help survives convert, restore and convert again") {
    Engine e;
    // Empty help parts guard a "|" in the text and marker characters at its start.
    std::vector<std::string> captions = {"||a|b", "x||#Not checked", "||-Not a heading", "||*x", "||&1 Not marked",
                                         "#||", "-|h|#x"};
    MenuHandle m = e.popup(captions);
    e.convert(m);
    std::vector<std::string> first;
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) first.push_back(shape(e.record(m, i)));
    CHECK(first[0] == "a|b||--");
    CHECK(first[1] == "#Not checked||--");
    CHECK(first[4] == "&1 Not marked||--");
    e.restore(m);
    CHECK(e.reg.items.Count() == 0);
    e.convert(m);
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
        CAPTURE(i);
        REQUIRE((e.menus.at(m, i).type & kTypeOwnerDraw) != 0);
        CHECK(shape(e.record(m, i)) == first[static_cast<size_t>(i)]);
    }
    CHECK(RebuildCaption("a|b", "", false, false, false) == "||a|b");
    CHECK(RebuildCaption("#x", "", false, false, false) == "||#x");
    CHECK(RebuildCaption("#x", "", true, true, false) == "##x");
    CHECK(RebuildCaption("Plain", "", false, false, false) == "Plain");
}

TEST_CASE("after convert and restore the registry holds what it held before") {
    Engine e;
    MenuHandle bar = e.menus.create({MemoryItem{1, 0, 0, 0, "File", 0}, MemoryItem{2, 0, 0, 0, "Edit", 0}});
    e.convert(bar, true);
    const CMyItemData* kept1 = e.reg.items.Item("1");
    const CMyItemData* kept2 = e.reg.items.Item("2");
    MenuHandle m = e.popup({"Run", "Exit"});
    e.convert(m);
    CHECK(e.reg.items.Count() == 4);
    CHECK(e.menus.at(m, 0).data == 3);
    e.restore(m);
    CHECK(e.reg.items.Count() == 2);
    CHECK(e.reg.items.Item("1") == kept1);
    CHECK(e.reg.items.Item("2") == kept2);
}

TEST_CASE("converting a converted popup changes nothing and records the head once") {
    Engine e;
    MenuHandle m = e.popup({"Run", "Exit"});
    e.convert(m);
    int writes = e.menus.writes;
    e.convert(m);
    CHECK(e.menus.writes == writes);
    CHECK(e.reg.items.Count() == 2);
    CHECK(e.window->CountMenuHeads() == 1);
}

TEST_CASE("host-owned owner-drawn items are left alone both ways") {
    Engine e;
    MenuHandle m = e.menus.create({MemoryItem{1, kTypeOwnerDraw, 0, 0, "", 0}, MemoryItem{2, 0, 0, 0, "Exit", 0}});
    e.convert(m);
    e.restore(m);
    CHECK(e.menus.at(m, 0).type == kTypeOwnerDraw);
    CHECK(e.menus.at(m, 1).type == 0);
    CHECK(e.menus.at(m, 1).caption == "Exit");
    CHECK(e.reg.items.Count() == 0);
}

TEST_CASE("an empty menu, handle 0, a system menu or an unknown window record nothing") {
    Engine e;
    MenuHandle empty = e.menus.create();
    e.convert(empty);
    e.convert(0);
    MenuHandle sys = e.menus.create({MemoryItem{0xF060, 0, 0, 0, "Close", 0}, MemoryItem{0, kTypeSeparator, 0, 0, "", 0}});
    ConvertMenu(e.reg, e.menus, kHwnd, sys, 0, true, true, false);
    MenuHandle other = e.popup({"Run"});
    ConvertMenu(e.reg, e.menus, 0x99, other, 0, false, true, false);
    CHECK(e.window->CountMenuHeads() == 0);
    CHECK(e.reg.items.Count() == 0);
    CHECK(e.menus.writes == 0);
}

TEST_CASE("image choice by tag prefix, case-insensitive, first in list order") {
    auto images = fakes::TagImages::program();
    CHECK(GetImageIndex(&images, "1. C:\\") == 1);
    CHECK(GetImageIndex(&images, "10. D:\\Music") == 10);  // "1." does not match "10"
    CHECK(GetImageIndex(&images, "2. D:\\") == 2);
    CHECK(GetImageIndex(&images, "Turn Monitor Off") == 15);
    CHECK(GetImageIndex(&images, "Run Screen Saver") == 12);
    CHECK(GetImageIndex(&images, "Don't Load at Startup") == 14);
    CHECK(GetImageIndex(&images, "Load at Startup") == 11);
    CHECK(GetImageIndex(&images, "CUSTOMIZE") == 17);
    CHECK(GetImageIndex(&images, "exit") == 13);
    CHECK(GetImageIndex(&images, "Open D:") == 18);
    CHECK(GetImageIndex(&images, "Ru") == 12);      // a text shorter than the tag matches its start
    CHECK(GetImageIndex(&images, "") == 0);         // empty text: the first tagged image
    CHECK(GetImageIndex(&images, " CD Drives") == -1);
    CHECK(GetImageIndex(nullptr, "Run") == -1);

    fakes::TagImages untagged({"", "\xC3\xA9t\xC3\xA9", "x"});
    CHECK(GetImageIndex(&untagged, "") == 1);
    CHECK(GetImageIndex(&untagged, "\xC3\x89T\xC3\x89 long") == 1);  // Latin-1 letters fold too

    // The chosen index lands in the record, headings and marks included.
    Engine e;
    MenuHandle m = e.popup({"- CD Drives", "#Exit", "Turn Monitor Off", "ab|h|"});
    e.convert(m);
    CHECK(e.record(m, 0).iButton == -1);
    CHECK(e.record(m, 1).iButton == 13);
    CHECK(e.record(m, 2).iButton == 15);
    CHECK(e.record(m, 3).iButton == 0);
}
