// Caption markers and the menu conversion under any captions, openings, closes and failing writes.
#include "coolmenu/accessible_name.h"
#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/menu_messages.h"
#include "fakes/memory_menu.h"
#include "fakes/menu_images.h"

#include <cassert>
#include <tuple>
#include <fuzzer/FuzzedDataProvider.h>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {
constexpr std::uintptr_t kHwnd = 0x4242;
// Tags with and without letters beyond ASCII, so images are picked by text.
const fakes::TagImages images({"About", "1.", "\xC3\x9C", "\xE6\x97\xA5", "Load at Startup", "Open"});

auto said(const ParsedCaption& c) { return std::tie(c.text, c.help, c.heading, c.asMark, c.asCheck); }

// After a clean opening every item is owner-drawn with a record saying what its caption said, named by
// the words it draws (a separator by none); after a clean close every item reads as the caption it was
// built with.
void check(fakes::MemoryMenus& menus, const Registries& registries, MenuHandle menu,
           const std::vector<fakes::MemoryItem>& built, bool converted) {
    for (size_t k = 0; k < built.size(); ++k) {
        const auto& item = menus.at(menu, static_cast<int>(k));
        bool separator = built[k].type & kTypeSeparator;
        auto meant = parseCaption(built[k].caption);
        assert(((item.type & kTypeOwnerDraw) != 0) == converted && "an item is not in the state of its menu");
        if (!converted) {
            auto parsed = parseCaption(item.caption);
            assert((separator ? (item.type & kTypeSeparator) != 0 : parsed && said(*parsed) == said(*meant)) &&
                   "a restored item differs");
            continue;
        }
        const ItemRecord* record = registries.item(item.data);
        assert(record && (!separator || record->hostSeparator) && "no record, or a separator's forgot it");
        assert(item.caption == (separator ? "" : accessibleName(record->text, meant->heading)) &&
               "an open item is not named by what it draws");
        if (separator) continue;
        assert(record->image == imageIndexFor(&images, record->text) && "a record's image is not its text's");
        ParsedCaption drawn{record->text, record->help, meant->heading, record->asMark, record->asCheck};
        assert(said(drawn) == said(*meant) && "a record differs from its caption");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    fakes::MemoryMenus menus;
    Registries registries;
    auto window = std::make_unique<WindowState>();
    window->hwnd = kHwnd;
    window->images = &images;
    registries.addWindow(std::move(window));

    // Two popups, the second a submenu of the first; a caption rebuilt from what it says reads the same.
    std::vector<fakes::MemoryItem> built[2];
    MenuHandle popups[2];
    for (int p = 0; p < 2; ++p) {
        built[p].resize(size_t(input.ConsumeIntegralInRange(1, 6)));
        for (size_t k = 0; k < built[p].size(); ++k) {
            auto& item = built[p][k];
            item.id = static_cast<std::uint32_t>(100 + k);
            if (input.ConsumeIntegralInRange(0, 7) == 0) {
                item.type = kTypeSeparator;
                continue;
            }
            item.caption = input.ConsumeRandomLengthString(40);
            auto c = parseCaption(item.caption);
            auto again = c ? parseCaption(rebuildCaption(c->text, c->help, c->asMark, c->asCheck, c->heading)) : c;
            assert((!c || (again && said(*c) == said(*again))) && "a rebuilt caption reads as another item");
            if (!c) item.caption = "x";  // an unreadable caption is replaced
        }
        popups[p] = menus.create(built[p]);
    }
    built[0].push_back({999, 0, 0, 0, "Sub", popups[1]});
    menus.items(popups[0]).push_back(built[0].back());

    // Tainted: a write failed or may fail since the last clean close, which the next one must mend.
    bool tainted = false, open = false;
    while (input.remaining_bytes() > 0) {
        bool armed = menus.failWriteAt >= 0;
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0: case 1: {
            size_t which = input.ConsumeIntegralInRange<size_t>(0, 1);
            if (which == 1 && !open) break;  // the submenu opens inside its parent only
            onInitMenuPopup(registries, menus, kHwnd, popups[which], 0, false);
            if (!tainted) check(menus, registries, popups[which], built[which], true);
            open = true;
            break;
        }
        case 2:
            onMenuSelect(registries, menus, kHwnd, 0, kSelectClosed, 0);
            for (int p = 0; p < 2 && !tainted; ++p) check(menus, registries, popups[p], built[p], false);
            assert((tainted || registries.items.count() == 0) && "records left after the close");
            tainted = menus.failWriteAt >= 0 || (armed && menus.failWriteAt < 0);
            open = false;
            // The two popups, and at most one destroyed since the last close.
            assert(registries.window(kHwnd)->headCount() <= 3 && "menu heads pile up");
            break;
        case 3:  // the next write at this position fails once
            menus.failWriteAt = input.ConsumeIntegralInRange(0, 6);
            tainted = true;
            break;
        case 4:  // the host destroys the popup after its close and builds it anew
            if (open || tainted) break;
            menus.destroy(popups[0]);
            popups[0] = menus.create(built[0]);
            break;
        }
    }
    return 0;
}
