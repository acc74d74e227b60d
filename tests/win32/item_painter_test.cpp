#include "coolmenu/item_painter.h"
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

// Distinct colours, so that every pixel tells which paint step made it.
constexpr COLORREF kSentinel = RGB(10, 20, 30);
constexpr COLORREF kMenu = RGB(200, 200, 200);
constexpr COLORREF kHilight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kGray = RGB(100, 100, 100);
constexpr COLORREF kLight = RGB(227, 227, 227);
constexpr COLORREF kDarkShadow = RGB(64, 64, 64);
constexpr COLORREF kSelect = RGB(40, 90, 160);
constexpr COLORREF kIconRed = RGB(255, 0, 0);

void setSystemColours() {
    static bool done = false;
    if (done) return;
    const int which[] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
                         COLOR_3DHILIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNFACE};
    const COLORREF values[] = {kMenu, RGB(0, 0, 0), kHilight, kShadow, kGray, kHilight, kLight, kDarkShadow, kMenu};
    REQUIRE(::SetSysColors(9, which, values));
    done = true;
}

// A top-down 32-bit DIB selected into a memory DC; pixels read back as COLORREF.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        REQUIRE(bitmap_);
        bits_ = static_cast<const std::uint32_t*>(bits);
        dc_.reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        RECT all{0, 0, width, height};
        fill(all, kSentinel);
        ::SetBkColor(dc_.get(), kMenu);
    }
    ~Canvas() { ::SelectObject(dc_.get(), old_); }
    HDC dc() const { return dc_.get(); }
    void fill(const RECT& r, COLORREF c) {
        win32::UniqueBrush b(::CreateSolidBrush(c));
        ::FillRect(dc_.get(), &r, b.get());
    }
    COLORREF at(int x, int y) const {
        ::GdiFlush();
        std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int count(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }

private:
    int width_;
    win32::UniqueBitmap bitmap_;
    win32::UniqueMemDC dc_;
    HGDIOBJ old_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
};

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
    win32::UniqueFont headingFont{
        ::CreateFontW(11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Small Fonts")};
    win32::UniqueIcon red = solidIcon(kIconRed);
    TestImages images;

    Fixture() {
        setSystemColours();
        REQUIRE(red);
        images.icons = {nullptr, red.get()};  // image index 1 is the red one
    }
    void paint(Canvas& c, const RECT& r, const ItemModel& m, const ItemState& s, const LookSettings& l,
               HBITMAP own = nullptr) {
        PaintContext ctx{nullptr, menuFont.get(), headingFont.get(), &images, own};
        PaintMenuItem(c.dc(), r, m, s, l, ctx);
    }
};

LookSettings look(bool rtl = false, bool complex = true) {
    LookSettings l;
    l.selectColor = kSelect;
    l.rightToLeft = rtl;
    l.complexChecks = complex;
    return l;
}

ItemModel redItem() {
    ItemModel m;
    m.text = "Eject";
    m.image = 1;
    return m;
}

int gdiObjectCount() {
    DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return static_cast<int>(n);
    // Wine answers 0 here; its per-process GDI handle table, which the
    // process block points to, shows the live objects instead.
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"  // the headers' segment read looks like an empty array to GCC
#endif
    const auto* teb = reinterpret_cast<const std::uint8_t*>(::NtCurrentTeb());
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    const std::uint8_t* peb = *reinterpret_cast<const std::uint8_t* const*>(teb + (sizeof(void*) == 8 ? 0x60 : 0x30));
    const Entry* table = *reinterpret_cast<const Entry* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    REQUIRE(table != nullptr);
    int live = 0;
    for (int i = 0; i < 0x10000; ++i) live += table[i].type != 0;
    return live;
}

} // namespace

TEST_CASE("a selected item: bar in SelectColor from x = 19, icon at the image position") {
    Fixture f;
    Canvas c(220, 24);
    RECT r{0, 2, 200, 22};
    ItemState selected{true, false, false, false};
    f.paint(c, r, redItem(), selected, look());

    for (int y : {2, 3, 20, 21}) {
        CHECK(c.at(18, y) == kSentinel);  // the free pixel after the column
        CHECK(c.at(19, y) == kSelect);
        CHECK(c.at(199, y) == kSelect);
        CHECK(c.at(200, y) == kSentinel);
    }
    CHECK(c.at(100, 1) == kSentinel);
    // 20 high: the image starts (20 - 16) / 2 = 2 below the top.
    CHECK(c.count({1, 4, 17, 20}, kIconRed) == 256);
    CHECK(c.count({0, 0, 220, 24}, kIconRed) == 256);
    // Raised column frame around a menu-coloured ground.
    CHECK(c.at(0, 10) == kHilight);
    CHECK(c.at(17, 10) == kShadow);
    CHECK(c.at(8, 3) == kMenu);
    CHECK(c.at(8, 20) == kMenu);
}

TEST_CASE("right to left: the column and the icon on the right, the bar ending 19 before it") {
    Fixture f;
    Canvas c(220, 24);
    RECT r{0, 2, 200, 22};
    f.paint(c, r, redItem(), {true, false, false, false}, look(true));

    CHECK(c.at(0, 2) == kSelect);
    CHECK(c.at(180, 2) == kSelect);
    CHECK(c.at(181, 2) == kSentinel);
    CHECK(c.count({183, 4, 199, 20}, kIconRed) == 256);
    CHECK(c.count({0, 0, 220, 24}, kIconRed) == 256);
    CHECK(c.at(182, 10) == kHilight);
    CHECK(c.at(199, 10) == kShadow);
}

TEST_CASE("a disabled item with an image is embossed and gets no bar, even when selected") {
    Fixture f;
    Canvas c(220, 24);
    RECT r{0, 2, 200, 22};
    f.paint(c, r, redItem(), {true, true, false, false}, look());

    CHECK(c.count({0, 0, 220, 24}, kIconRed) == 0);
    CHECK(c.count({0, 0, 220, 24}, kSelect) == 0);
    for (int x : {19, 100, 199}) CHECK(c.at(x, 2) == kSentinel);
    // The solid square comes out as a shadow shape with a light rim.
    CHECK(c.count({1, 4, 17, 20}, kShadow) > 200);
    CHECK(c.count({1, 4, 18, 21}, kHilight) > 10);
}

TEST_CASE("a heading: etched line inset 15 with a gap for the text") {
    Fixture f;
    Canvas c(200, 20);
    RECT r{0, 0, 200, 20};
    c.fill(r, kMenu);
    ItemModel heading;
    heading.heading = true;

    f.paint(c, r, heading, {}, look());
    // Top of the line at 20 / 2 - 1: shadow above, highlight below.
    CHECK(c.count({15, 9, 185, 10}, kShadow) == 170);
    CHECK(c.count({15, 10, 185, 11}, kHilight) == 170);
    CHECK(c.at(14, 9) == kMenu);
    CHECK(c.at(185, 9) == kMenu);
    CHECK(c.count({0, 0, 200, 9}, kMenu) == 200 * 9);

    heading.text = "CD Drives";
    c.fill(r, kMenu);
    f.paint(c, r, heading, {}, look());
    // Within the highlight row, the text blanks one block around the middle.
    int first = -1, last = -1;
    for (int x = 15; x < 185; ++x)
        if (c.at(x, 10) != kHilight) {
            if (first < 0) first = x;
            last = x;
        }
    REQUIRE(first > 0);
    CHECK(last - first > 30);
    CHECK(first > 40);
    CHECK(last < 160);
    CHECK(std::abs((first + last) / 2 - 100) <= 6);
    CHECK(c.at(15, 9) == kShadow);
    CHECK(c.at(184, 9) == kShadow);
}

TEST_CASE("flat marks: a checked mark item shows a glyph on a dither in a sunken frame") {
    Fixture f;
    Canvas c(200, 20);
    RECT r{0, 0, 200, 20};
    ItemModel mark;
    mark.text = "Power";
    mark.asMark = true;
    mark.asCheck = true;

    f.paint(c, r, mark, {}, look(false, false));
    CHECK(c.count({0, 0, 19, 20}, kSentinel) == 19 * 20);  // unchecked: empty column

    f.paint(c, r, mark, {false, false, true, false}, look(false, false));
    for (int y = 1; y < 19; ++y) {
        CHECK(c.at(0, y) == kShadow);
        CHECK(c.at(17, y) == kHilight);
    }
    for (int x = 1; x < 17; ++x) {
        CHECK(c.at(x, 0) == kShadow);
        CHECK(c.at(x, 19) == kHilight);
    }
    // Checkerboard of menu colour and highlight above the glyph.
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 15; ++x) {
            COLORREF p = c.at(x, y);
            CHECK((p == kMenu || p == kHilight));
            CHECK(p != c.at(x + 1, y));
            CHECK(p == c.at(x + 1, y + 1));
        }
    // The glyph: off-checkerboard pixels in the middle of the column.
    int glyph = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 17; ++x) glyph += c.at(x, y) != kMenu && c.at(x, y) != kHilight;
    CHECK(glyph > 10);
    CHECK(c.at(18, 10) == kSentinel);
}

TEST_CASE("system check boxes: the checked cell differs from the plain one") {
    Fixture f;
    ItemModel mark;
    mark.text = "Mark";
    mark.asMark = true;
    mark.asCheck = true;
    Canvas plain(200, 20), checked(200, 20);
    RECT r{10, 0, 210, 20};
    f.paint(plain, r, mark, {}, look());
    f.paint(checked, r, mark, {false, false, true, false}, look());
    // Ground widened by one pixel on both sides of the column.
    CHECK(plain.at(9, 1) == kMenu);
    CHECK(plain.at(28, 1) == kMenu);
    CHECK(plain.at(29, 1) == kSentinel);
    int differing = 0;
    for (int y = 3; y < 16; ++y)
        for (int x = 13; x < 26; ++x) differing += plain.at(x, y) != checked.at(x, y);
    CHECK(differing > 5);
    CHECK(plain.count({13, 3, 26, 16}, kMenu) < 13 * 13);  // a box was drawn
}

TEST_CASE("a submenu item keeps the system's arrow out and leaves the DC as it was") {
    Fixture f;
    Canvas c(200, 30);
    RECT r{0, 5, 200, 25};
    ItemModel sub = redItem();
    sub.trueSub = true;
    HFONT before = static_cast<HFONT>(::GetCurrentObject(c.dc(), OBJ_FONT));
    ::SetTextColor(c.dc(), RGB(1, 2, 3));
    ::SetBkMode(c.dc(), OPAQUE);
    f.paint(c, r, sub, {}, look());
    CHECK(::GetCurrentObject(c.dc(), OBJ_FONT) == before);
    CHECK(::GetTextColor(c.dc()) == RGB(1, 2, 3));
    CHECK(::GetBkMode(c.dc()) == OPAQUE);
    CHECK(c.count({170, 5, 198, 25}, RGB(0, 0, 0)) > 3);  // the arrow glyph

    // Later painting on the DC no longer reaches the item.
    RECT all{0, 0, 200, 30};
    win32::UniqueBrush green(::CreateSolidBrush(RGB(0, 255, 0)));
    ::FillRect(c.dc(), &all, green.get());
    CHECK(c.at(100, 4) == RGB(0, 255, 0));
    CHECK(c.at(100, 25) == RGB(0, 255, 0));
    CHECK(c.count({0, 5, 200, 25}, RGB(0, 255, 0)) == 0);
}

TEST_CASE("measurement with the real font and system metrics") {
    Fixture f;
    Canvas c(10, 10);
    ItemModel item;
    item.text = "Turn Monitor Off";
    int w = -1, h = -1;
    REQUIRE(MeasureMenuItem(c.dc(), f.menuFont.get(), item, w, h));

    win32::SelectGuard font(c.dc(), f.menuFont.get());
    RECT text{0, 0, 0, 0};
    ::DrawTextW(c.dc(), L"Turn Monitor Off", -1, &text, DT_CALCRECT | DT_SINGLELINE);
    CHECK(w == text.right + 42 - ::GetSystemMetrics(SM_CXMENUCHECK));
    CHECK(h == std::max<int>(text.bottom, ::GetSystemMetrics(SM_CYMENU)));

    item.text = "!hidden";
    REQUIRE(MeasureMenuItem(nullptr, f.menuFont.get(), item, w, h));
    CHECK(w == 0);
    CHECK(h == 0);
}

TEST_CASE("1,000 paints leave no GDI or USER objects behind") {
    Fixture f;
    Canvas c(220, 24);
    RECT r{0, 2, 200, 22};
    ItemModel heading;
    heading.heading = true;
    heading.text = "Folders";
    ItemModel check;
    check.text = "Start\tCtrl+S";
    check.asMark = true;
    check.asCheck = true;
    ItemModel radio = check;
    radio.asCheck = false;
    ItemModel sub = redItem();
    sub.trueSub = true;

    auto round = [&] {
        f.paint(c, r, redItem(), {true, false, false, false}, look());
        f.paint(c, r, redItem(), {true, true, true, false}, look(true));
        f.paint(c, r, heading, {}, look());
        f.paint(c, r, check, {false, false, true, false}, look(false, false));
        f.paint(c, r, check, {true, true, true, false}, look(false, false));
        f.paint(c, r, radio, {false, false, true, false}, look());
        f.paint(c, r, check, {true, false, false, false}, look());
        f.paint(c, r, sub, {false, false, false, true}, look(true));
        int w = 0, h = 0;
        MeasureMenuItem(c.dc(), f.menuFont.get(), check, w, h);
        ::SelectClipRgn(c.dc(), nullptr);
    };
    round();  // the shared glyph font and check bitmaps are made here once
    int gdi = gdiObjectCount();
    DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 1000; ++i) round();
    CHECK(gdiObjectCount() == gdi);
    if (user == 0)
        MESSAGE("USER object count is not available on this system; only GDI objects were counted");
    else
        CHECK(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS) == user);
}
