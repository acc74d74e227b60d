#include "coolmenu/convert_menu.h"
#include "coolmenu/menu_messages.h"
#include "fakes/memory_menu.h"
#include "fakes/menu_images.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;
using fakes::MemoryItem;

namespace {
constexpr std::uintptr_t kHwnd = 0x40;

struct Host {
    Registries reg;
    fakes::MemoryMenus menus;
    fakes::TagImages images = fakes::TagImages::program();
    HelpCallBack help;
    std::vector<std::string> events;
    WndCoolMenu* window = nullptr;
    Host() {
        auto w = std::make_unique<WndCoolMenu>();
        w->hwnd = kHwnd;
        w->ilHandle = &images;
        w->HelpObj = &help;
        window = w.get();
        reg.addWindow(std::move(w));
        help.MenuHelp = [this](std::string text, std::string helpText, bool enabled) {
            events.push_back(text + "|" + helpText + "|" + (enabled ? "on" : "off"));
        };
    }
    MenuHandle popup(std::vector<std::string> captions, std::uint32_t firstId = 100) {
        std::vector<MemoryItem> items;
        for (auto& c : captions) items.push_back(MemoryItem{firstId++, 0, 0, 0, c, 0});
        return menus.create(std::move(items));
    }
    void open(MenuHandle m) { OnInitMenuPopup(reg, menus, kHwnd, m, 0, false); }
    std::uint32_t menuChar(char32_t c, MenuHandle m) { return OnMenuChar(reg, menus, c, m); }
};
} // namespace

TEST_CASE("a mnemonic chooses one match, selects among several, and passes on none") {
    Host h;
    MenuHandle m = h.popup({"&Open", "&Close", "E&xit", "&other", "- &Heading", "No mark", "Amp at end&"});
    h.open(m);
    CHECK(h.menuChar(U'x', m) == ((kMenuCharExecute << 16) | 2));
    CHECK(h.menuChar(U'X', m) == ((kMenuCharExecute << 16) | 2));
    CHECK(h.menuChar(U'c', m) == ((kMenuCharExecute << 16) | 1));
    // "&Open", "&other": the first unless the highlighted one is a match.
    CHECK(h.menuChar(U'o', m) == ((kMenuCharSelect << 16) | 0));
    h.menus.at(m, 3).state = kStateHilite;
    CHECK(h.menuChar(U'O', m) == ((kMenuCharSelect << 16) | 3));
    h.menus.at(m, 3).state = 0;
    h.menus.at(m, 2).state = kStateHilite;  // highlighted, but no match
    CHECK(h.menuChar(U'o', m) == ((kMenuCharSelect << 16) | 0));
    CHECK(h.menuChar(U'h', m) == ((kMenuCharExecute << 16) | 4));  // headings are searched too
    CHECK(h.menuChar(U'n', m) == 0);
    CHECK(h.menuChar(U'q', m) == 0);
    CHECK(h.menuChar(U'&', m) == 0);  // an "&" at the end has nothing after it

    // Items that are not the engine's are not looked at.
    MenuHandle plain = h.popup({"&Open", "&Other"});
    CHECK(h.menuChar(U'o', plain) == 0);
    CHECK(h.menuChar(U'o', 0) == 0);

    // Letters beyond ASCII fold to upper case too.
    MenuHandle accents = h.popup({"&\xC3\xA9t\xC3\xA9"});
    h.open(accents);
    CHECK(h.menuChar(U'\u00C9', accents) == ((kMenuCharExecute << 16) | 0));
}

TEST_CASE("selection changes report help; submenu items and the close report empty help") {
    Host h;
    MenuHandle sub = h.popup({"#|Inner help|Inner"}, 200);
    MenuHandle m = h.menus.create({MemoryItem{100, 0, 0, 0, "-|Heading help|Options", 0},
                                   MemoryItem{101, 0, 0, 0, "Run|Starts it|", 0},
                                   MemoryItem{102, 0, 0, 0, "More", sub},
                                   MemoryItem{103, 0, 3, 0, "Disabled", 0},
                                   MemoryItem{104, 0, 0, 0, "Plain", 0}});
    h.open(m);
    h.menus.at(m, 4).type = 0;  // an item that lost its conversion has no record to report
    h.menus.at(m, 4).data = 0;
    OnMenuSelect(h.reg, h.menus, kHwnd, 101, 0x80, m);
    OnMenuSelect(h.reg, h.menus, kHwnd, 100, 0x80, m);
    OnMenuSelect(h.reg, h.menus, kHwnd, 2, 0x10 | 0x80, m);  // a submenu item comes by position
    OnMenuSelect(h.reg, h.menus, kHwnd, 103, 0x80 | 0x3, m);
    OnMenuSelect(h.reg, h.menus, kHwnd, 104, 0x80, m);
    h.open(sub);
    OnMenuSelect(h.reg, h.menus, kHwnd, 200, 0x80, sub);
    OnMenuSelect(h.reg, h.menus, kHwnd, 0, kSelectClosed, 0);
    CHECK(h.events == std::vector<std::string>{
                          "|Starts it|on",
                          "Options|Heading help|on",
                          "||on",
                          "Disabled||off",
                          "||on",
                          "Inner|Inner help|on",
                          "||on",
                      });

    // No help object: nothing is reported, and the close still restores.
    h.window->HelpObj = nullptr;
    h.events.clear();
    h.open(m);
    OnMenuSelect(h.reg, h.menus, kHwnd, 101, 0x80, m);
    OnMenuSelect(h.reg, h.menus, kHwnd, 0, kSelectClosed, 0);
    CHECK(h.events.empty());
    CHECK(h.menus.at(m, 1).caption == "|Starts it|");
}

TEST_CASE("opening suspends the bar frame; closing restores every head and clears it") {
    Host h;
    MenuHandle bar = h.menus.create({MemoryItem{1, 0, 0, 0, "File", 0}});
    ConvertMenu(h.reg, h.menus, kHwnd, bar, 0, false, true, true);
    MenuHandle sub = h.popup({"#Checked", "- Group"}, 300);
    MenuHandle m = h.menus.create({MemoryItem{100, 0, 0, 0, "Run", 0}, MemoryItem{101, 0, 0, 0, "More", sub}});
    h.open(m);
    CHECK(h.window->MainPopedIndex() == "-2");
    h.open(sub);
    h.open(m);  // opened again while the menu stays open: converted once
    CHECK(h.window->CountMenuHeads() == 2);
    CHECK(h.window->GetMenuHead(0) == m);
    CHECK(h.window->GetMenuHead(1) == sub);
    CHECK(h.reg.items.Count() == 5);

    // A selection change that is not the close restores nothing.
    OnMenuSelect(h.reg, h.menus, kHwnd, 0, 0, 0);
    CHECK(h.reg.items.Count() == 5);

    OnMenuSelect(h.reg, h.menus, kHwnd, 0, kSelectClosed, 0);
    CHECK(h.window->MainPopedIndex() == "-1");
    CHECK(h.reg.items.Count() == 1);  // only the menu bar's record is left
    CHECK(h.menus.at(m, 0).caption == "Run");
    CHECK(h.menus.at(m, 0).type == 0);
    CHECK(h.menus.at(sub, 0).caption == "#Checked");
    CHECK(h.menus.at(sub, 1).caption == "- Group");
    CHECK(h.menus.at(sub, 1).type == 0);
    CHECK(h.menus.at(bar, 0).type == kTypeOwnerDraw);

    // The next opening numbers the popup's items after the bar's again.
    h.open(m);
    CHECK(h.menus.at(m, 0).data == 2);
}

TEST_CASE("a popup made anew for every opening leaves no head and no record behind") {
    // The tray program builds a new popup each time and destroys it after the
    // close; a thousand openings must not pile up a thousand heads.
    Host h;
    MenuHandle kept = h.popup({"Kept"});
    for (int round = 0; round < 1000; ++round) {
        MenuHandle m = h.popup({"- Folders", "1. C:\\", "Exit"});
        h.open(m);
        if (round % 100 == 0) h.open(kept);
        OnMenuSelect(h.reg, h.menus, kHwnd, 0, kSelectClosed, 0);
        h.menus.destroy(m);
    }
    CHECK(h.window->CountMenuHeads() <= 2);
    CHECK(h.reg.items.Count() == 0);
    // A menu that still exists stays a head, so a later close still restores it.
    h.open(kept);
    OnMenuSelect(h.reg, h.menus, kHwnd, 0, kSelectClosed, 0);
    CHECK(h.menus.at(kept, 0).caption == "Kept");
    CHECK(h.menus.at(kept, 0).type == 0);
}

TEST_CASE("the menu-bar watch converts a replaced bar only when a host armed it") {
    Host h;
    MenuHandle oldBar = h.menus.create({MemoryItem{1, 0, 0, 0, "File", 0}});
    MenuHandle newBar = h.menus.create({MemoryItem{2, 0, 0, 0, "Edit", 0}});
    h.window->SCMainMenu = -1;
    WatchMenuBar(h.reg, h.menus, kHwnd, newBar);
    CHECK(h.menus.at(newBar, 0).type == 0);
    h.window->SCMainMenu = static_cast<std::intptr_t>(newBar);
    WatchMenuBar(h.reg, h.menus, kHwnd, newBar);  // unchanged bar
    CHECK(h.menus.at(newBar, 0).type == 0);
    h.window->SCMainMenu = static_cast<std::intptr_t>(oldBar);
    WatchMenuBar(h.reg, h.menus, kHwnd, newBar);
    CHECK(h.menus.at(newBar, 0).type == kTypeOwnerDraw);
    CHECK(h.reg.item(h.menus.at(newBar, 0).data)->bMainMenu);
    CHECK(h.window->SCMainMenu == -1);
}

namespace {
struct FakeBar final : MenuBarView {
    std::vector<std::uint32_t> types{0x100, 0x100, 0x900, 0x4100};
    std::vector<std::string> drawn;
    int itemAt(int x, int y) override { return y == 0 && x >= 0 && x < 40 ? x / 10 : -1; }
    std::uint32_t itemType(int position) override { return types.at(static_cast<size_t>(position)); }
    void drawFrame(int position, bool raised) override {
        drawn.push_back((raised ? "raise " : "flat ") + std::to_string(position));
    }
};
} // namespace

TEST_CASE("the raised frame follows the pointer across the menu bar") {
    WndCoolMenu w;
    FakeBar bar;
    TrackMenuBar(w, bar, 5, 0, -1);
    TrackMenuBar(w, bar, 7, 0, -1);             // same item: nothing new
    TrackMenuBar(w, bar, 15, 0, -1);            // next item: old one flattened first
    CHECK(w.MainPopedIndex() == "1");
    TrackMenuBar(w, bar, 0, 0, kHitMenu);       // over the bar: frame stays
    TrackMenuBar(w, bar, 25, 0, -1);            // a separator gets no frame
    CHECK(w.MainPopedIndex() == "-1");
    TrackMenuBar(w, bar, 5, 0, -1);
    TrackMenuBar(w, bar, 35, 0, -1);            // nor a right-justified item
    TrackMenuBar(w, bar, 5, 0, -1);
    TrackMenuBar(w, bar, 0, 0, 1);              // into the client area
    TrackMenuBar(w, bar, 0, 0, 1);              // nothing left to flatten
    TrackMenuBar(w, bar, 5, 0, -1);
    TrackMenuBar(w, bar, 5, 50, -1);            // off the bar
    CHECK(bar.drawn == std::vector<std::string>{"raise 0", "flat 0", "raise 1", "flat 1", "raise 0", "flat 0",
                                                "raise 0", "flat 0", "raise 0", "flat 0"});

    // While a popup is open nothing is drawn.
    bar.drawn.clear();
    w.setMainPopedIndex(-2);
    TrackMenuBar(w, bar, 5, 0, -1);
    TrackMenuBar(w, bar, 0, 0, 1);
    CHECK(bar.drawn.empty());
    CHECK(w.MainPopedIndex() == "-2");
}
