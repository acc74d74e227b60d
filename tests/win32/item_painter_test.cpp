#include "bench/gdi_objects.h"
#include "coolmenu/item_painter.h"
#include "platform/win32/unique.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
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

win32::UniqueIcon solidIcon(COLORREF c) {
    std::vector<std::uint32_t> pixels(16 * 16, (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    std::vector<std::uint8_t> mask(16 * 2, 0);  // all opaque
    win32::UniqueBitmap colour(::CreateBitmap(16, 16, 1, 32, pixels.data()));
    win32::UniqueBitmap maskBits(::CreateBitmap(16, 16, 1, 1, mask.data()));
    ICONINFO info{TRUE, 0, 0, maskBits.get(), colour.get()};
    return win32::UniqueIcon(::CreateIconIndirect(&info));
}

class TestImages final : public MenuImages {
public:
    std::vector<HICON> icons;
    int count() const override { return static_cast<int>(icons.size()); }
    std::string tag(int) const override { return {}; }
    void* icon(int n) const override { return icons.at(static_cast<size_t>(n - 1)); }
};

struct Fixture {
    win32::UniqueFont menuFont{::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")};
    win32::UniqueFont headingFont{::CreateFontW(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Small Fonts")};
    win32::UniqueIcon red = solidIcon(kIconRed);
    TestImages images;

    Fixture() {
        static bool coloured = false;
        if (!coloured) {
            const int which[] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
                                 COLOR_3DHILIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNFACE};
            const COLORREF values[] = {kMenu, RGB(0, 0, 0), kHilight, kShadow, RGB(100, 100, 100),
                                       kHilight, RGB(227, 227, 227), RGB(64, 64, 64), kMenu};
            REQUIRE(::SetSysColors(9, which, values));
            coloured = true;
        }
        REQUIRE(red);
        images.icons = {nullptr, red.get()};  // image 1 (0-based) is the red one
    }
    void paint(Canvas& c, const RECT& r, const ItemModel& m, const ItemState& s, bool rtl = false,
               bool complexChecks = true) {
        LookSettings look;
        look.selectColor = kSelect;
        look.rightToLeft = rtl;
        look.complexChecks = complexChecks;
        ::SetBkColor(c.dc(), kMenu);
        PaintContext ctx{nullptr, menuFont.get(), headingFont.get(), &images, nullptr};
        PaintMenuItem(c.dc(), r, m, s, look, ctx);
    }
};

ItemModel item(const char* text, int image = -1) {
    ItemModel m;
    m.text = text;
    m.image = image;
    return m;
}

ItemModel mark() {
    ItemModel m = item("Power");
    m.asMark = true;
    m.asCheck = true;
    return m;
}

} // namespace

TEST_CASE("a selected item with an image: the bar from 19 in SelectColor, the icon in its raised column") {
    Fixture f;
    Canvas c(220, 24, kSentinel);
    f.paint(c, {0, 2, 200, 22}, item("Eject", 1), {true, false, false, false});
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
        f.paint(m, {0, 2, 200, 22}, item("Eject", 1), {true, false, false, false}, true);
        CHECK(m.at(0, 2) == kSelect);
        CHECK(m.at(180, 2) == kSelect);
        CHECK(m.at(181, 2) == kSentinel);
        CHECK(m.count({183, 4, 199, 20}, kIconRed) == 256);
        CHECK(m.at(182, 10) == kHilight);
        CHECK(m.at(199, 10) == kShadow);
    }
    SUBCASE("disabled: embossed icon, no bar even when selected") {
        Canvas g(220, 24, kSentinel);
        f.paint(g, {0, 2, 200, 22}, item("Eject", 1), {true, true, false, false});
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

TEST_CASE("marks: flat ones a glyph on a dither in a sunken frame, system ones a check box") {
    Fixture f;
    RECT r{0, 0, 200, 20};
    Canvas c(200, 20, kSentinel);
    f.paint(c, r, mark(), {}, false, false);
    CHECK(c.count({0, 0, 19, 20}, kSentinel) == 19 * 20);  // unchecked: an empty column

    f.paint(c, r, mark(), {false, false, true, false}, false, false);
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

    Canvas plain(200, 20, kSentinel), checked(200, 20, kSentinel);
    f.paint(plain, {10, 0, 210, 20}, mark(), {});
    f.paint(checked, {10, 0, 210, 20}, mark(), {false, false, true, false});
    CHECK(plain.at(9, 1) == kMenu);  // the ground is one wider on both sides
    CHECK(plain.at(28, 1) == kMenu);
    CHECK(plain.at(29, 1) == kSentinel);
    CHECK(plain.count({13, 3, 26, 16}, kMenu) < 13 * 13);
    int differing = 0;
    for (int y = 3; y < 16; ++y)
        for (int x = 13; x < 26; ++x) differing += plain.at(x, y) != checked.at(x, y);
    CHECK(differing > 5);
}

TEST_CASE("a submenu item draws its own arrow, keeps the system's out and leaves the DC's font and colours") {
    Fixture f;
    Canvas c(200, 30, kSentinel);
    ItemModel sub = item("Eject", 1);
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

TEST_CASE("measuring with the real font and metrics; a hidden item takes no room") {
    Fixture f;
    Canvas c(10, 10, kSentinel);
    ItemModel plain = item("Turn Monitor Off");
    int w = -1, h = -1;
    REQUIRE(MeasureMenuItem(c.dc(), f.menuFont.get(), plain, w, h));
    win32::SelectGuard font(c.dc(), f.menuFont.get());
    RECT text{0, 0, 0, 0};
    ::DrawTextW(c.dc(), L"Turn Monitor Off", -1, &text, DT_CALCRECT | DT_SINGLELINE);
    CHECK(w == text.right + 42 - ::GetSystemMetrics(SM_CXMENUCHECK));
    CHECK(h == std::max<int>(text.bottom, ::GetSystemMetrics(SM_CYMENU)));

    REQUIRE(MeasureMenuItem(nullptr, f.menuFont.get(), item("!hidden"), w, h));
    CHECK(w == 0);
    CHECK(h == 0);
}

TEST_CASE("1,000 rounds of painting every kind of item leave no GDI object behind") {
    Fixture f;
    Canvas c(220, 24, kSentinel);
    RECT r{0, 2, 200, 22};
    ItemModel heading = item("Folders");
    heading.heading = true;
    ItemModel check = mark();
    check.text = "Start\tCtrl+S";
    ItemModel radio = check;
    radio.asCheck = false;
    ItemModel sub = item("Eject", 1);
    sub.trueSub = true;
    auto round = [&] {
        f.paint(c, r, item("Eject", 1), {true, false, false, false});
        f.paint(c, r, item("Eject", 1), {true, true, true, false}, true);
        f.paint(c, r, heading, {});
        f.paint(c, r, check, {false, false, true, false}, false, false);
        f.paint(c, r, check, {true, true, true, false}, false, false);
        f.paint(c, r, radio, {false, false, true, false});
        f.paint(c, r, check, {true, false, false, false});
        f.paint(c, r, sub, {false, false, false, true}, true);
        int w = 0, h = 0;
        MeasureMenuItem(c.dc(), f.menuFont.get(), check, w, h);
        ::SelectClipRgn(c.dc(), nullptr);
    };
    round();  // the shared glyph font and check bitmaps are made here once
    long gdi = bench::gdiObjects(::GetCurrentProcess());
    REQUIRE(gdi > 0);
    for (int i = 0; i < 1000; ++i) round();
    CHECK(bench::gdiObjects(::GetCurrentProcess()) == gdi);
}
