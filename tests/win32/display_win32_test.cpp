// The popup drawn into memory bitmaps at each display scale and in each look,
// and the pictures the program's icon resources hold.
#include "actions/cover_window.h"
#include "actions/win32_cover_window.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/palette.h"
#include "coolmenu/win32/cool_menu.h"
#include "coolmenu/win32/win32_menu.h"
#include "platform/dpi.h"
#include "platform/win32/dpi.h"
#include "platform/win32/tray.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "platform/twips.h"
#include "shell/hub_dialog.h"
#include "shell/hub_window.h"
#include "shell/menu_icons.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

constexpr COLORREF kGround = RGB(10, 20, 30);  // the canvas, where nothing is drawn
constexpr COLORREF kRed = RGB(255, 0, 0);      // every picture, at every size

struct Canvas : testing::Canvas {
    Canvas(int width, int height) : testing::Canvas(width, height, kGround) {}
};

using testing::solidIcon;

// The pictures of the popup's items, solid red at 16, 20, 24 and 32 pixels.
struct RedPictures final : MenuImages {
    static constexpr std::array<int, 4> kSizes{16, 20, 24, 32};
    std::vector<std::string> tags{"1.", "2.", "Run", "Turn", "Exit", "About"};
    std::array<win32::UniqueIcon, 4> icons{solidIcon(16, kRed), solidIcon(20, kRed), solidIcon(24, kRed),
                                           solidIcon(32, kRed)};
    mutable std::vector<int> asked;
    int count() const override { return static_cast<int>(tags.size()); }
    std::string tag(int n) const override { return tags.at(static_cast<size_t>(n - 1)); }
    void* icon(int n) const override { return icon(n, 16); }
    std::span<const int> sizes() const override { return kSizes; }
    void* icon(int, int size) const override {
        asked.push_back(size);
        for (size_t i = 0; i < kSizes.size(); ++i)
            if (kSizes[i] == size) return icons[i].get();
        return nullptr;
    }
};

struct FixedLook final : ThemeSource {
    ThemeSettings settings;
    ThemeSettings read() const override { return settings; }
};

// Every popup the host window opens ends as soon as it waits for input.
LRESULT CALLBACK closeAtOnce(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window with the engine attached, and the tray's popup converted for it:
// headings, folders with pictures, a disabled item with a picture, Exit.
struct Popup {
    RedPictures pictures;
    HWND hwnd = nullptr;
    win32::UniqueMenu menu{::CreatePopupMenu()};
    struct Item {
        UINT id;
        ULONG_PTR data;
        bool picture, grayed, heading;
    };
    std::vector<Item> items;

    Popup() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = closeAtOnce;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LmvDisplayHost";
        ::RegisterClassW(&wc);  // fails harmlessly after the first time
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        REQUIRE(hwnd);
        REQUIRE(attach(hwnd, true, nullptr, &pictures));
        setComplexChecks(hwnd, false);
        const wchar_t* lines[] = {L"- F o l d e r s ", L"1. Common Files", L"2. Tom && J\u00e9r\u00f4me",
                                  L"- L u m i v a n e", L"Run Screen Saver", L"Turn Monitor Off", L"About", L"Exit"};
        UINT id = 100;
        for (const wchar_t* line : lines)
            ::AppendMenuW(menu.get(), MF_STRING | (std::wstring(line) == L"About" ? MF_GRAYED : 0), id++, line);
        convert(true);
    }
    ~Popup() {
        convert(false);
        setThemeSource(nullptr);
        ::DestroyWindow(hwnd);
    }

    void convert(bool on) {
        win32::Win32Menu menus;
        convertMenu(*engineRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), win32::fromHmenu(menu.get()), 0,
                    false, on, false);
        items.clear();
        if (!on) return;
        for (int i = 0; i < ::GetMenuItemCount(menu.get()); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
            REQUIRE(::GetMenuItemInfoW(menu.get(), static_cast<UINT>(i), TRUE, &info));
            bool heading = (info.fType & MFT_SEPARATOR) != 0;
            items.push_back({info.wID, info.dwItemData, !heading, (info.fState & MFS_GRAYED) != 0, heading});
        }
    }

    // What the engine does as a popup opens, at a resolution of the test's
    // choosing: the geometry and the fonts for it.
    void atDpi(int dpi) {
        WindowState* state = windowState(hwnd);
        state->geometry = MenuGeometry::forDpi(dpi);
        state->setHeadingFont(nullptr);
        menuFontOf(hwnd, true);
    }
    // Opens the popup for real, as the tray does, and closes it at once: the
    // engine reads the user's look as a popup opens. Returns the ground the
    // popup had while it was open.
    HBRUSH openAndClose() {
        convert(false);
        int dpi = windowState(hwnd)->geometry.dpi;
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD, 10, 10, 0, hwnd, nullptr);
        testing::pump();
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND;
        ::GetMenuInfo(menu.get(), &info);
        atDpi(dpi);
        convert(true);
        return info.hbrBack;
    }

    SIZE measure(const Item& item) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, 0, item.data};
        REQUIRE(::SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) != 0);
        return {static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
    }
    void draw(const Item& item, HDC dc, const RECT& rect, UINT state) {
        DRAWITEMSTRUCT dis{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, state | (item.grayed ? UINT(ODS_GRAYED) : 0u),
                           reinterpret_cast<HWND>(menu.get()), dc, rect, item.data};
        REQUIRE(::SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
    }
};

} // namespace

TEST_CASE("the popup at 96, 120, 144 and 192 dots per inch: taller items, the picture drawn for each size, nothing cut") {
    Popup popup;
    std::vector<int> pictureItemHeight;
    for (int dpi : {96, 120, 144, 192}) {
        CAPTURE(dpi);
        popup.atDpi(dpi);
        const MenuGeometry g = MenuGeometry::forDpi(dpi);
        const int cell = scaleToDpi(16, dpi);
        // The system adds its check-mark width to the measured width; rcItem is at least the measured size.
        const int widthAdded = win32::systemMetricForDpi(SM_CXMENUCHECK, dpi) - 1;
        std::vector<SIZE> sizes;
        int width = 0, height = 0;
        for (const auto& item : popup.items) {
            sizes.push_back(popup.measure(item));
            width = std::max<int>(width, sizes.back().cx + widthAdded);
            height += sizes.back().cy;
        }
        const int margin = 8;
        Canvas canvas(width + 2 * margin, height + 2 * margin);
        popup.pictures.asked.clear();
        int top = margin;
        std::vector<RECT> rects;
        for (size_t i = 0; i < popup.items.size(); ++i) {
            const auto& item = popup.items[i];
            RECT r{margin, top, margin + width, top + sizes[i].cy};
            rects.push_back(r);
            popup.draw(item, canvas.dc(), r, 0);
            top = r.bottom;
            if (!item.picture) continue;
            CAPTURE(i);
            // The whole picture, at the cell's size, inside its item and its column.
            CHECK(sizes[i].cy >= cell + scaleToDpi(2, dpi));
            RECT column{r.left, r.top, r.left + g.columnWidth, r.bottom};
            if (!item.grayed) {
                CHECK(canvas.count(column, kRed) == cell * cell);
                CHECK(canvas.count(r, kRed) == cell * cell);
            }
            // The text starts after the column and ends before the arrow's room: not cut at either end.
            RECT beforeText{r.left + g.columnWidth, r.top, r.left + g.textStart, r.bottom};
            RECT afterText{r.right - g.textEndGap, r.top, r.right, r.bottom};
            CHECK(canvas.countOther(beforeText, kGround) == 0);
            CHECK(canvas.countOther(afterText, kGround) == 0);
            // Text pixels there are, and each of them inside the item.
            RECT text{r.left + g.textStart, r.top, r.right - g.textEndGap, r.bottom};
            CHECK(canvas.countOther(text, kGround) > 20);
            if (i == 1) pictureItemHeight.push_back(sizes[i].cy);
        }
        // The picture asked for is always the one drawn for the cell, never a smaller one.
        CHECK(!popup.pictures.asked.empty());
        for (int asked : popup.pictures.asked) CHECK(asked == cell);
        // Nothing drawn between or outside the items (the light look leaves the item ground to the system).
        RECT above{0, 0, canvas.width(), margin}, below{0, top, canvas.width(), canvas.height()};
        RECT left{0, 0, margin, canvas.height()}, right{margin + width, 0, canvas.width(), canvas.height()};
        for (const RECT& outside : {above, below, left, right}) CHECK(canvas.countOther(outside, kGround) == 0);
        // Headings keep their words inside them too.
        for (size_t i = 0; i < popup.items.size(); ++i)
            if (popup.items[i].heading) CHECK(canvas.countOther(rects[i], kGround) > 20);
    }
    // Items grow with the resolution: double at 192 within rounding.
    REQUIRE(pictureItemHeight.size() == 4);
    CHECK(pictureItemHeight[0] < pictureItemHeight[1]);
    CHECK(pictureItemHeight[1] < pictureItemHeight[2]);
    CHECK(pictureItemHeight[2] < pictureItemHeight[3]);
    CHECK(std::abs(pictureItemHeight[3] - 2 * pictureItemHeight[0]) <= 2);
}

namespace {
// The apps' theme as the user sets it, in this test's own prefix.
void setAppsLight(bool light) {
    DWORD value = light ? 1 : 0;
    REQUIRE(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                              L"AppsUseLightTheme", REG_DWORD, &value, sizeof value) == ERROR_SUCCESS);
}

void announce(HWND hwnd, const wchar_t* area) {
    ::SendMessageW(hwnd, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area));
}

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH lb{};
    return brush && ::GetObjectW(brush, sizeof lb, &lb) ? lb.lbColor : CLR_INVALID;
}

// One item, "Run Screen Saver", unselected and selected, and "About",
// disabled, drawn side by side: what each look puts at chosen points.
struct Drawn {
    Canvas canvas{3 * 230, 40};
    RECT plain{0, 0, 220, 24}, selected{230, 0, 450, 24}, disabled{460, 0, 680, 24};
    explicit Drawn(Popup& popup) {
        popup.draw(popup.items[4], canvas.dc(), plain, 0);
        popup.draw(popup.items[4], canvas.dc(), selected, ODS_SELECTED);
        popup.draw(popup.items[6], canvas.dc(), disabled, ODS_SELECTED);
    }
    // A point right of the text, where only the item's ground or bar is.
    COLORREF groundOf(const RECT& r) const { return canvas.at(r.right - 4, r.top + 3); }
    RECT textOf(const RECT& r) const { return {r.left + 21, r.top, r.right - 18, r.bottom}; }
};

// A high-contrast scheme, and 3-D colours no look may use in it.
constexpr int kSchemeElements[] = {COLOR_MENU,       COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                   COLOR_GRAYTEXT,   COLOR_3DLIGHT,  COLOR_BTNSHADOW, COLOR_3DHILIGHT};
constexpr COLORREF kScheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 1),
                                RGB(63, 242, 63), RGB(201, 3, 202),   RGB(202, 4, 201),  RGB(203, 5, 200)};

struct SchemeGuard {
    COLORREF saved[std::size(kSchemeElements)];
    SchemeGuard() {
        for (size_t i = 0; i < std::size(kSchemeElements); ++i) saved[i] = ::GetSysColor(kSchemeElements[i]);
        REQUIRE(::SetSysColors(static_cast<int>(std::size(kSchemeElements)), kSchemeElements, kScheme));
    }
    ~SchemeGuard() { ::SetSysColors(static_cast<int>(std::size(kSchemeElements)), kSchemeElements, saved); }
};
} // namespace

TEST_CASE("dark on and off, and high contrast: ground, text and selection colours at chosen points") {
    Popup popup;
    const COLORREF select = windowState(popup.hwnd)->selectColor;

    SUBCASE("light: the system's ground left as it is, the selection colour, the text's colours") {
        setAppsLight(true);
        CHECK(popup.openAndClose() == nullptr);
        Drawn d(popup);
        CHECK(d.groundOf(d.plain) == kGround);  // the light look paints no ground of its own
        CHECK(d.groundOf(d.selected) == select);
        CHECK(d.canvas.count(d.textOf(d.plain), ::GetSysColor(COLOR_MENUTEXT)) > 20);
        CHECK(d.canvas.count(d.textOf(d.selected), ::GetSysColor(COLOR_HIGHLIGHTTEXT)) > 20);
        CHECK(d.canvas.count(d.textOf(d.disabled), ::GetSysColor(COLOR_3DHILIGHT)) > 20);  // engraved
    }
    SUBCASE("dark: set before the popup opens, then switched off and on again while the program runs") {
        setAppsLight(false);
        announce(popup.hwnd, L"ImmersiveColorSet");
        HBRUSH ground = popup.openAndClose();
        CHECK(brushColour(ground) == dark::kGround);  // between and around the items too
        Drawn d(popup);
        CHECK(d.groundOf(d.plain) == dark::kGround);
        CHECK(d.groundOf(d.selected) == dark::kSelection);
        CHECK(d.canvas.count(d.textOf(d.plain), dark::kText) > 20);
        CHECK(d.canvas.count(d.textOf(d.selected), dark::kSelectionText) > 20);
        CHECK(d.canvas.count(d.textOf(d.disabled), dark::kDisabledText) > 20);
        // A disabled picture in the dark is faded into the ground: no pure red, but reddish.
        RECT column{d.disabled.left, d.disabled.top, d.disabled.left + 18, d.disabled.bottom};
        CHECK(d.canvas.count(column, kRed) == 0);
        COLORREF faded = d.canvas.at(d.disabled.left + 9, d.disabled.top + 12);
        CHECK(GetRValue(faded) > GetGValue(faded) + 40);
        // Nothing of the light menu shows (the selected item's white text aside: it is the same white here).
        for (const RECT& r : {d.plain, d.disabled}) {
            CHECK(d.canvas.count(r, ::GetSysColor(COLOR_MENU)) == 0);
            CHECK(d.canvas.count(r, ::GetSysColor(COLOR_3DHILIGHT)) == 0);
        }

        // The next popup after the switch to light is light, and dark again after the switch back.
        setAppsLight(true);
        announce(popup.hwnd, L"ImmersiveColorSet");
        CHECK(popup.openAndClose() == nullptr);  // the dark ground taken off the popup again
        Drawn light(popup);
        CHECK(light.groundOf(light.plain) == kGround);
        setAppsLight(false);
        announce(popup.hwnd, L"SomethingElse");  // not the theme: the look stays as it was
        popup.openAndClose();
        Drawn stillLight(popup);
        CHECK(stillLight.groundOf(stillLight.plain) == kGround);
        announce(popup.hwnd, L"ImmersiveColorSet");
        popup.openAndClose();
        Drawn darkAgain(popup);
        CHECK(darkAgain.groundOf(darkAgain.plain) == dark::kGround);
    }
    SUBCASE("high contrast, over a dark setting: the scheme's colours only, no engraving, pictures kept") {
        SchemeGuard scheme;
        setAppsLight(false);
        FixedLook highContrast;
        highContrast.settings = {.highContrast = true, .appsUseLightTheme = false};
        setThemeSource(&highContrast);
        CHECK(popup.openAndClose() == nullptr);
        Drawn d(popup);
        CHECK(d.groundOf(d.plain) == kScheme[0]);
        CHECK(d.groundOf(d.selected) == kScheme[2]);
        CHECK(d.canvas.count(d.textOf(d.plain), kScheme[1]) > 20);
        CHECK(d.canvas.count(d.textOf(d.selected), kScheme[3]) > 20);
        CHECK(d.canvas.count(d.textOf(d.disabled), kScheme[4]) > 20);
        for (const RECT& r : {d.plain, d.selected, d.disabled}) {
            int embossed = d.canvas.count(r, kScheme[5]) + d.canvas.count(r, kScheme[6]) + d.canvas.count(r, kScheme[7]);
            CHECK(embossed == 0);
            RECT column{r.left, r.top, r.left + 18, r.bottom};
            CHECK(d.canvas.count(column, kRed) == 16 * 16);  // even the disabled item's
        }
    }
    setAppsLight(true);
}

namespace {
// The square sizes an icon resource's group holds, as its directory lists them.
std::vector<int> groupSizes(int id) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    if (!found) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(self, found)));
    int count = bytes[4] | bytes[5] << 8;
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes + 6 + 14 * i;  // GRPICONDIRENTRY
        CHECK(entry[0] == entry[1]);                      // square
        sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    }
    return sizes;
}

int iconSide(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ::GetObjectW(colour.get(), sizeof bm, &bm);
    return bm.bmWidth;
}
} // namespace

TEST_CASE("every picture is drawn at each size, and the menu loads only the sizes it is asked for") {
    for (int n = 0; n < static_cast<int>(kMenuImageTable.size()); ++n) {
        CAPTURE(n);
        CHECK(groupSizes(kFirstMenuIconResource + n) == std::vector<int>{16, 20, 24, 32});
    }
    CHECK(groupSizes(1) == std::vector<int>{16, 20, 24, 32, 48, 256});  // the program icon

    win32::MenuIcons icons;
    ImageList list;
    icons.attach(::GetModuleHandleW(nullptr), list);
    CHECK(icons.loaded() == 0);
    for (int size : kMenuPictureSizes) {
        CAPTURE(size);
        for (int n = 1; n <= list.count(); ++n) CHECK(iconSide(static_cast<HICON>(list.icon(n, size))) == size);
    }
    CHECK(icons.loaded() == 4 * 19);
    // Asked again, the same icon: nothing more is loaded.
    HICON first = static_cast<HICON>(list.icon(3, 24));
    CHECK(list.icon(3, 24) == first);
    CHECK(icons.loaded() == 4 * 19);
    // The tray at 175 % asks for 28: the icon is made at exactly that size.
    CHECK(iconSide(static_cast<HICON>(list.iconOf("TURN", 28))) == 28);
    CHECK(icons.loaded() == 4 * 19 + 1);
}

TEST_CASE("the cover window and the customize dialog lay themselves out again on WM_DPICHANGED") {
    namespace layout = cover_layout;
    SUBCASE("the cover window") {
        win32::Win32CoverWindow cover(::GetModuleHandleW(nullptr));
        cover.show();
        testing::pump();
        HWND w = cover.hwnd();
        REQUIRE(w);
        RECT suggested{40, 30, 400, 300};
        ::SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        RECT client{}, outer{};
        ::GetClientRect(w, &client);
        ::GetWindowRect(w, &outer);
        CHECK(client.right == twipsToPixels(layout::kClientWidth, 192));
        CHECK(client.bottom == twipsToPixels(layout::kClientHeight, 192));
        CHECK(outer.left == 40);
        CHECK(outer.top == 30);
        RECT cancel = testing::placeOf(cover.cancelButton());
        CHECK(cancel.left == twipsToPixels(layout::kCancelLeft, 192));
        CHECK(cancel.right - cancel.left == twipsToPixels(layout::kCancelLeft + layout::kCancelWidth, 192) -
                                                twipsToPixels(layout::kCancelLeft, 192));
        // The text grew with it: its font is twice the 96 dots per inch one.
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(cover.cancelButton(), WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        REQUIRE(::GetObjectW(font, sizeof lf, &lf));
        CHECK(lf.lfHeight == -pointsToPixels(800, 192));
        // Back at the system's resolution the design comes back to the pixel.
        int dpi = win32::dpiForSystem();
        ::SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ::GetClientRect(w, &client);
        CHECK(client.right == twipsToPixels(layout::kClientWidth, dpi));
    }
    SUBCASE("the customize dialog, and the tray icon with it") {
        fakes::FakeOs os;
        win32::HubWindow window{os.services};
        REQUIRE(window.create(::GetModuleHandleW(nullptr)));
        window.logic().start();
        window.setVisible(true);
        RECT suggested{20, 10, 500, 500};
        os.tray.size = 24;
        ::SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        folder_dialog::Layout at144 = folder_dialog::layoutFor(144);
        // The frame around the design's client area is the one the system draws at 144.
        RECT outer{}, wanted{0, 0, at144.clientWidth, at144.clientHeight};
        ::GetWindowRect(window.hwnd(), &outer);
        win32::adjustWindowRectForDpi(wanted, static_cast<DWORD>(::GetWindowLongPtrW(window.hwnd(), GWL_STYLE)),
                                      static_cast<DWORD>(::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE)), 144);
        CHECK(outer.right - outer.left == wanted.right - wanted.left);
        CHECK(outer.bottom - outer.top == wanted.bottom - wanted.top);
        CHECK(outer.left == 20);
        CHECK(outer.top == 10);
        RECT ok = testing::placeOf(::GetDlgItem(window.hwnd(), win32::dialog_id::kOK));
        CHECK(ok.left == at144.ok.left);
        CHECK(ok.bottom - ok.top == at144.ok.height);
        // The taskbar's icon size changed with it: the icon is given the 24 pixel picture.
        REQUIRE(os.tray.modified.size() == 1);
        CHECK(iconSide(static_cast<HICON>(os.tray.modified[0].icon)) == 24);
        window.setVisible(false);
    }
    testing::dropQuitMessages();
}
