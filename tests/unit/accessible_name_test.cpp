#include "coolmenu/accessible_name.h"
#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/menu_messages.h"
#include "fakes/memory_menu.h"

#include <doctest/doctest.h>

#include <string>
#include <utility>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;
using Lines = std::vector<std::string>;

namespace {
// The name of the item a caption makes, as the engine parses it.
std::string nameOf(const std::string& caption) {
    auto parsed = parseCaption(caption);
    REQUIRE(parsed);
    return accessibleName(parsed->text, parsed->heading);
}
} // namespace

TEST_CASE("an item is named by the words it shows: markers and help out, \"&&\" as written, headings unspaced") {
    const std::vector<std::pair<std::string, std::string>> rows{
        {"Run Screen Saver", "Run Screen Saver"},
        {"#Load at Startup", "Load at Startup"},
        {"|Starts it|Run", "Run"},
        {"#|help|Checked", "Checked"},
        {"2. Tom && J\xC3\xA9r\xC3\xB4me", "2. Tom && J\xC3\xA9r\xC3\xB4me"},
        {"&1 Numbered", "1 Numbered"},  // drawn "1 Numbered", the 1 underlined
        {"E&xit", "Exit"},
        {"a&&&b", "a&&b"},  // "&&" then "&b": "a&b" with b underlined
        {"!Hidden", "Hidden"},
        {"Open\tCtrl+O", "Open\tCtrl+O"},  // the shortcut after the tab, as menus carry it
        {"  spaced  ", "  spaced  "},      // only headings are tidied
        {"", ""},
        // Headings: by their words, without blanks around them or between their letters.
        {"- CD Drives", "CD Drives"},
        {"- F o l d e r s ", "Folders"},
        {"- C D  D r i v e s", "CD Drives"},
        {"-|Heading help| M y   W o r d s ", "My Words"},
        {"- \xC3\x89 t \xC3\xA9", "\xC3\x89t\xC3\xA9"},  // letters, not bytes
        {"- Two  words", "Two  words"},                    // not spaced out: inner blanks stay
        {"- R && D", "R && D"},
        {"- &Heading", "Heading"},
        {"-", ""},
        {"-    ", ""},
    };
    for (const auto& [caption, name] : rows) {
        CAPTURE(caption);
        CHECK(nameOf(caption) == name);
    }
}

TEST_CASE("while the popup is open every item carries its name; the host's separator none; closed, the captions are back") {
    Registries reg;
    auto window = std::make_unique<WindowState>();
    window->hwnd = 0x40;
    reg.addWindow(std::move(window));
    fakes::MemoryMenus menus;
    const Lines captions{"- F o l d e r s ", "1. Tom && Jerry", "#|Toggles it|Load at Startup", "E&xit", "", "!Hidden"};
    std::vector<fakes::MemoryItem> items;
    std::uint32_t id = 100;
    for (const auto& caption : captions) items.push_back({id++, 0, 0, 0, caption, 0});
    items[4].type = kTypeSeparator;  // the host's own separator
    MenuHandle m = menus.create(items);
    auto stored = [&] {
        Lines out;
        for (const auto& item : menus.items(m)) out.push_back(item.caption);
        return out;
    };

    onInitMenuPopup(reg, menus, 0x40, m, 0, false);
    CHECK(stored() == Lines{"Folders", "1. Tom && Jerry", "Load at Startup", "Exit", "", "Hidden"});
    CHECK(menus.at(m, 0).type == (kTypeOwnerDraw | kTypeSeparator));
    CHECK(menus.at(m, 4).type == (kTypeOwnerDraw | kTypeSeparator));
    // Opened again while open (a submenu's parent, say): nothing is rewritten.
    int writes = menus.writes;
    onInitMenuPopup(reg, menus, 0x40, m, 0, false);
    CHECK(menus.writes == writes);
    // Typed letters are still the engine's to match, by the drawn text.
    CHECK(onMenuChar(reg, menus, U'x', m) == ((kMenuCharExecute << 16) | 3));

    onMenuSelect(reg, menus, 0x40, 0, kSelectClosed, 0);
    CHECK(stored() == captions);
    CHECK(menus.at(m, 4).type == kTypeSeparator);
}
