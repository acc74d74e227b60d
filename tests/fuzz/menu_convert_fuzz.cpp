// The caption markers and the in-memory menu conversion: any captions, popups
// opened and closed in any order, writes that fail now and then. Every item
// must come back as it was meant, and the next opening must convert it again.
#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/menu_messages.h"
#include "fakes/memory_menu.h"
#include "fakes/menu_images.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

constexpr std::uintptr_t kHwnd = 0x4242;

// Tags with and without letters beyond ASCII, so images are picked by text.
const fakes::TagImages& images() {
    static const fakes::TagImages list({"About", "1.", "\xC3\x9C", "\xE6\x97\xA5", "Load at Startup", "Open"});
    return list;
}

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "menu_convert: %s\n", what);
        std::abort();
    }
}

bool sameItem(const ParsedCaption& a, const ParsedCaption& b) {
    return a.text == b.text && a.help == b.help && a.heading == b.heading && a.asMark == b.asMark &&
           a.asCheck == b.asCheck;
}

// A caption rebuilt from what it says parses back to the same item.
void rebuildKeepsTheItem(const std::string& caption) {
    auto parsed = ParseCaption(caption);
    if (!parsed) return;
    std::string rebuilt = RebuildCaption(parsed->text, parsed->help, parsed->asMark, parsed->asCheck, parsed->heading);
    auto again = ParseCaption(rebuilt);
    require(again.has_value(), "a rebuilt caption cannot be read");
    require(sameItem(*parsed, *again), "a rebuilt caption reads as another item");
}

struct Menu {
    MenuHandle handle = 0;
    std::vector<std::optional<ParsedCaption>> meant;  // per item; nothing for a separator
};

// After a close without failures, every text item reads as it was meant and
// no record is left.
void checkRestored(fakes::MemoryMenus& menus, const Menu& menu) {
    for (size_t k = 0; k < menu.meant.size(); ++k) {
        const auto& item = menus.at(menu.handle, static_cast<int>(k));
        require(!(item.type & kTypeOwnerDraw), "an item stayed owner-drawn after the close");
        if (!menu.meant[k]) {
            require((item.type & kTypeSeparator) != 0, "a separator came back as text");
            continue;
        }
        auto parsed = ParseCaption(item.caption);
        require(parsed.has_value(), "a restored caption cannot be read");
        require(sameItem(*parsed, *menu.meant[k]), "a restored caption reads as another item");
    }
}

// After an opening without failures, every item is owner-drawn with a record
// that says what its caption said.
void checkConverted(fakes::MemoryMenus& menus, const Registries& registries, const Menu& menu) {
    for (size_t k = 0; k < menu.meant.size(); ++k) {
        const auto& item = menus.at(menu.handle, static_cast<int>(k));
        require((item.type & kTypeOwnerDraw) != 0, "an item was not converted");
        const CMyItemData* record = registries.item(item.data);
        require(record != nullptr, "a converted item has no record");
        if (!menu.meant[k]) {
            require(record->bHostSeparator, "a separator's record forgot it");
            continue;
        }
        int image = GetImageIndex(&images(), record->sMenuText);
        require(record->iButton == image, "a record's image is not the one its text picks");
        require(image >= -1 && image < images().count(), "an image index outside the list");
        require(record->sMenuText == menu.meant[k]->text && record->sMenuHelp == menu.meant[k]->help &&
                    record->bAsMark == menu.meant[k]->asMark && record->bAsCheck == menu.meant[k]->asCheck,
                "a record differs from its caption");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    fakes::MemoryMenus menus;
    Registries registries;
    auto window = std::make_unique<WndCoolMenu>();
    window->hwnd = kHwnd;
    window->ilHandle = &images();
    registries.addWindow(std::move(window));

    // Two popups, the second a submenu of the first; every caption readable.
    std::vector<Menu> popups(2);
    for (auto& menu : popups) {
        std::vector<fakes::MemoryItem> items;
        int count = input.ConsumeIntegralInRange(1, 6);
        for (int k = 0; k < count; ++k) {
            fakes::MemoryItem item;
            item.id = static_cast<std::uint32_t>(100 + k);
            if (input.ConsumeIntegralInRange(0, 7) == 0) {
                item.type = kTypeSeparator;
                menu.meant.push_back(std::nullopt);
            } else {
                item.caption = input.ConsumeRandomLengthString(40);
                rebuildKeepsTheItem(item.caption);
                auto parsed = ParseCaption(item.caption);
                if (!parsed) item.caption = "x";
                menu.meant.push_back(ParseCaption(item.caption));
            }
            items.push_back(std::move(item));
        }
        menu.handle = menus.create(std::move(items));
    }
    menus.items(popups[0].handle).push_back({999, 0, 0, 0, "Sub", popups[1].handle});
    popups[0].meant.push_back(ParseCaption("Sub"));
    const std::vector<fakes::MemoryItem> firstItems = menus.items(popups[0].handle);

    // Tainted: a write failed, or may fail, since the last close that ran
    // without one; the next full open and close must then mend everything.
    bool tainted = false;
    bool open = false;
    while (input.remaining_bytes() > 0) {
        bool armed = menus.failWriteAt >= 0;
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
        case 1: {
            size_t which = input.ConsumeIntegralInRange<size_t>(0, 1);
            if (which == 1 && !open) break;  // the submenu opens inside its parent only
            OnInitMenuPopup(registries, menus, kHwnd, popups[which].handle, 0, false);
            if (!tainted) checkConverted(menus, registries, popups[which]);
            open = true;
            break;
        }
        case 2: {
            OnMenuSelect(registries, menus, kHwnd, 0, kSelectClosed, 0);
            bool failedNow = armed && menus.failWriteAt < 0;
            if (!tainted) {
                for (const auto& menu : popups) checkRestored(menus, menu);
                require(registries.items.Count() == 0, "records left after the close");
            }
            tainted = menus.failWriteAt >= 0 || failedNow;
            open = false;
            // The two popups, and at most one destroyed since the last close.
            require(registries.window(kHwnd)->CountMenuHeads() <= 3, "menu heads pile up");
            break;
        }
        case 4:
            // The host destroys the popup after its close and builds it anew.
            if (open || tainted) break;
            menus.destroy(popups[0].handle);
            popups[0].handle = menus.create(firstItems);
            break;
        case 3:
            // The next write at this position fails once.
            menus.failWriteAt = input.ConsumeIntegralInRange(0, 6);
            tainted = true;
            break;
        }
    }
    return 0;
}
