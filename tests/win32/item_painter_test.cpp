#include "coolmenu/item_painter.h"
#include "platform/win32/unique.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;
using testing::Canvas;

namespace {

// Distinct colours, so that every pixel tells which paint step made it.
constexpr COLORREF kSentinel = RGB(10, 20, 30);
constexpr COLORREF kMenu = RGB(200, 200, 200);
constexpr COLORREF kHilight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kSelect = RGB(40, 90, 160);
constexpr COLORREF kIconRed = RGB(255, 0, 0);

// Paints one item with the real fonts, a solid red 16 by 16 icon as image 0,
// and system colours that tell every paint step apart.
struct Fixture final : MenuImages {
    win32::UniqueFont menuFont{::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")};
    win32::UniqueFont headingFont{::CreateFontW(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Small Fonts")};
    win32::UniqueIcon red;

    Fixture() {
        const int which[] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
                             COLOR_3DHILIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNFACE};
        const COLORREF values[] = {kMenu, RGB(0, 0, 0), kHilight, kShadow, RGB(100, 100, 100),
                                   kHilight, RGB(227, 227, 227), RGB(64, 64, 64), kMenu};
        REQUIRE(::SetSysColors(9, which, values));
        std::vector<std::uint32_t> pixels(16 * 16, 0x00FF0000u);
        std::vector<std::uint8_t> mask(16 * 2, 0);  // all opaque
        win32::UniqueBitmap colour(::CreateBitmap(16, 16, 1, 32, pixels.data()));
        win32::UniqueBitmap maskBits(::CreateBitmap(16, 16, 1, 1, mask.data()));
        ICONINFO info{TRUE, 0, 0, maskBits.get(), colour.get()};
        red.reset(::CreateIconIndirect(&info));
        REQUIRE(red);
    }
    int count() const override { return 1; }
    std::string tag(int) const override { return {}; }
    void* icon(int) const override { return red.get(); }

    void paint(Canvas& c, const RECT& r, const ItemModel& m, const ItemState& s, bool rtl = false,
               bool complexChecks = true) {
        LookSettings look;
        look.selectColor = kSelect;
        look.rightToLeft = rtl;
        look.complexChecks = complexChecks;
        ::SetBkColor(c.dc(), kMenu);
        PaintMenuItem(c.dc(), r, m, s, look, PaintContext{nullptr, menuFont.get(), headingFont.get(), this, nullptr});
    }
};

ItemModel item(const char* text, int image = -1) {
    ItemModel m;
    m.text = text;
    m.image = image;
    return m;
}

} // namespace

TEST_CASE("a selected item with an image: the bar from 19 in SelectColor, the icon in its raised column") {
    Fixture f;
    Canvas c(220, 24, kSentinel);
    f.paint(c, {0, 2, 200, 22}, item("Eject", 0), {true, false, false, false});
    for (int y : {2, 21}) {
        CHECK(c.at(18, y) == kSentinel);  // the free pixel after the column
        CHECK(c.at(19, y) == kSelect);
        CHECK(c.at(199, y) == kSelect);
        CHECK(c.at(200, y) == kSentinel);
    }
    CHECK(c.at(100, 1) == kSentinel);
    CHECK(c.count({1, 4, 17, 20}, kIconRed) == 256);  // (20 - 16) / 2 below the top
    CHECK(c.count({0, 0, 220, 24}, kIconRed) == 256);
    CHECK(c.at(0, 10) == kHilight);
    CHECK(c.at(17, 10) == kShadow);
    CHECK(c.at(8, 3) == kMenu);

    SUBCASE("right to left: column and icon on the right, the bar ending 19 before") {
        Canvas m(220, 24, kSentinel);
        f.paint(m, {0, 2, 200, 22}, item("Eject", 0), {true, false, false, false}, true);
        CHECK(m.at(0, 2) == kSelect);
        CHECK(m.at(180, 2) == kSelect);
        CHECK(m.at(181, 2) == kSentinel);
        CHECK(m.count({183, 4, 199, 20}, kIconRed) == 256);
        CHECK(m.at(182, 10) == kHilight);
        CHECK(m.at(199, 10) == kShadow);
    }
    SUBCASE("disabled: embossed icon, no bar even when selected") {
        Canvas g(220, 24, kSentinel);
        f.paint(g, {0, 2, 200, 22}, item("Eject", 0), {true, true, false, false});
        CHECK(g.count({0, 0, 220, 24}, kIconRed) == 0);
        CHECK(g.count({0, 0, 220, 24}, kSelect) == 0);
        CHECK(g.count({1, 4, 17, 20}, kShadow) > 200);
        CHECK(g.count({1, 4, 18, 21}, kHilight) > 10);
    }
}

TEST_CASE("a heading: an etched line inset 15, with a centred gap for its text") {
    Fixture f;
    Canvas c(200, 20, kMenu);
    RECT r{0, 0, 200, 20};
    ItemModel heading;
    heading.heading = true;
    f.paint(c, r, heading, {});
    CHECK(c.count({15, 9, 185, 10}, kShadow) == 170);
    CHECK(c.count({15, 10, 185, 11}, kHilight) == 170);
    CHECK(c.at(14, 9) == kMenu);
    CHECK(c.at(185, 9) == kMenu);
    CHECK(c.count({0, 0, 200, 9}, kMenu) == 200 * 9);

    heading.text = "CD Drives";
    c.fill(r, kMenu);
    f.paint(c, r, heading, {});
    int first = -1, last = -1;
    for (int x = 15; x < 185; ++x)
        if (c.at(x, 10) != kHilight) {
            if (first < 0) first = x;
            last = x;
        }
    REQUIRE(first > 0);
    CHECK(last - first > 30);
    CHECK(std::abs((first + last) / 2 - 100) <= 6);
    CHECK(c.at(15, 9) == kShadow);
    CHECK(c.at(184, 9) == kShadow);
}

TEST_CASE("a flat mark: nothing unchecked; checked, a glyph on a dither in a sunken frame") {
    Fixture f;
    RECT r{0, 0, 200, 20};
    Canvas c(200, 20, kSentinel);
    ItemModel mark = item("Power");
    mark.asMark = mark.asCheck = true;
    f.paint(c, r, mark, {}, false, false);
    CHECK(c.count({0, 0, 19, 20}, kSentinel) == 19 * 20);  // unchecked: an empty column

    f.paint(c, r, mark, {false, false, true, false}, false, false);
    for (int i = 1; i < 17; ++i) {
        CHECK(c.at(0, i) == kShadow);
        CHECK(c.at(17, i) == kHilight);
        CHECK(c.at(i, 0) == kShadow);
        CHECK(c.at(i, 19) == kHilight);
    }
    for (int x = 1; x <= 15; ++x) {  // a checkerboard above the glyph
        COLORREF p = c.at(x, 1);
        CHECK((p == kMenu || p == kHilight));
        CHECK(p != c.at(x + 1, 1));
        CHECK(p == c.at(x + 1, 2));
    }
    int glyph = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 17; ++x) glyph += c.at(x, y) != kMenu && c.at(x, y) != kHilight;
    CHECK(glyph > 10);
}

TEST_CASE("a submenu item draws its own arrow, keeps the system's out and leaves the DC's font and colours") {
    Fixture f;
    Canvas c(200, 30, kSentinel);
    ItemModel sub = item("Eject", 0);
    sub.trueSub = true;
    HGDIOBJ font = ::GetCurrentObject(c.dc(), OBJ_FONT);
    ::SetTextColor(c.dc(), RGB(1, 2, 3));
    ::SetBkMode(c.dc(), OPAQUE);
    f.paint(c, {0, 5, 200, 25}, sub, {});
    CHECK(::GetCurrentObject(c.dc(), OBJ_FONT) == font);
    CHECK(::GetTextColor(c.dc()) == RGB(1, 2, 3));
    CHECK(::GetBkMode(c.dc()) == OPAQUE);
    CHECK(c.count({170, 5, 198, 25}, RGB(0, 0, 0)) > 3);

    // The system draws its arrow after the item: the DC keeps it out.
    c.fill({0, 0, 200, 30}, RGB(0, 255, 0));
    CHECK(c.at(100, 4) == RGB(0, 255, 0));
    CHECK(c.at(100, 25) == RGB(0, 255, 0));
    CHECK(c.count({0, 5, 200, 25}, RGB(0, 255, 0)) == 0);
}
