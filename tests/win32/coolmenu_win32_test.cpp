#include "bench/gdi_objects.h"
#include "coolmenu/convert_menu.h"
#include "coolmenu/win32/cool_menu.h"
#include "coolmenu/win32/win32_menu.h"
#include "coolmenu/window_state.h"
#include "fakes/recording.h"
#include "coolmenu/win32/menu_engine.h"
#include "platform/win32/tray.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub.h"
#include "shell/hub_window.h"
#include "shell/tray_icon.h"
#include "shell/popup_lines.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

using testing::Canvas;

// One image, tagged "Run": a solid red square, so its pixels are told apart.
struct RunImage final : MenuImages {
    win32::UniqueIcon red = testing::solidIcon(16, RGB(255, 0, 0));
    int count() const override { return 1; }
    std::string tag(int) const override { return "Run"; }
    void* icon(int) const override { return red.get(); }
};

// A host window with the engine attached, noting what its own procedure sees.
struct Host {
    static inline Host* current = nullptr;
    int measures = 0, draws = 0;
    bool idled = false;
    std::function<void(HWND menuWindow)> onIdle;  // at the first idle of each popup
    HWND hwnd = nullptr;

    explicit Host(const MenuImages* images = nullptr) {
        current = this;
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LmvCoolMenuHost";
        ::RegisterClassW(&wc);  // fails harmlessly after the first time
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        REQUIRE(hwnd);
        REQUIRE(attach(hwnd, true, nullptr, images));
    }
    ~Host() {
        ::DestroyWindow(hwnd);
        current = nullptr;
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        Host* h = current;
        if (h && (msg == WM_MEASUREITEM || msg == WM_DRAWITEM)) {
            ++(msg == WM_MEASUREITEM ? h->measures : h->draws);
            return msg == WM_MEASUREITEM ? 0x1234 : 0x4321;
        }
        if (h && msg == WM_ENTERIDLE && !h->idled && h->onIdle) {
            h->idled = true;
            h->onIdle(reinterpret_cast<HWND>(lParam));
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    void convert(HMENU menu, bool on) {
        win32::Win32Menu menus;
        convertMenu(*engineRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), win32::fromHmenu(menu), 0,
                    false, on, false);
    }
};

struct ItemRead {
    UINT type = 0, state = 0, id = 0;
    ULONG_PTR data = 0;
    std::wstring text;
};

ItemRead readItem(HMENU menu, int position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 255;
    REQUIRE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
    return ItemRead{info.fType, info.fState, info.wID, info.dwItemData, (info.fType & MFT_OWNERDRAW) ? L"" : buffer};
}

std::vector<platform::PopupLine> linesForSlots2And7() {
    static fakes::FakeOs os;
    fakes::FakeHubHost host(os.log);
    host.boxes[2] = "C:\\Program Files\\Common Files";
    host.boxes[7] = "D:\\Tom & J\xC3\xA9r\xC3\xB4me";
    Hub hub(host, os.services);
    hub.updateFolderItems();
    hub.popupMenu.find("startWithWindows")->caption = "Load at Startup";
    hub.popupMenu.find("about")->enabled = false;
    return visibleLines(hub.popupMenu);
}

} // namespace

TEST_CASE("the popup at the pointer returns the chosen id, and WM_NULL follows it; a cancelled one returns 0") {
    Host host;
    win32::Win32Tray tray;
    auto lines = linesForSlots2And7();
    host.onIdle = [](HWND menuWindow) {  // up from no selection wraps to the last item
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
    };
    CHECK(tray.popupAtPointer(host.hwnd, lines) == menu_id::kExit);
    MSG msg;
    CHECK(::PeekMessageW(&msg, host.hwnd, WM_NULL, WM_NULL, PM_REMOVE));
    host.idled = false;
    host.onIdle = [&](HWND) { ::PostMessageW(host.hwnd, WM_CANCELMODE, 0, 0); };
    CHECK(tray.popupAtPointer(host.hwnd, lines) == 0);
}

TEST_CASE("the tray's popup as a real menu: items, ids and state; converted to owner-drawn records and back byte for byte") {
    Host host;
    Registries& reg = *engineRegistries();
    win32::UniqueMenu menu = win32::buildPopupMenu(linesForSlots2And7());
    HMENU popup = menu.get();
    const int count = ::GetMenuItemCount(popup), before = reg.items.count();
    auto describe = [&] {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            ItemRead item = readItem(popup, i);
            std::string id = item.id == menu_id::kExit ? " #exit" : i == 2 || i == 3 ? " #" + std::to_string(item.id - menu_id::kFolderBase) : "";
            out.push_back((item.type == MFT_SEPARATOR ? "<separator>" : win32::narrow(item.text)) +
                          ((item.state & MFS_GRAYED) ? " (grayed)" : "") + id + (item.data ? " +data" : ""));
        }
        return out;
    };
    const std::vector<std::string> shown = describe();
    CHECK(shown == std::vector<std::string>{"- CD Drives", "- F o l d e r s ", "1. Common Files #2",
                                            "2. Tom && J\xC3\xA9r\xC3\xB4me #7", "- L u m i v a n e", "Run Screen Saver",
                                            "Turn Monitor Off", "- O p t i o n s ", "Load at Startup", "Customize",
                                            "About (grayed)", "<separator>", "Exit #exit"});
    // The "&&" shows one ampersand and no mnemonic underline.
    CHECK(::GetMenuStringW(popup, 3, nullptr, 0, MF_BYPOSITION) == 16);

    host.convert(popup, true);
    for (int i = 0; i < count; ++i) {
        CAPTURE(i);
        ItemRead item = readItem(popup, i);
        CHECK(item.data == static_cast<ULONG_PTR>(before + i + 1));
        bool heading = shown[static_cast<size_t>(i)][0] == '-' || shown[static_cast<size_t>(i)] == "<separator>";
        CHECK(item.type == (MFT_OWNERDRAW | (heading ? MFT_SEPARATOR : 0u)));
    }
    // Read back in full through UTF-16; the doubled "&" is the caption's own.
    CHECK(reg.item(readItem(popup, 3).data)->text == "2. Tom && J\xC3\xA9r\xC3\xB4me");
    CHECK(windowState(host.hwnd)->headCount() == 1);
    host.convert(popup, false);
    CHECK(reg.items.count() == before);
    CHECK(describe() == shown);

    // A caption longer than the read buffer is cut at its bound.
    HMENU one = ::CreatePopupMenu();
    std::string longCaption(260, 'w');
    ::AppendMenuW(one, MF_STRING, 7, win32::widen(longCaption).c_str());
    host.convert(one, true);
    const ItemRecord* record = reg.item(readItem(one, 0).data);
    REQUIRE(record);
    CHECK(record->text.size() >= 199);
    CHECK(record->text.size() <= 200);
    CHECK(longCaption.rfind(record->text, 0) == 0);
    host.convert(one, false);
    ::DestroyMenu(one);
}

TEST_CASE("measure and draw: the engine answers its items in every state without leaking; the host gets the rest once") {
    RunImage images;
    Host host(&images);
    WindowState* attached = windowState(host.hwnd);
    CHECK_FALSE(attach(host.hwnd, true, nullptr, nullptr));  // a second attachment would loop
    CHECK(windowState(host.hwnd) == attached);
    const COLORREF select = RGB(0, 0x80, 0x40), ground = RGB(10, 20, 30), red = RGB(255, 0, 0);
    attached->selectColor = select;
    win32::UniqueMenu menu = win32::buildPopupMenu(linesForSlots2And7());
    HMENU popup = menu.get();
    const UINT count = static_cast<UINT>(::GetMenuItemCount(popup)), runAt = 5, exitAt = 12;
    host.convert(popup, true);
    Canvas canvas(220, 26, ground);
    auto draw = [&](UINT i, UINT state) {
        ItemRead item = readItem(popup, static_cast<int>(i));
        DRAWITEMSTRUCT dis{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup), canvas.dc(),
                           RECT{0, 1, 200, 25}, item.data};
        CHECK(::SendMessageW(host.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
    };
    auto paintAll = [&] {
        for (UINT i = 0; i < count; ++i) {
            ItemRead item = readItem(popup, static_cast<int>(i));
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, 0, item.data};
            CHECK(::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) != 0);
            for (UINT state : {0u, UINT(ODS_GRAYED), UINT(ODS_CHECKED), UINT(ODS_SELECTED)}) draw(i, state);
        }
    };
    paintAll();  // the shared glyph font and check bitmaps are made here once
    const long gdi = bench::gdiObjects(::GetCurrentProcess());
    for (int round = 0; round < 100; ++round) paintAll();
    CHECK(bench::gdiObjects(::GetCurrentProcess()) == gdi);
    // The last item drawn selected was "Exit", without an image: a bar over all of it.
    CHECK(canvas.at(0, 1) == select);
    CHECK(canvas.at(199, 24) == select);
    CHECK(host.measures == 0);
    CHECK(host.draws == 0);

    // "Run Screen Saver" selected: its icon in a raised column, the bar from 19; the DC as it came.
    canvas.fill({0, 0, 220, 26}, ground);
    HGDIOBJ font = ::GetCurrentObject(canvas.dc(), OBJ_FONT);
    ::SetTextColor(canvas.dc(), RGB(1, 2, 3));
    draw(runAt, ODS_SELECTED);
    CHECK(::GetCurrentObject(canvas.dc(), OBJ_FONT) == font);
    CHECK(::GetTextColor(canvas.dc()) == RGB(1, 2, 3));
    for (int y : {1, 24}) {
        CHECK(canvas.at(18, y) == ground);  // the free pixel after the column
        CHECK(canvas.at(19, y) == select);
        CHECK(canvas.at(199, y) == select);
        CHECK(canvas.at(200, y) == ground);
    }
    CHECK(canvas.at(100, 0) == ground);
    CHECK(canvas.count({1, 5, 17, 21}, red) == 256);  // (24 - 16) / 2 below the top
    CHECK(canvas.count({0, 0, 220, 26}, red) == 256);
    CHECK(canvas.at(0, 12) == ::GetSysColor(COLOR_3DHILIGHT));
    CHECK(canvas.at(17, 12) == ::GetSysColor(COLOR_BTNSHADOW));
    // Disabled: embossed in the shadow colour, and no bar even when selected.
    canvas.fill({0, 0, 220, 26}, ground);
    draw(runAt, ODS_SELECTED | ODS_GRAYED);
    CHECK(canvas.count({0, 0, 220, 26}, red) == 0);
    CHECK(canvas.count({0, 0, 220, 26}, select) == 0);
    CHECK(canvas.count({1, 5, 17, 21}, ::GetSysColor(COLOR_BTNSHADOW)) > 200);

    // "Exit" measured in the window's font, with room for the column and the arrow.
    MEASUREITEMSTRUCT exitItem{ODT_MENU, 0, menu_id::kExit, 0, 0, readItem(popup, exitAt).data};
    ::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&exitItem));
    win32::SelectGuard menuFont(canvas.dc(), menuFontOf(host.hwnd, false));
    RECT text{};
    ::DrawTextW(canvas.dc(), L"Exit", -1, &text, DT_CALCRECT | DT_SINGLELINE);
    CHECK(static_cast<int>(exitItem.itemWidth) == text.right + 42 - ::GetSystemMetrics(SM_CXMENUCHECK));
    CHECK(static_cast<int>(exitItem.itemHeight) == std::max<int>(text.bottom, ::GetSystemMetrics(SM_CYMENU)));

    // A button's item that happens to carry an engine number is the host's, once.
    MEASUREITEMSTRUCT button{ODT_BUTTON, 0, 1000, 5, 6, readItem(popup, 0).data};
    CHECK(::SendMessageW(host.hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&button)) == 0x1234);
    CHECK(button.itemHeight == 6);
    DRAWITEMSTRUCT buttonDraw{};
    buttonDraw.CtlType = ODT_BUTTON;
    buttonDraw.itemData = button.itemData;
    CHECK(::SendMessageW(host.hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&buttonDraw)) == 0x4321);
    CHECK(host.measures == 1);
    CHECK(host.draws == 1);
}

TEST_CASE("headings keep their bitmap face at 96 dots per inch and grow with the popup above it") {
    Host host;
    auto headingHeight = [&](int dpi, std::wstring* face) {
        WindowState* state = windowState(host.hwnd);
        state->geometry = MenuGeometry::forDpi(dpi);
        state->setHeadingFont(nullptr);
        menuFontOf(host.hwnd, true);
        win32::WindowDC dc(host.hwnd);
        win32::SelectGuard select(dc.get(), headingFontOf(host.hwnd));
        TEXTMETRICW tm{};
        REQUIRE(::GetTextMetricsW(dc.get(), &tm));
        wchar_t name[LF_FACESIZE] = {};
        ::GetTextFaceW(dc.get(), LF_FACESIZE, name);
        if (face) *face = name;
        return static_cast<int>(tm.tmHeight);
    };
    std::wstring face;
    int at96 = headingHeight(96, &face);
    CHECK(face == L"Small Fonts");
    for (int dpi : {144, 192}) {
        int expected = MenuGeometry::forDpi(dpi).headingFontHeight;
        CAPTURE(dpi);
        CHECK(headingHeight(dpi, nullptr) * 10 >= expected * 9);
        CHECK(headingHeight(dpi, nullptr) > at96);
    }
}

TEST_CASE("the GDI objects the leak checks count are the live ones of the process") {
    const long start = bench::gdiObjects(::GetCurrentProcess());
    REQUIRE(start > 0);
    std::vector<win32::UniqueBrush> brushes;
    for (int i = 0; i < 25; ++i) brushes.emplace_back(::CreateSolidBrush(RGB(i, 0, 0)));
    CHECK(bench::gdiObjects(::GetCurrentProcess()) == start + 25);
    brushes.clear();
    CHECK(bench::gdiObjects(::GetCurrentProcess()) == start);
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
    win32::Win32MenuEngine engine;
    Services services{fake.boxes, fake.files, fake.codec, "C:\\Tools", tray, engine, fake.processes,
                      fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.cover, fake.registry,
                      fake.folderPicker, "lumivane.exe", fake.aboutBox, fake.background, fake.hotKeys};
    {
        win32::HubWindow hub(services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.logic().start();
        HWND hwnd = hub.hwnd();
        WindowState* attached = windowState(hwnd);
        REQUIRE(attached);  // start-up attaches the engine
        hubProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&closeEveryMenu)));
        auto round = [&] {
            ::SendMessageW(hwnd, tray_icon::kTrayCallbackMessage, 0, WM_RBUTTONUP);
            testing::pump();
        };
        // The first openings make what is kept for the whole run: fonts, glyphs.
        for (int i = 0; i < 3; ++i) round();
        popupsOpened = itemsDrawn = 0;
        const long gdi = bench::gdiObjects(::GetCurrentProcess());
        const int records = engineRegistries()->items.count();
        for (int i = 0; i < 300; ++i) round();
        CHECK(popupsOpened == 300);
        CHECK(itemsDrawn >= 300);  // every popup was the engine's
        CHECK(bench::gdiObjects(::GetCurrentProcess()) == gdi);
        CHECK(engineRegistries()->items.count() == records);
        CHECK(attached->headCount() <= 2);
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hubProc));
    }
    testing::dropQuitMessages();
}
