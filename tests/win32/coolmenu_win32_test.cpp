#include "coolmenu/convert_menu.h"
#include "coolmenu/win32/cool_menu.h"
#include "coolmenu/win32/win32_menu.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

namespace {

// The tray program's image list, with a real icon for every image.
class IconImages final : public MenuImages {
public:
    int count() const override { return static_cast<int>(tags_.size()); }
    std::string tag(int n) const override { return tags_.at(static_cast<size_t>(n - 1)); }
    void* icon(int) const override { return ::LoadIconW(nullptr, IDI_APPLICATION); }

private:
    std::vector<std::string> tags_{"About", "1.", "2.", "3.", "4.", "5.", "6.", "7.", "8.", "9.", "10.",
                                   "Load at Startup", "Run", "Exit", "Don't Load at Startup", "Turn", "Close",
                                   "Customize", "Open"};
};

// What the host's own window procedure saw and how it answers.
struct HostLog {
    int measureItems = 0;
    int drawItems = 0;
    int probes = 0;
    const void* lastStruct = nullptr;
    std::vector<HMENU> initPopups;
    std::vector<UINT> initFirstTypes;  // type of each popup's first item as the window saw it
    int idles = 0;
    std::function<void(HWND owner, HWND menuWindow)> onFirstIdle;
    std::function<void(HWND owner)> onProbe;
};
HostLog* hostLog = nullptr;

constexpr UINT kProbe = WM_APP + 5;
constexpr LRESULT kMeasureAnswer = 0x1234;
constexpr LRESULT kDrawAnswer = 0x4321;

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HostLog* log = hostLog;
    if (log) {
        switch (msg) {
        case WM_MEASUREITEM:
            ++log->measureItems;
            log->lastStruct = reinterpret_cast<const void*>(lParam);
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = 77;
            return kMeasureAnswer;
        case WM_DRAWITEM:
            ++log->drawItems;
            log->lastStruct = reinterpret_cast<const void*>(lParam);
            return kDrawAnswer;
        case WM_INITMENUPOPUP:
            log->initPopups.push_back(reinterpret_cast<HMENU>(wParam));
            {
                MENUITEMINFOW info{};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE;
                ::GetMenuItemInfoW(reinterpret_cast<HMENU>(wParam), 0, TRUE, &info);
                log->initFirstTypes.push_back(info.fType);
            }
            return 0;
        case WM_ENTERIDLE:
            // The menu goes idle once; each script posts its own end.
            if (++log->idles == 1 && log->onFirstIdle) log->onFirstIdle(hwnd, reinterpret_cast<HWND>(lParam));
            return 0;
        case kProbe:
            ++log->probes;
            if (log->onProbe) log->onProbe(hwnd);
            return 0x55;
        }
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND makeHost(HMENU menuBar = nullptr, bool visible = false) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LmvCoolMenuHost";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&wc);
        registered = true;
    }
    HWND hwnd = ::CreateWindowExW(0, L"LmvCoolMenuHost", L"host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0u), 40, 40, 400, 300,
                                  nullptr, menuBar, ::GetModuleHandleW(nullptr), nullptr);
    REQUIRE(hwnd);
    if (visible) ::SetForegroundWindow(hwnd);
    return hwnd;
}

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

const std::vector<std::string>& programCaptions() {
    static const std::vector<std::string> captions = {
        "- CD Drives", "- F o l d e r s ", "1. C:\\", "2. D:\\Music", "3. C:\\Users\\\xC3\x9Cmit", "4. E:\\",
        "5. F:\\", "6. G:\\", "7. H:\\", "8. I:\\", "9. J:\\", "10. K:\\Photos", "- L u m i v a n e",
        "Run Screen Saver", "Turn Monitor Off", "- O p t i o n s ", "Don't Load at Startup", "Customize", "About",
        "", "Exit"};
    return captions;
}
constexpr int kSeparatorPosition = 19;

// Built as the tray program builds its popup: texts, and a true separator
// before "Exit".
HMENU buildProgramPopup() {
    HMENU menu = ::CreatePopupMenu();
    UINT id = 1000;
    for (const auto& caption : programCaptions()) {
        if (caption.empty())
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(menu, MF_STRING, id, win32::widen(caption).c_str());
        ++id;
    }
    return menu;
}

MenuHandle handle(HMENU menu) { return win32::fromHmenu(menu); }

// Runs the popup modally and then handles what its script left in the queue.
UINT track(HMENU popup, HWND owner) {
    UINT chosen = static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD, 100, 100, 0, owner, nullptr));
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    return chosen;
}

} // namespace

TEST_CASE("the program's popup converts to owner-drawn records and restores byte for byte") {
    HostLog log;
    hostLog = &log;
    IconImages images;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, &images));
    Registries& reg = *CoolMenuRegistries();
    win32::Win32Menu menus;
    HMENU popup = buildProgramPopup();
    int before = reg.items.Count();

    ConvertMenu(reg, menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, true, false);
    REQUIRE(::GetMenuItemCount(popup) == 21);
    std::vector<std::string> texts;
    std::vector<int> imagesChosen;
    for (int i = 0; i < 21; ++i) {
        CAPTURE(i);
        ItemRead item = readItem(popup, i);
        CHECK(item.data == static_cast<ULONG_PTR>(before + i + 1));
        const CMyItemData* record = reg.item(item.data);
        REQUIRE(record);
        bool heading = programCaptions()[static_cast<size_t>(i)].rfind("-", 0) == 0 || i == kSeparatorPosition;
        CHECK(item.type == (MFT_OWNERDRAW | (heading ? MFT_SEPARATOR : 0u)));
        CHECK(record->fType == item.type);
        CHECK_FALSE(record->bMainMenu);
        CHECK_FALSE(record->bTrueSub);
        CHECK_FALSE(record->bAsMark);
        texts.push_back(record->sMenuText);
        imagesChosen.push_back(record->iButton);
    }
    CHECK(texts[0] == " CD Drives");
    CHECK(texts[1] == " F o l d e r s ");
    CHECK(texts[4] == "3. C:\\Users\\\xC3\x9Cmit");
    CHECK(texts[kSeparatorPosition].empty());
    CHECK(texts[20] == "Exit");
    // An empty text takes the first tagged image, the separator included.
    CHECK(imagesChosen == std::vector<int>{-1, -1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, 12, 15, -1, 14, 17, 0, 0, 13});
    CHECK(CoolMenuWindow(hwnd)->CountMenuHeads() == 1);

    ConvertMenu(reg, menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, false, false);
    CHECK(reg.items.Count() == before);
    for (int i = 0; i < 21; ++i) {
        CAPTURE(i);
        ItemRead item = readItem(popup, i);
        CHECK(item.data == 0);
        if (i == kSeparatorPosition) {
            CHECK(item.type == MFT_SEPARATOR);
        } else {
            CHECK(item.type == MFT_STRING);
            CHECK(item.text == win32::widen(programCaptions()[static_cast<size_t>(i)]));
        }
    }
    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("a long caption is read up to its limit, and the system menu keeps its own look") {
    HostLog log;
    hostLog = &log;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    Registries& reg = *CoolMenuRegistries();
    HMENU popup = ::CreatePopupMenu();
    std::string longCaption(260, 'w');
    ::AppendMenuW(popup, MF_STRING, 7, win32::widen(longCaption).c_str());
    win32::Win32Menu menus;
    ConvertMenu(reg, menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, true, false);
    const CMyItemData* record = reg.item(readItem(popup, 0).data);
    REQUIRE(record);
    CHECK(record->sMenuText.size() >= 199);
    CHECK(record->sMenuText.size() <= 200);
    CHECK(longCaption.rfind(record->sMenuText, 0) == 0);
    ConvertMenu(reg, menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, false, false);
    ::DestroyMenu(popup);

    HMENU sys = ::GetSystemMenu(hwnd, FALSE);
    REQUIRE(sys);
    int count = reg.items.Count();
    int heads = CoolMenuWindow(hwnd)->CountMenuHeads();
    ::SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sys), MAKELPARAM(0, TRUE));
    REQUIRE(::GetMenuItemCount(sys) > 0);
    for (int i = 0; i < ::GetMenuItemCount(sys); ++i) {
        ItemRead item = readItem(sys, i);
        CHECK((item.type & MFT_OWNERDRAW) == 0);
        CHECK(item.data == 0);
    }
    CHECK(reg.items.Count() == count);
    CHECK(CoolMenuWindow(hwnd)->CountMenuHeads() == heads);
    CHECK(log.initPopups.size() == 1);  // the host saw it too
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("measure and draw requests for items that are not the engine's reach the window unchanged") {
    HostLog log;
    hostLog = &log;
    IconImages images;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, &images));
    HMENU popup = buildProgramPopup();
    win32::Win32Menu menus;
    ConvertMenu(*CoolMenuRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, true,
                false);
    ULONG_PTR ours = readItem(popup, 0).data;
    ULONG_PTR beyond = static_cast<ULONG_PTR>(CoolMenuRegistries()->items.Count()) + 1;

    struct Case {
        UINT ctlType;
        ULONG_PTR data;
    };
    for (Case c : {Case{ODT_MENU, 0}, Case{ODT_BUTTON, ours}, Case{ODT_MENU, beyond}}) {
        CAPTURE(c.ctlType);
        CAPTURE(c.data);
        MEASUREITEMSTRUCT mis{c.ctlType, 0, 1000, 5, 6, c.data};
        int measured = log.measureItems;
        CHECK(::SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) == kMeasureAnswer);
        CHECK(log.measureItems == measured + 1);
        CHECK(log.lastStruct == &mis);
        CHECK(mis.itemWidth == 77);
        CHECK(mis.itemHeight == 6);

        DRAWITEMSTRUCT dis{};
        dis.CtlType = c.ctlType;
        dis.itemData = c.data;
        int drawn = log.drawItems;
        CHECK(::SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) == kDrawAnswer);
        CHECK(log.drawItems == drawn + 1);
        CHECK(log.lastStruct == &dis);
    }

    // The engine's own items are answered by the engine and never reach it.
    MEASUREITEMSTRUCT heading{ODT_MENU, 0, 1000, 0, 0, ours};
    int measured = log.measureItems;
    CHECK(::SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&heading)) != 0);
    CHECK(log.measureItems == measured);
    CHECK(heading.itemWidth == 0);
    CHECK(static_cast<int>(heading.itemHeight) >= ::GetSystemMetrics(SM_CYMENU) / 2);
    MEASUREITEMSTRUCT exitItem{ODT_MENU, 0, 1020, 0, 0, readItem(popup, 20).data};
    CHECK(::SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&exitItem)) != 0);
    CHECK(static_cast<int>(exitItem.itemWidth) > 42 - ::GetSystemMetrics(SM_CXMENUCHECK));
    CHECK(static_cast<int>(exitItem.itemHeight) >= ::GetSystemMetrics(SM_CYMENU));
    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("a selected item of the engine is painted with the window's selection colour") {
    HostLog log;
    hostLog = &log;
    IconImages images;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, &images));
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    window->SelectColor = RGB(0, 0x80, 0x40);
    HMENU popup = buildProgramPopup();
    win32::Win32Menu menus;
    ConvertMenu(*CoolMenuRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, true,
                false);

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 200;
    bmi.bmiHeader.biHeight = -24;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    REQUIRE(dib);
    HGDIOBJ old = ::SelectObject(dc, dib);
    auto pixel = [&](int x, int y) { return static_cast<const std::uint32_t*>(bits)[y * 200 + x] & 0xFFFFFF; };

    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 1013;
    dis.itemAction = ODA_SELECT;
    dis.itemState = ODS_SELECTED;
    dis.hwndItem = reinterpret_cast<HWND>(popup);
    dis.hDC = dc;
    dis.rcItem = RECT{0, 0, 200, 24};
    dis.itemData = readItem(popup, 13).data;  // "Run Screen Saver", with an image
    CHECK(::SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
    ::GdiFlush();
    CHECK(log.drawItems == 0);
    const std::uint32_t bar = 0x008040;  // raw DIB order: red, green, blue from the top byte down
    CHECK(pixel(19, 0) == bar);
    CHECK(pixel(199, 23) == bar);
    CHECK(pixel(18, 0) != bar);

    // FullSelect off: no bar.
    window->FullSelect = false;
    CHECK(::SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
    ::GdiFlush();
    CHECK(pixel(199, 23) != bar);

    ::SelectObject(dc, old);
    ::DeleteObject(dib);
    ::DeleteDC(dc);
    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("attaching a window twice keeps the first attachment and does not loop") {
    HostLog log;
    hostLog = &log;
    HWND hwnd = makeHost();
    CHECK(AttachCoolMenu(nullptr, true, nullptr, nullptr));
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    WndCoolMenu* first = CoolMenuWindow(hwnd);
    CHECK(first->PrevProc == reinterpret_cast<std::intptr_t>(&hostProc));
    CHECK(first->SCMainMenu == -1);
    CHECK(first->SelectColor == ::GetSysColor(COLOR_HIGHLIGHT));
    CHECK_FALSE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    CHECK(CoolMenuWindow(hwnd) == first);
    CHECK(first->PrevProc == reinterpret_cast<std::intptr_t>(&hostProc));
    CHECK(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc));
    CHECK(::SendMessageW(hwnd, kProbe, 0, 0) == 0x55);
    CHECK(log.probes == 1);

    CHECK(CoolMenuComplexChecks(hwnd));
    CHECK_FALSE(CoolMenuComplexChecks(hwnd, false));
    CHECK_FALSE(CoolMenuComplexChecks(hwnd));
    CHECK_FALSE(first->ComplexChecks);
    HWND stranger = makeHost();
    CHECK_FALSE(CoolMenuComplexChecks(stranger));
    CHECK(CoolMenuComplexChecks(stranger, true));
    ::DestroyWindow(stranger);
    ::DestroyWindow(hwnd);
    CHECK(CoolMenuWindow(hwnd) == nullptr);
    hostLog = nullptr;
}

TEST_CASE("a submenu opened inside the popup becomes a second head, and the close restores both") {
    HostLog log;
    hostLog = &log;
    HelpCallBack help;
    std::vector<std::string> helpTexts;
    help.MenuHelp = [&](std::string text, std::string, bool) { helpTexts.push_back(text); };
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, &help, nullptr));
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    int recordsBefore = CoolMenuRegistries()->items.Count();

    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 201, L"#Inner");
    ::AppendMenuW(sub, MF_STRING, 202, L"-|help|Group");
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&More");
    ::AppendMenuW(popup, MF_STRING, 101, L"Run");

    int headsWhileOpen = -1;
    std::uintptr_t head0 = 0, head1 = 0;
    UINT subTypeWhileOpen = 0;
    std::string poped;
    log.onFirstIdle = [&](HWND owner, HWND menuWindow) {
        poped = window->MainPopedIndex();
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(menuWindow, WM_KEYDOWN, VK_RIGHT, 0);
        ::PostMessageW(owner, kProbe, 0, 0);
    };
    log.onProbe = [&](HWND owner) {
        headsWhileOpen = window->CountMenuHeads();
        head0 = window->GetMenuHead(0);
        head1 = window->GetMenuHead(1);
        subTypeWhileOpen = readItem(sub, 1).type;
        ::PostMessageW(owner, WM_CANCELMODE, 0, 0);
    };
    track(popup, hwnd);

    CHECK(poped == "-2");
    CHECK(log.probes == 1);
    CHECK(headsWhileOpen == 2);
    CHECK(head0 == handle(popup));
    CHECK(head1 == handle(sub));
    CHECK(subTypeWhileOpen == (MFT_OWNERDRAW | MFT_SEPARATOR));
    CHECK(log.initPopups == std::vector<HMENU>{popup, sub});
    // The window fills a popup before the engine converts it.
    CHECK(log.initFirstTypes == std::vector<UINT>{MFT_STRING, MFT_STRING});
    CHECK(log.measureItems == 0);  // every item was measured by the engine
    CHECK(window->MainPopedIndex() == "-1");
    CHECK(CoolMenuRegistries()->items.Count() == recordsBefore);
    CHECK(readItem(popup, 0).text == L"&More");
    CHECK(readItem(popup, 0).type == MFT_STRING);
    CHECK(readItem(sub, 0).text == L"#Inner");
    CHECK(readItem(sub, 1).text == L"-|help|Group");
    CHECK(readItem(sub, 1).type == MFT_STRING);
    CHECK(readItem(sub, 1).data == 0);
    REQUIRE_FALSE(helpTexts.empty());
    CHECK(helpTexts.back().empty());  // the close reports empty help

    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("a mnemonic typed in the open menu chooses the single matching item") {
    HostLog log;
    hostLog = &log;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, 301, L"&Open");
    ::AppendMenuW(popup, MF_STRING, 302, L"*&Close");
    ::AppendMenuW(popup, MF_STRING, 303, L"|Ends it|E&xit");
    // The cancel behind the key ends the menu when the key chose nothing.
    wchar_t key = L'x';
    log.onFirstIdle = [&](HWND owner, HWND menuWindow) {
        ::PostMessageW(menuWindow, WM_CHAR, key, 0);
        ::PostMessageW(owner, WM_CANCELMODE, 0, 0);
    };
    CHECK(track(popup, hwnd) == 303);

    log.idles = 0;
    key = L'C';
    CHECK(track(popup, hwnd) == 302);
    log.idles = 0;
    key = L'q';
    CHECK(track(popup, hwnd) == 0);
    CHECK(readItem(popup, 1).text == L"*&Close");
    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("the menu bar is converted at attachment and its frame follows the pointer") {
    HostLog log;
    hostLog = &log;
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 401, L"Open");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    ::AppendMenuW(bar, MF_STRING, 402, L"&Edit");
    HWND hwnd = makeHost(bar, true);
    int before = CoolMenuRegistries() ? CoolMenuRegistries()->items.Count() : 0;
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    ::DrawMenuBar(hwnd);
    ItemRead first = readItem(bar, 0);
    CHECK(first.type == MFT_OWNERDRAW);
    CHECK(first.data == static_cast<ULONG_PTR>(before + 1));
    const CMyItemData* record = CoolMenuRegistries()->item(first.data);
    REQUIRE(record);
    CHECK(record->bMainMenu);
    CHECK(record->iButton == -1);
    CHECK(record->sMenuText == "&File");
    CHECK(CoolMenuWindow(hwnd)->CountMenuHeads() == 0);

    RECT second;
    REQUIRE(::GetMenuItemRect(hwnd, bar, 1, &second));
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    LPARAM over = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ::UpdateWindow(hwnd);
    ::SendMessageW(hwnd, WM_NCHITTEST, 0, over);
    CHECK(window->MainPopedIndex() == "1");
    // The raised frame is drawn on the screen over the item's rectangle.
    HDC screen = ::GetDC(nullptr);
    CHECK(::GetPixel(screen, second.left, second.top) == ::GetSysColor(COLOR_3DHILIGHT));
    CHECK(::GetPixel(screen, second.right - 1, second.bottom - 1) == ::GetSysColor(COLOR_3DSHADOW));
    ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTMENU, WM_MOUSEMOVE));
    CHECK(window->MainPopedIndex() == "1");
    ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CHECK(window->MainPopedIndex() == "-1");
    CHECK(::GetPixel(screen, second.left, second.top) != ::GetSysColor(COLOR_3DHILIGHT));
    ::ReleaseDC(nullptr, screen);
    RECT client;
    ::GetClientRect(hwnd, &client);
    POINT inside{client.right / 2, client.bottom / 2};
    ::ClientToScreen(hwnd, &inside);
    ::SendMessageW(hwnd, WM_NCHITTEST, 0, over);
    ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y));
    CHECK(window->MainPopedIndex() == "-1");
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}

TEST_CASE("the window's fonts are made once and rebuilt on a new face; every popup item is the engine's") {
    HostLog log;
    hostLog = &log;
    HWND hwnd = makeHost();
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    HFONT first = GetMenuFont(hwnd, false);
    REQUIRE(first);
    CHECK(GetMenuFont(hwnd, false) == first);
    CHECK_FALSE(window->FontName().empty());  // taken from the window's font

    HFONT heading = GetMenuFontSep(hwnd);
    REQUIRE(heading);
    CHECK(GetMenuFontSep(hwnd) == heading);
    LOGFONTW lf{};
    REQUIRE(::GetObjectW(heading, sizeof lf, &lf));
    CHECK(lf.lfHeight == 11);
    CHECK(std::wstring(lf.lfFaceName) == L"Small Fonts");

    window->FontName("Arial");
    HFONT arial = GetMenuFont(hwnd, false);
    CHECK(arial != first);
    CHECK(::GetObjectType(first) == 0);  // the replaced font is gone
    REQUIRE(::GetObjectW(arial, sizeof lf, &lf));
    CHECK(std::wstring(lf.lfFaceName) == L"Arial");
    HDC screen = ::GetDC(nullptr);
    CHECK(lf.lfHeight == -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);

    // Every item of the program's popup is measured and drawn by the engine,
    // in every state, without reaching the window.
    HMENU popup = buildProgramPopup();
    win32::Win32Menu menus;
    ConvertMenu(*CoolMenuRegistries(), menus, reinterpret_cast<std::uintptr_t>(hwnd), handle(popup), 0, false, true,
                false);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, 200, 24);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int i = 0; i < 21; ++i) {
        CAPTURE(i);
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, 1000u + static_cast<UINT>(i), 0, 0, readItem(popup, i).data};
        CHECK(::SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) != 0);
        for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_GRAYED), UINT(ODS_CHECKED)}) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemID = 1000u + static_cast<UINT>(i);
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = state;
            dis.hwndItem = reinterpret_cast<HWND>(popup);
            dis.hDC = dc;
            dis.rcItem = RECT{0, 0, 200, 24};
            dis.itemData = mis.itemData;
            CHECK(::SendMessageW(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)) != 0);
        }
    }
    CHECK(log.measureItems == 0);
    CHECK(log.drawItems == 0);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DestroyMenu(popup);
    ::DestroyWindow(hwnd);
    hostLog = nullptr;
}
