#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/menu_messages.h"
#include "fakes/memory_menu.h"
#include "fakes/menu_images.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace lumivane::coolmenu;
using fakes::MemoryItem;
using Lines = std::vector<std::string>;

namespace {
constexpr std::uintptr_t kHwnd = 0x40;

struct Engine {
    Registries reg;
    fakes::MemoryMenus menus;
    HelpCallback help;
    Lines events;
    WindowState* window = nullptr;
    Engine() {
        auto w = std::make_unique<WindowState>();
        w->hwnd = kHwnd;
        w->help = &help;
        window = w.get();
        reg.addWindow(std::move(w));
        help.onHelp = [this](std::string text, std::string helpText, bool enabled) {
            events.push_back(text + "|" + helpText + "|" + (enabled ? "on" : "off"));
        };
    }
    MenuHandle popup(const Lines& captions, std::uint32_t id = 100) {
        std::vector<MemoryItem> items;
        for (const auto& c : captions) items.push_back({id++, 0, 0, 0, c, 0});
        return menus.create(std::move(items));
    }
    void convert(MenuHandle m, bool bar = false) { convertMenu(reg, menus, kHwnd, m, 0, false, true, bar); }
    void restore(MenuHandle m) { convertMenu(reg, menus, kHwnd, m, 0, false, false, false); }
    void open(MenuHandle m) { onInitMenuPopup(reg, menus, kHwnd, m, 0, false); }
    void close() { onMenuSelect(reg, menus, kHwnd, 0, kSelectClosed, 0); }
    Lines captions(MenuHandle m) {
        Lines out;
        for (const auto& item : menus.items(m)) out.push_back(item.caption);
        return out;
    }
};

// What a caption says, compactly: text|help|heading, mark.
std::string shape(const std::optional<ParsedCaption>& p) {
    if (!p) return "unreadable";
    return p->text + "|" + p->help + "|" + (p->heading ? "H" : "-") + (p->asMark ? (p->asCheck ? "C" : "B") : "-");
}
} // namespace

TEST_CASE("caption markers: heading, check mark, bullet, help part, what is no marker; the image a text picks") {
    const std::pair<const char*, const char*> rows[] = {
        {"- CD Drives", " CD Drives||H-"}, {"#Checked", "Checked||-C"}, {"*Bullet", "Bullet||-B"},
        {"&1 One", "&1 One||-B"},          {"&0 Zero", "&0 Zero||--"},  {"&1x", "&1x||--"},
        {"!Hidden", "!Hidden||--"},        {"-|help|text", "text|help|H-"}, {"ab|help|", "|help|--"},
        {"&1 |h|t", "t|h|-B"},             {"", "||--"},                {"a|b", "unreadable"},
    };
    for (const auto& [caption, expected] : rows) {
        CAPTURE(caption);
        CHECK(shape(parseCaption(caption)) == expected);
    }
    // Images by tag prefix, without regard to case, first in list order.
    fakes::TagImages images({"About", "1.", "10.", "Run", "Exit"});
    CHECK(imageIndexFor(&images, "10. D:\\Music") == 2);  // "1." does not match "10"
    CHECK(imageIndexFor(&images, "exit") == 4);
    CHECK(imageIndexFor(&images, "Ru") == 3);  // a text shorter than the tag matches its start
    CHECK(imageIndexFor(&images, " CD Drives") == -1);
    fakes::TagImages accented({"x", "\xC3\xA9t\xC3\xA9"});
    CHECK(imageIndexFor(&accented, "\xC3\x89T\xC3\x89 long") == 1);
}

TEST_CASE("convert and restore give every caption back and leave the other records alone") {
    Engine e;
    MenuHandle bar = e.popup({"File", "Edit"}, 1);
    e.convert(bar, true);
    const ItemRecord* barRecord = e.reg.items.find("1");
    // Empty help parts guard a "|" in the text and marker characters at its start.
    const Lines captions = {"- CD Drives", "#Checked", "Exit", "||a|b", "x||#Not checked", "||&1 Not marked", "-|h|#x",
                            "&1 Mark", ""};
    MenuHandle m = e.popup(captions);
    e.menus.at(m, 8).type = kTypeSeparator;                            // the host's own separator
    e.menus.items(m).push_back({9, kTypeOwnerDraw, 0, 0x77, "", 0});  // and an item it draws itself
    e.convert(m);
    CHECK(e.menus.at(m, 0).type == (kTypeOwnerDraw | kTypeSeparator));  // a heading
    CHECK(e.menus.at(m, 0).data == 3);                                   // numbered after the bar's records
    CHECK(e.menus.at(m, 9).data == 0x77);

    e.restore(m);
    CHECK(e.reg.items.count() == 2);
    CHECK(e.reg.items.find("1") == barRecord);
    Lines back = captions;
    back[4] = "||#Not checked";  // what stood before the help part was never part of the item
    back[7] = "*&1 Mark";        // the "&" + digit rule comes back as an explicit bullet
    back.push_back("");
    CHECK(e.captions(m) == back);
    for (size_t i : {4u, 7u}) CHECK(shape(parseCaption(back[i])) == shape(parseCaption(captions[i])));
    CHECK(e.menus.at(m, 8).type == kTypeSeparator);
    CHECK(e.menus.at(m, 9).type == kTypeOwnerDraw);
}

TEST_CASE("a lone | or a failed write ends a conversion where it stands; the next goes on; foreign menus untouched") {
    Engine e;
    MenuHandle m = e.menus.create({{100, 0x4000, 0, 0, "Run", 0}, {101, 0, 0, 0, "a|b", 0}, {102, 0, 0, 0, "Exit", 0}});
    e.convert(m);
    CHECK(e.menus.at(m, 0).type == (0x4000u | kTypeOwnerDraw));  // other type bits stay
    CHECK(e.menus.at(m, 2).type == 0);
    e.menus.at(m, 1).caption = "a|b|c";
    e.menus.failWriteAt = 2;
    e.convert(m);
    CHECK(e.reg.items.count() == 2);
    e.convert(m);
    CHECK(e.menus.at(m, 2).data == 3);
    int writes = e.menus.writes;
    e.convert(m);  // already converted: nothing written, the head recorded once
    convertMenu(e.reg, e.menus, kHwnd, e.popup({"Close"}), 0, true, true, false);  // a system menu
    convertMenu(e.reg, e.menus, 0x99, e.popup({"Run"}), 0, false, true, false);    // an unknown window
    e.convert(0);
    CHECK(e.menus.writes == writes);
    CHECK(e.window->headCount() == 1);
    e.restore(m);
    CHECK(e.menus.at(m, 0).type == 0x4000u);
}

TEST_CASE("a mnemonic chooses one match, selects among several, and passes on none") {
    Engine e;
    MenuHandle m = e.popup({"&Open", "&Close", "E&xit", "&other", "- &Heading", "Amp at end&", "&\xC3\xA9t\xC3\xA9",
                            "2. Tom && Jerry", "Tom && &Kim"});
    e.open(m);
    auto answer = [&](char32_t c) { return onMenuChar(e.reg, e.menus, c, m); };
    CHECK(answer(U'X') == ((kMenuCharExecute << 16) | 2));
    CHECK(answer(U'h') == ((kMenuCharExecute << 16) | 4));  // headings are searched too
    CHECK(answer(U'o') == ((kMenuCharSelect << 16) | 0));  // the first, unless the highlighted one matches
    e.menus.at(m, 3).state = kStateHilite;
    CHECK(answer(U'o') == ((kMenuCharSelect << 16) | 3));
    CHECK(answer(U'&') == 0);  // neither "&&" nor an "&" at the end marks anything
    CHECK(answer(U'k') == ((kMenuCharExecute << 16) | 8));
    CHECK(onMenuChar(e.reg, e.menus, U'o', e.popup({"&Open"})) == 0);  // not converted: not the engine's
}

TEST_CASE("selection reports help; opening and closing convert and restore every head") {
    Engine e;
    MenuHandle sub = e.popup({"#|Inner help|Inner"}, 200);
    MenuHandle m = e.menus.create({{100, 0, 0, 0, "-|Heading help|Options", 0},
                                   {101, 0, 0, 0, "|Starts it|Run", 0},
                                   {102, 0, 0, 0, "More", sub},
                                   {103, 0, kStateDisabled, 0, "Disabled", 0}});
    e.open(m);
    CHECK(e.window->raisedBarItem() == -2);
    onMenuSelect(e.reg, e.menus, kHwnd, 101, 0x80, m);
    onMenuSelect(e.reg, e.menus, kHwnd, 100, 0x80, m);
    onMenuSelect(e.reg, e.menus, kHwnd, 2, kSelectPopup | 0x80, m);  // a submenu item comes by position
    onMenuSelect(e.reg, e.menus, kHwnd, 103, 0x80 | kStateDisabled, m);
    e.open(sub);
    e.open(m);  // again while open: converted once
    onMenuSelect(e.reg, e.menus, kHwnd, 200, 0x80, sub);
    onMenuSelect(e.reg, e.menus, kHwnd, 0, 0, 0);  // not the close
    CHECK(e.reg.items.count() == 5);
    e.close();
    CHECK(e.events == Lines{"Run|Starts it|on", "Options|Heading help|on", "||on", "Disabled||off",
                            "Inner|Inner help|on", "||on", "||on"});
    CHECK(e.window->raisedBarItem() == -1);
    CHECK(e.reg.items.count() == 0);
    CHECK(e.captions(m) == Lines{"-|Heading help|Options", "|Starts it|Run", "More", "Disabled"});
    CHECK(e.captions(sub) == Lines{"#|Inner help|Inner"});

    e.help.onHelp = nullptr;  // as the hub leaves it: nothing reported, nothing thrown
    e.open(m);
    CHECK_NOTHROW(onMenuSelect(e.reg, e.menus, kHwnd, 101, 0x80, m));
    CHECK(e.events.size() == 7);
}

TEST_CASE("a popup made anew for every opening leaves no head and no record behind") {
    Engine e;
    MenuHandle kept = e.popup({"Kept"});
    for (int round = 0; round < 50; ++round) {
        MenuHandle m = e.popup({"- Folders", "1. C:\\", "Exit"});
        e.open(m);
        if (round % 10 == 0) e.open(kept);
        e.close();
        e.menus.destroy(m);
    }
    CHECK(e.window->headCount() <= 2);
    CHECK(e.reg.items.count() == 0);
    e.open(kept);  // a menu that still exists stays a head, so the close restores it
    e.close();
    CHECK(e.captions(kept) == Lines{"Kept"});
    CHECK(e.menus.at(kept, 0).type == 0);
}

TEST_CASE("the window record owns its two fonts: a replaced one and the last ones are deleted, once each") {
    static std::vector<std::uintptr_t> deleted;
    static int rebuilds = 0;
    {
        WindowState w([](void* font) { deleted.push_back(reinterpret_cast<std::uintptr_t>(font)); },
                      [](WindowState&) { ++rebuilds; });
        for (std::uintptr_t font : {0xA, 0xA, 0xB}) w.setMenuFont(reinterpret_cast<void*>(font));
        w.setHeadingFont(reinterpret_cast<void*>(0x5));
        CHECK(deleted == std::vector<std::uintptr_t>{0xA});
        w.setFontName("Tahoma");
        w.setFontSize(10);
        CHECK(rebuilds == 2);
    }
    CHECK(deleted == std::vector<std::uintptr_t>{0xA, 0xB, 0x5});
}
