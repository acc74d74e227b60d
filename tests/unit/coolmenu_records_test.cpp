#include "coolmenu/help_callback.h"
#include "coolmenu/item_data.h"
#include "coolmenu/wnd_cool_menu.h"

#include <doctest/doctest.h>

#include <vector>

using namespace lumivane::coolmenu;

TEST_CASE("item registry: add, key and position lookups, silent misses, removal") {
    CMyItemDatas items;
    CMyItemData* one = items.Add("1");
    REQUIRE(one);
    CHECK_FALSE(one->bAsMark);
    CHECK_FALSE(one->bTrueSub);
    CHECK(one->iButton == 0);
    CHECK(one->fType == 0);
    CHECK(one->sMenuText.empty());
    CMyItemData* two = items.Add("2");
    CHECK(items.Add("1") == nullptr);  // a taken key is refused, the first stays
    CHECK(items.Count() == 2);
    CHECK(items.Item("1") == one);
    CHECK(items.Item(1) == one);
    CHECK(items.Item(2) == two);
    CHECK(items.Item("3") == nullptr);
    CHECK(items.Item(0) == nullptr);
    CHECK(items.Item(3) == nullptr);
    CHECK(items.Item("") == nullptr);

    CHECK(items.Remove("1"));
    CHECK_FALSE(items.Remove("1"));
    CHECK(items.Item(1) == two);  // positions close up
    CHECK(items.Remove(1));
    CHECK(items.Count() == 0);
    CHECK_FALSE(items.Remove(1));
}

TEST_CASE("help callback hands the three values to the host, and nothing without a handler") {
    HelpCallBack help;
    help.RaiseHelpEvent("text", "help", true);  // no handler: nothing happens
    std::vector<std::string> got;
    help.MenuHelp = [&](std::string text, std::string helpText, bool enabled) {
        got.push_back(text + "/" + helpText + (enabled ? "/on" : "/off"));
        text = "changed";
    };
    std::string text = "Exit";
    help.RaiseHelpEvent(text, "Ends it", false);
    CHECK(text == "Exit");
    CHECK(got == std::vector<std::string>{"Exit/Ends it/off"});
}

TEST_CASE("a new window record holds its initial settings") {
    WndCoolMenu w;
    CHECK(w.CountMenuHeads() == 0);
    CHECK(w.GetMenuHead(0) == 0);
    CHECK(w.MainPopedIndex() == "-1");
    CHECK(w.FontSize() == 8);
    CHECK(w.ComplexChecks);
    CHECK(w.ColorEmbossed);
    CHECK(w.FullSelect);
    CHECK_FALSE(w.RightToLeft);
    CHECK(w.SelectColor == 0);
    CHECK(w.ForeColor == 0);
    CHECK(w.SCMainMenu == 0);
    CHECK(w.FontName().empty());
    CHECK(w.MenuFont() == nullptr);
    CHECK(w.MenuFontSep() == nullptr);
    CHECK(w.ilHandle == nullptr);
    CHECK(w.HelpObj == nullptr);
}

TEST_CASE("menu heads are recorded once each, with a trailing zero slot") {
    WndCoolMenu w;
    w.AddMenuHead(0);
    CHECK(w.CountMenuHeads() == 0);
    w.AddMenuHead(0x11);
    w.AddMenuHead(0x22);
    w.AddMenuHead(0x11);
    w.AddMenuHead(0);
    CHECK(w.CountMenuHeads() == 2);
    CHECK(w.GetMenuHead(0) == 0x11);
    CHECK(w.GetMenuHead(1) == 0x22);
    CHECK(w.GetMenuHead(2) == 0);
    CHECK(w.GetMenuHead(9) == 0);
    CHECK(w.GetMenuHead(-1) == 0);
}

TEST_CASE("MainPopedIndex is text outside and a 16-bit number inside") {
    WndCoolMenu w;
    w.MainPopedIndex("3");
    CHECK(w.MainPopedIndex() == "3");
    CHECK(w.mainPopedIndex() == 3);
    w.MainPopedIndex("-2");
    CHECK(w.MainPopedIndex() == "-2");
    w.MainPopedIndex("abc");
    w.MainPopedIndex("70000");
    w.MainPopedIndex("4x");
    CHECK(w.MainPopedIndex() == "-2");
}

namespace {
std::vector<void*> deleted;
int rebuilds = 0;
void recordDelete(void* font) { deleted.push_back(font); }
void countRebuild(WndCoolMenu&) { ++rebuilds; }
} // namespace

TEST_CASE("the window record owns its two fonts") {
    deleted.clear();
    rebuilds = 0;
    {
        WndCoolMenu never(recordDelete, countRebuild);
    }
    CHECK(deleted.empty());  // fonts never made: nothing to delete

    void* a = reinterpret_cast<void*>(0xA);
    void* b = reinterpret_cast<void*>(0xB);
    void* s = reinterpret_cast<void*>(0x5);
    {
        WndCoolMenu w(recordDelete, countRebuild);
        w.MenuFont(a);
        w.MenuFont(a);  // the same font again is not a replacement
        CHECK(deleted.empty());
        w.MenuFont(b);
        CHECK(deleted == std::vector<void*>{a});
        w.MenuFontSep(s);
        w.FontName("Tahoma");
        w.FontSize(10);
        CHECK(rebuilds == 2);
        w.assignFontName("Arial");
        CHECK(rebuilds == 2);
        CHECK(w.FontName() == "Arial");
    }
    CHECK(deleted == std::vector<void*>{a, b, s});
}
