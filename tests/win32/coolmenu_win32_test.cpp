#include "bench/gdi_objects.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/item_painter.h"
#include "coolmenu/win32/cool_menu.h"
#include "coolmenu/win32/win32_menu.h"
#include "fakes/recording.h"
#include "platform/win32/menu_engine.h"
#include "platform/win32/tray.h"
#include "platform/win32/wide.h"
#include "shell/hub_window.h"
#include "shell/mod_systray.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

struct RunImage final : MenuImages {
    int count() const override { return 1; }
    std::string tag(int) const override { return "Run"; }
    void* icon(int) const override { return ::LoadIconW(nullptr, IDI_APPLICATION); }
};

// A host window with the engine attached, noting what its own procedure sees.
struct Host {
    static inline Host* current = nullptr;
    int measures = 0, draws = 0;
    const void* lastStruct = nullptr;
    std::vector<HMENU> initPopups;
    bool idled = false;
    std::function<void(HWND menuWindow)> onIdle;  // at the first idle of each popup
    std::function<void()> onProbe;                 // at a WM_APP posted behind input
    HWND hwnd = nullptr;

    explicit Host(const MenuImages* images = nullptr, const HelpCallBack* help = nullptr) {
        current = this;
        hwnd = testing::makeWindow(L"LmvCoolMenuHost", proc);
        REQUIRE(AttachCoolMenu(hwnd, true, help, images));
    }
    ~Host() {
        ::DestroyWindow(hwnd);
        current = nullptr;
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        Host* h = current;
        if (h && (msg == WM_MEASUREITEM || msg == WM_DRAWITEM)) {
            ++(msg == WM_MEASUREITEM ? h->measures : h->draws);
            h->lastStruct = reinterpret_cast<const void*>(lParam);
            return msg == WM_MEASUREITEM ? 0x1234 : 0x4321;
        }
        if (h && msg == WM_INITMENUPOPUP) h->initPopups.push_back(reinterpret_cast<HMENU>(wParam));
        if (h && msg == WM_ENTERIDLE && !h->idled && h->onIdle) {
            h->idled = true;
            h->onIdle(reinterpret_cast<HWND>(lParam));
        }
        if (h && msg == WM_APP && h->onProbe) h->onProbe();
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    void convert(HMENU menu, bool on) {
        win32::Win32Menu menus;
        ConvertMenu(*CoolMenuRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), win32::fromHmenu(menu), 0,
                    false, on, false);
    }
    // Runs the popup modally, then handles what its script left queued.
    UINT track(HMENU popup) {
        idled = false;
        UINT chosen = static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD, 100, 100, 0, hwnd, nullptr));
        testing::pump();
        return chosen;
    }
};

struct ItemRead {
    UINT type = 0;
    ULONG_PTR data = 0;
    std::wstring text;
};

ItemRead readItem(HMENU menu, int position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 255;
    REQUIRE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
    return ItemRead{info.fType, info.dwItemData, (info.fType & MFT_OWNERDRAW) ? L"" : buffer};
}

// Items as the tray program builds them (headings, a true separator, ids
// from 1000), with a check, a radio mark and a submenu besides.
const std::vector<std::string> kCaptions = {"- F o l d e r s ", "1. C:\\Users\\\xC3\x9Cmit", "Run Screen Saver",
                                            "#Power", "*Radio", "More", "", "Exit"};
constexpr int kSeparator = 6;

HMENU buildPopup() {
    HMENU menu = ::CreatePopupMenu();
    for (size_t i = 0; i < kCaptions.size(); ++i) {
        std::wstring text = win32::widen(kCaptions[i]);
        if (kCaptions[i].empty())
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else if (kCaptions[i] == "More")
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), text.c_str());
        else
            ::AppendMenuW(menu, MF_STRING, 1000 + i, text.c_str());
    }
    return menu;
}

} // namespace

TEST_CASE("a real popup converts to owner-drawn records and restores byte for byte") {
    Host host;
    Registries& reg = *CoolMenuRegistries();
    HMENU popup = buildPopup();
    const int before = reg.items.Count();
    host.convert(popup, true);
    for (int i = 0; i < static_cast<int>(kCaptions.size()); ++i) {
        CAPTURE(i);
        ItemRead item = readItem(popup, i);
        CHECK(item.data == static_cast<ULONG_PTR>(before + i + 1));
        CHECK(item.type == (MFT_OWNERDRAW | (i == 0 || i == kSeparator ? MFT_SEPARATOR : 0u)));
        REQUIRE(reg.item(item.data));
    }
    CHECK(reg.item(readItem(popup, 1).data)->sMenuText == kCaptions[1]);  // through UTF-16 and back
    CHECK(CoolMenuWindow(host.hwnd)->CountMenuHeads() == 1);

    host.convert(popup, false);
    CHECK(reg.items.Count() == before);
    for (int i = 0; i < static_cast<int>(kCaptions.size()); ++i) {
        CAPTURE(i);
        ItemRead item = readItem(popup, i);
        CHECK(item.data == 0);
        CHECK(item.type == (i == kSeparator ? MFT_SEPARATOR : MFT_STRING));
        CHECK(item.text == win32::widen(kCaptions[static_cast<size_t>(i)]));
    }
    ::DestroyMenu(popup);

    SUBCASE("a caption longer than the read buffer is cut at its bound") {
        HMENU one = ::CreatePopupMenu();
        std::string longCaption(260, 'w');
        ::AppendMenuW(one, MF_STRING, 7, win32::widen(longCaption).c_str());
        host.convert(one, true);
        const CMyItemData* record = reg.item(readItem(one, 0).data);
        REQUIRE(record);
        CHECK(record->sMenuText.size() >= 199);
        CHECK(record->sMenuText.size() <= 200);
        CHECK(longCaption.rfind(record->sMenuText, 0) == 0);
        host.convert(one, false);
        ::DestroyMenu(one);
    }
    SUBCASE("the system menu keeps its own look, and the host still sees it open") {
        HMENU sys = ::GetSystemMenu(host.hwnd, FALSE);
        ::SendMessageW(host.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sys), MAKELPARAM(0, TRUE));
        REQUIRE(::GetMenuItemCount(sys) > 0);
        for (int i = 0; i < ::GetMenuItemCount(sys); ++i) CHECK((readItem(sys, i).type & MFT_OWNERDRAW) == 0);
        CHECK(reg.items.Count() == before);
        CHECK(host.initPopups == std::vector<HMENU>{sys});
    }
}

TEST_CASE("measure and draw: the engine answers its items in every state without leaking; the host gets the rest once") {
    RunImage images;
    Host host(&images);
    WndCoolMenu* attached = CoolMenuWindow(host.hwnd);
    CHECK_FALSE(AttachCoolMenu(host.hwnd, true, nullptr, nullptr));  // a second attachment would loop
    CHECK(CoolMenuWindow(host.hwnd) == attached);
    const COLORREF select = RGB(0, 0x80, 0x40);
    CoolMenuWindow(host.hwnd)->SelectColor = select;
    HMENU popup = buildPopup();
    host.convert(popup, true);
    testing::Canvas canvas(200, 24, RGB(10, 20, 30));
    auto paintAll = [&] {
        for (UINT i = 0; i < kCaptions.size(); ++i) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, 1000 + i, 0, 0, readItem(popup, static_cast<int>(i)).data};
            CHECK(::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) != 0);
            for (UINT state : {0u, UINT(ODS_GRAYED), UINT(ODS_CHECKED), UINT(ODS_SELECTED)}) {
                DRAWITEMSTRUCT dis{ODT_MENU, 0, mis.itemID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup),
                                   canvas.dc(), RECT{0, 0, 200, 24}, mis.itemData};
                CHECK(::SendMessageW(host.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
                ::SelectClipRgn(canvas.dc(), nullptr);  // a submenu item keeps the system's arrow out
            }
        }
    };
    paintAll();  // the shared glyph font and check bitmaps are made here once
    const long gdi = bench::gdiObjects(::GetCurrentProcess());
    for (int round = 0; round < 100; ++round) paintAll();
    CHECK(bench::gdiObjects(::GetCurrentProcess()) == gdi);
    // The last item drawn selected was "Exit", without an image: a bar over all of it.
    CHECK(canvas.at(0, 0) == select);
    CHECK(canvas.at(199, 23) == select);
    CHECK(host.measures == 0);
    CHECK(host.draws == 0);

    // "Exit" measured in the window's font, with room for the column and the arrow.
    MEASUREITEMSTRUCT exitItem{ODT_MENU, 0, 1007, 0, 0, readItem(popup, 7).data};
    ::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&exitItem));
    testing::Canvas measuring(1, 1, 0);
    win32::SelectGuard font(measuring.dc(), GetMenuFont(host.hwnd, false));
    RECT text{};
    ::DrawTextW(measuring.dc(), L"Exit", -1, &text, DT_CALCRECT | DT_SINGLELINE);
    CHECK(static_cast<int>(exitItem.itemWidth) == text.right + 42 - ::GetSystemMetrics(SM_CXMENUCHECK));
    CHECK(static_cast<int>(exitItem.itemHeight) == std::max<int>(text.bottom, ::GetSystemMetrics(SM_CYMENU)));

    const ULONG_PTR ours = readItem(popup, 0).data;
    const ULONG_PTR beyond = static_cast<ULONG_PTR>(CoolMenuRegistries()->items.Count()) + 1;
    for (auto [ctlType, data] : {std::pair{ODT_MENU, ULONG_PTR{0}}, std::pair{ODT_BUTTON, ours}, std::pair{ODT_MENU, beyond}}) {
        CAPTURE(data);
        MEASUREITEMSTRUCT mis{UINT(ctlType), 0, 1000, 5, 6, data};
        CHECK(::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) == 0x1234);
        CHECK(host.lastStruct == &mis);
        CHECK(mis.itemHeight == 6);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = UINT(ctlType);
        dis.itemData = data;
        CHECK(::SendMessageW(host.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) == 0x4321);
        CHECK(host.lastStruct == &dis);
    }
    CHECK(host.measures == 3);
    CHECK(host.draws == 3);
    ::DestroyMenu(popup);
}

TEST_CASE("in the modal loop: a submenu opens as a second head, a mnemonic chooses, the close restores all") {
    HelpCallBack help;
    std::vector<std::string> helpTexts;
    help.MenuHelp = [&](std::string text, std::string, bool) { helpTexts.push_back(text); };
    Host host(nullptr, &help);
    WndCoolMenu* window = CoolMenuWindow(host.hwnd);
    const int records = CoolMenuRegistries()->items.Count();
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 201, L"-|help|Group");
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&More");
    ::AppendMenuW(popup, MF_STRING, 302, L"*&Close");
    ::AppendMenuW(popup, MF_STRING, 303, L"|Ends it|E&xit");

    std::vector<std::uintptr_t> headsWhileOpen;
    UINT subTypeWhileOpen = 0;
    host.onIdle = [&](HWND menuWindow) {
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);   // selects "More"
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RIGHT, 0);  // and opens it
        ::PostMessageW(host.hwnd, WM_APP, 0, 0);
    };
    host.onProbe = [&] {
        for (int k = 0; k < window->CountMenuHeads(); ++k) headsWhileOpen.push_back(window->GetMenuHead(k));
        subTypeWhileOpen = readItem(sub, 0).type;
        ::PostMessageW(host.hwnd, WM_CANCELMODE, 0, 0);
    };
    host.track(popup);
    CHECK(subTypeWhileOpen == (MFT_OWNERDRAW | MFT_SEPARATOR));
    CHECK(headsWhileOpen == std::vector<std::uintptr_t>{win32::fromHmenu(popup), win32::fromHmenu(sub)});
    CHECK(host.initPopups == std::vector<HMENU>{popup, sub});
    CHECK(host.measures == 0);
    CHECK(window->MainPopedIndex() == "-1");
    CHECK(CoolMenuRegistries()->items.Count() == records);
    CHECK(readItem(sub, 0).text == L"-|help|Group");
    REQUIRE_FALSE(helpTexts.empty());
    CHECK(helpTexts.back().empty());  // the close reports empty help

    // A typed mnemonic; the cancel behind it ends the menu when it chose nothing.
    wchar_t key = 0;
    host.onIdle = [&](HWND menuWindow) {
        ::PostMessageW(menuWindow, WM_CHAR, key, 0);
        ::PostMessageW(host.hwnd, WM_CANCELMODE, 0, 0);
    };
    key = L'x';
    CHECK(host.track(popup) == 303);
    key = L'C';
    CHECK(host.track(popup) == 302);
    key = L'q';
    CHECK(host.track(popup) == 0);
    CHECK(readItem(popup, 1).text == L"*&Close");
    ::DestroyMenu(popup);
}

TEST_CASE("a settings change reaching an attached window makes the next measure use the new menu height") {
    Host host;
    // A font far smaller than any menu height makes the measured height the metric's.
    win32::UniqueFont tiny(::CreateFontW(-6, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    auto measuredHeight = [&] {
        ItemModel item;
        item.text = "x";
        int width = 0, height = 0;
        REQUIRE(MeasureMenuItem(nullptr, tiny.get(), item, width, height));
        return height;
    };
    auto growMenuHeight = [](int by) {  // this session only: the prefix is a copy
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        REQUIRE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
        metrics.iMenuHeight += by;
        REQUIRE(::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    };
    const int original = ::GetSystemMetrics(SM_CYMENU);
    CHECK(measuredHeight() == original);
    growMenuHeight(17);
    REQUIRE(::GetSystemMetrics(SM_CYMENU) == original + 17);
    ::SendMessageW(host.hwnd, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    CHECK(measuredHeight() == original + 17);
    growMenuHeight(-17);
    ForgetMenuMetrics();
    CHECK(measuredHeight() == original);
}

namespace {
WNDPROC hubProc = nullptr;
int popupsOpened = 0;
int itemsDrawn = 0;

// Placed over the hub's procedure: every popup ends as soon as it waits for
// input, the way a user's click elsewhere ends it.
LRESULT CALLBACK closeEveryMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    popupsOpened += msg == WM_INITMENUPOPUP;
    itemsDrawn += msg == WM_DRAWITEM;
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
    return ::CallWindowProcW(hubProc, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_CASE("the tray popup opened and closed hundreds of times: GDI objects and records stay flat") {
    fakes::FakeOs fake;
    win32::Win32Tray tray;
    win32::CoolMenuEngine engine;
    Services services{fake.instance, fake.boxes, fake.files, fake.codec, "C:\\Tools", tray, engine, fake.processes,
                      fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.turnMonOff, fake.registry,
                      fake.folderPicker, "lumivane.exe", fake.aboutBox};
    {
        win32::HubWindow hub(services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.form().Form_Load();
        HWND hwnd = hub.hwnd();
        WndCoolMenu* attached = CoolMenuWindow(hwnd);
        REQUIRE(attached);  // start-up attaches the engine
        hubProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&closeEveryMenu)));
        auto round = [&] {
            ::SendMessageW(hwnd, modSystray::kTrayCallbackMessage, 0, WM_RBUTTONUP);
            testing::pump();
        };
        // The first openings make what is kept for the whole run: fonts, glyphs.
        for (int i = 0; i < 3; ++i) round();
        popupsOpened = itemsDrawn = 0;
        const long gdi = bench::gdiObjects(::GetCurrentProcess());
        const int records = CoolMenuRegistries()->items.Count();
        for (int i = 0; i < 300; ++i) round();
        CHECK(popupsOpened == 300);
        CHECK(itemsDrawn >= 300);  // every popup was the engine's
        CHECK(bench::gdiObjects(::GetCurrentProcess()) == gdi);
        CHECK(CoolMenuRegistries()->items.Count() == records);
        CHECK(attached->CountMenuHeads() <= 2);
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hubProc));
    }
    testing::dropQuitMessages();
}
