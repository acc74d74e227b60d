// The tray popup reached from the keyboard and read by assistive technology:
// which tray notifications open it and where, the names its open items carry,
// and its pixels with and without those names.
#include "coolmenu/win32/menu_engine.h"
#include "fakes/recording.h"
#include "platform/win32/tray.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub.h"
#include "shell/hub_window.h"
#include "shell/tray_icon.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

// One popup as the hub showed it, noted at its first idle.
struct Popup {
    HMENU menu = nullptr;
    RECT rect{};                       // the menu window on the screen
    std::vector<std::wstring> names;   // each item's string, as GetMenuItemInfo gives it
    std::vector<UINT> types;
    std::vector<std::uint32_t> pixels;  // the menu window's, when asked for
    bool idled = false;
};

// The real hub window on fake services, with the real tray and menu engine. A
// procedure placed over the hub's notes every popup and ends it at its first
// idle, after running onIdle.
struct LiveHub {
    static inline LiveHub* current = nullptr;
    static inline WNDPROC previous = nullptr;

    fakes::FakeOs fake;
    win32::Win32Tray tray;
    win32::Win32MenuEngine engine;
    Services services{fake.boxes, fake.files, fake.codec, "C:\\Tools", tray, engine, fake.processes,
                      fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.cover, fake.registry,
                      fake.folderPicker, "lumivane.exe", fake.aboutBox, fake.background, fake.hotKeys};
    win32::HubWindow hub{services};
    HWND hwnd = nullptr;
    std::vector<Popup> popups;
    std::function<void(HWND menuWindow)> onIdle;  // the user's part; the popup is cancelled after it
    bool closeAtIdle = true;
    bool stripNames = false;     // as before names were given: owner-drawn items without strings
    bool capturePixels = false;

    LiveHub() {
        // One CD drive, so the door items are there too.
        fake.drives.strings = std::string("C:\\\0D:\\\0\0", 9);
        fake.drives.types["D:\\"] = 5;
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.logic().start();
        hwnd = hub.hwnd();
        current = this;
        previous = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LiveHub::proc)));
    }
    ~LiveHub() {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        current = nullptr;
    }

    // A notification as a shell of version 4 sends it: the event in the low
    // word of lParam, the icon in the high word, the point in wParam.
    // Inside an open menu nothing is pumped: the menu's own loop does that.
    void notify(UINT event, int x, int y, bool pump = true) {
        ::SendMessageW(hwnd, tray_icon::kTrayCallbackMessage, MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y)),
                       MAKELPARAM(event, tray_icon::kIconId));
        if (pump) testing::pump();
    }
    // As the first and third versions send it: lParam the event, wParam the icon.
    void notifyPlain(UINT event) {
        ::SendMessageW(hwnd, tray_icon::kTrayCallbackMessage, tray_icon::kIconId, event);
        testing::pump();
    }

    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        LiveHub* self = current;
        LRESULT result = ::CallWindowProcW(previous, hwnd, msg, wParam, lParam);
        if (!self) return result;
        if (msg == WM_INITMENUPOPUP) {
            Popup popup;
            popup.menu = reinterpret_cast<HMENU>(wParam);
            self->popups.push_back(popup);
            if (self->stripNames) self->strip(reinterpret_cast<HMENU>(wParam));
        }
        if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !self->popups.empty() && !self->popups.back().idled) {
            Popup& popup = self->popups.back();
            popup.idled = true;
            HWND menuWindow = reinterpret_cast<HWND>(lParam);
            ::GetWindowRect(menuWindow, &popup.rect);
            self->read(popup);
            if (self->capturePixels) popup.pixels = capture(menuWindow);
            if (self->onIdle) self->onIdle(menuWindow);
            if (self->closeAtIdle) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
        }
        return result;
    }

    static void strip(HMENU menu) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
            if (!(info.fType & MFT_OWNERDRAW)) continue;
            info.fMask = MIIM_STRING;
            info.dwTypeData = nullptr;
            ::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        }
    }

    static void read(Popup& popup) {
        for (int i = 0; i < ::GetMenuItemCount(popup.menu); ++i) {
            wchar_t buffer[256] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = buffer;
            info.cch = 255;
            REQUIRE(::GetMenuItemInfoW(popup.menu, static_cast<UINT>(i), TRUE, &info));
            popup.names.push_back(buffer);
            popup.types.push_back(info.fType);
        }
    }

    // The window's pixels as the screen shows them, row by row.
    static std::vector<std::uint32_t> capture(HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        testing::Canvas canvas(r.right - r.left, r.bottom - r.top);
        HDC source = ::GetWindowDC(window);
        REQUIRE(::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), source, 0, 0, SRCCOPY));
        ::ReleaseDC(window, source);
        return canvas.pixels();
    }
};

// Where a shell would say its icon is, near the bottom of the work area, and
// the pointer far from it, in the middle, where the menu fits above and below.
struct Spots {
    int iconX, iconY;
    POINT pointer;
};
const Spots& spots() {
    static const Spots s = [] {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return Spots{work.left + 200, work.bottom - 20,
                     POINT{work.left + (work.right - work.left) * 3 / 4, (work.top + work.bottom) / 2}};
    }();
    return s;
}

void pointerAway() { ::SetCursorPos(spots().pointer.x, spots().pointer.y); }

int CALLBACK collectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM out) {
    if (record->iType != EMR_EXTTEXTOUTW) return 1;
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* chars =
        reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
    auto& list = *reinterpret_cast<std::vector<std::wstring>*>(out);
    std::wstring s(chars, text->emrtext.nChars);
    // An embossed or engraved text is drawn twice, the same words.
    if (list.empty() || list.back() != s) list.push_back(s);
    return 1;
}

// The strings of an item's text as the engine draws it, through a metafile.
std::wstring drawnText(HWND hub, HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_DATA;
    REQUIRE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
    HDC metafile = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    REQUIRE(metafile);
    DRAWITEMSTRUCT dis{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu), metafile,
                       RECT{0, 0, 240, 22}, info.dwItemData};
    CHECK(::SendMessageW(hub, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
    HENHMETAFILE done = ::CloseEnhMetaFile(metafile);
    REQUIRE(done);
    std::vector<std::wstring> strings;
    ::EnumEnhMetaFile(nullptr, done, &collectText, &strings, nullptr);
    ::DeleteEnhMetaFile(done);
    std::wstring all;
    for (const auto& s : strings) all += s;
    return all;
}

// What a menu string shows: "&&" as one "&", a single "&" only underlines.
std::wstring shown(const std::wstring& name) {
    std::wstring out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != L'&') {
            out += name[i];
        } else if (i + 1 < name.size()) {
            out += name[++i];
        }
    }
    return out;
}

std::wstring withoutBlanks(std::wstring s) {
    std::erase(s, L' ');
    return s;
}

} // namespace

TEST_CASE("version 4 notifications: the keyboard's open the menu at the icon, the mouse's only on the right release") {
    const int kIconX = spots().iconX, kIconY = spots().iconY;
    const POINT kPointer = spots().pointer;
    {
        LiveHub live;
        pointerAway();
        // Moves, left clicks with their NIN_SELECT, a double click and the right press open nothing.
        for (UINT event : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN})
            live.notify(event, kPointer.x, kPointer.y);
        CHECK(live.popups.empty());

        // The right release opens it at the pointer; the WM_CONTEXTMENU the shell
        // sends next opens nothing, whether it comes while the menu is open or later.
        live.onIdle = [&](HWND) { live.notify(WM_CONTEXTMENU, kPointer.x, kPointer.y, false); };
        live.notify(WM_RBUTTONUP, kPointer.x, kPointer.y);
        live.onIdle = nullptr;
        REQUIRE(live.popups.size() == 1);
        CHECK(live.popups[0].rect.left == kPointer.x);
        CHECK(live.popups[0].rect.top == kPointer.y);
        live.notify(WM_RBUTTONUP, kPointer.x, kPointer.y);
        live.notify(WM_CONTEXTMENU, kPointer.x, kPointer.y);
        CHECK(live.popups.size() == 2);

        // Enter: NIN_KEYSELECT, perhaps twice; one menu, resting on the icon, not at the pointer.
        live.onIdle = [&](HWND) { live.notify(NIN_KEYSELECT, kIconX, kIconY, false); };
        live.notify(NIN_KEYSELECT, kIconX, kIconY);
        live.onIdle = nullptr;
        REQUIRE(live.popups.size() == 3);
        CHECK(live.popups[2].rect.left == kIconX);
        CHECK(live.popups[2].rect.bottom == kIconY);
        // Shift+F10 or the Menu key: WM_CONTEXTMENU with no right click before it.
        live.notify(WM_CONTEXTMENU, kIconX, kIconY);
        REQUIRE(live.popups.size() == 4);
        CHECK(live.popups[3].rect.bottom == kIconY);

        // Older layouts carry no point: the right release still opens at the
        // pointer, a keyboard notification at the pointer too.
        live.notifyPlain(WM_RBUTTONUP);
        live.notifyPlain(WM_CONTEXTMENU);
        live.notifyPlain(WM_LBUTTONUP);
        live.notifyPlain(NIN_KEYSELECT);
        REQUIRE(live.popups.size() == 5 + 1);
        CHECK(live.popups[4].rect.top == kPointer.y);
        CHECK(live.popups[5].rect.bottom == kPointer.y);
        CHECK(live.fake.log.only({"aboutBox", "show"}).empty());  // every menu was dismissed

        // Arrows and Enter at once: up from nothing reaches "Exit", then "About".
        live.closeAtIdle = false;
        live.onIdle = [](HWND menuWindow) {
            for (WPARAM key : {VK_UP, VK_UP, VK_RETURN}) ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
        };
        live.notify(NIN_KEYSELECT, kIconX, kIconY);
        CHECK(live.popups.size() == 7);
        CHECK(live.fake.log.only({"aboutBox"}) == std::vector<std::string>{"aboutBox(0)"});
    }
    testing::dropQuitMessages();
}

TEST_CASE("every item of the open popup is named with the words drawn for it, and the names change no pixel") {
    {
        LiveHub live;
        live.hub.setSlotText(3, "D:\\Tom & Jerry");
        live.hub.logic().updateFolderItems();
        pointerAway();
        std::vector<std::wstring> drawn;
        live.capturePixels = true;  // taken before the items are drawn again below
        live.onIdle = [&](HWND) {
            HMENU menu = live.popups.back().menu;
            if (live.popups.size() == 1)
                for (int i = 0; i < ::GetMenuItemCount(menu); ++i) drawn.push_back(drawnText(live.hwnd, menu, i));
        };
        live.notify(NIN_KEYSELECT, spots().iconX, spots().iconY);
        // The same popup again with the strings taken off, as before names were given.
        live.stripNames = true;
        live.notify(NIN_KEYSELECT, spots().iconX, spots().iconY);
        REQUIRE(live.popups.size() == 2);
        const Popup &named = live.popups[0], &bare = live.popups[1];
        CHECK(named.names == std::vector<std::wstring>{L"CD Drives", L"Open [D:]", L"Close [D:]", L"Folders", L"1. C:\\",
                                                       L"2. Tom && Jerry", L"Lumivane", L"Run Screen Saver",
                                                       L"Turn Monitor Off", L"Options", L"Don't Load at Startup",
                                                       L"Customize", L"About", L"", L"Exit"});
        REQUIRE(drawn.size() == named.names.size());
        for (size_t i = 0; i < drawn.size(); ++i) {
            CAPTURE(i);
            CHECK((named.types[i] & MFT_OWNERDRAW) != 0);
            const bool separator = (named.types[i] & MFT_SEPARATOR) != 0;
            if (named.names[i].empty()) {
                // The one true separator: drawn as a line, no words, no name.
                CHECK(separator);
                CHECK(drawn[i].empty());
            } else if (separator) {
                // A heading: its words drawn letter-spaced inside blanks, named without them.
                CHECK(withoutBlanks(drawn[i]) == withoutBlanks(named.names[i]));
                CHECK(named.names[i].front() != L' ');
            } else {
                CHECK(drawn[i] == shown(named.names[i]));
            }
        }

        CHECK(bare.names[4].empty());  // the second really had no names
        CHECK(named.rect.right - named.rect.left == bare.rect.right - bare.rect.left);
        CHECK(named.rect.bottom - named.rect.top == bare.rect.bottom - bare.rect.top);
        REQUIRE(named.pixels.size() == bare.pixels.size());
        REQUIRE(named.pixels.size() > 1000);
        CHECK(named.pixels == bare.pixels);
        // The capture holds the drawing: the menu colour and more than it.
        const COLORREF menu = ::GetSysColor(COLOR_MENU);
        const auto menuColoured = static_cast<size_t>(
            std::count(named.pixels.begin(), named.pixels.end(),
                       static_cast<std::uint32_t>(GetRValue(menu) << 16 | GetGValue(menu) << 8 | GetBValue(menu))));
        CHECK(menuColoured > named.pixels.size() / 4);
        CHECK(menuColoured < named.pixels.size());
    }
    testing::dropQuitMessages();
}
