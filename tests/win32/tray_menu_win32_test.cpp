#include "fakes/recording.h"
#include "platform/win32/tray.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"
#include "shell/menu_icons.h"
#include "shell/mod_systray.h"
#include "shell/popup_lines.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

struct MenuLine {
    UINT type;
    UINT state;
    UINT id;
    std::string text;
};

std::vector<MenuLine> readMenu(HMENU menu) {
    std::vector<MenuLine> out;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        REQUIRE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        out.push_back({info.fType, info.fState, info.wID, win32::narrow(text)});
    }
    return out;
}

// A hidden window that owns the popup and steers its modal loop.
struct PopupOwner {
    static inline std::vector<MenuLine> seen;
    static inline std::vector<UINT> keysToSend;
    static inline bool cancel = false;
    static inline int idles = 0;

    HWND hwnd = nullptr;

    PopupOwner() {
        seen.clear();
        idles = 0;
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PopupOwner::proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LumivaneTrayTestOwner";
        ::RegisterClassW(&wc);
        hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    }
    ~PopupOwner() { ::DestroyWindow(hwnd); }

    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_INITMENUPOPUP) seen = readMenu(reinterpret_cast<HMENU>(wParam));
        if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && idles++ == 0) {
            HWND menuWindow = reinterpret_cast<HWND>(lParam);
            if (cancel) {
                ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
            } else {
                for (UINT key : keysToSend) {
                    ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
                    ::PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000000);
                }
            }
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};

std::vector<platform::PopupLine> linesForSlots2And7() {
    static fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    host.boxes[2] = "C:\\Program Files\\Common Files";
    host.boxes[7] = "D:\\Tom & Jerry";
    frmFolderBrowse form(host, os.services);
    form.InitMenu();
    form.mnuPopup.find("mnuRunAtStartUp")->caption = "Load at Startup";
    form.mnuPopup.find("mnuAbout")->enabled = false;
    return VisibleLines(form.mnuPopup);
}

} // namespace

TEST_CASE("the popup as a real menu: visible items in order, headings as text, a true separator") {
    win32::UniqueMenu menu = win32::BuildPopupMenu(linesForSlots2And7());
    REQUIRE(menu);
    auto items = readMenu(menu.get());
    std::vector<std::string> texts;
    for (const auto& item : items) texts.push_back(item.type & MFT_SEPARATOR ? "<separator>" : item.text);
    CHECK(texts == std::vector<std::string>{"- CD Drives", "- F o l d e r s ", "1. Common Files", "2. Tom && Jerry",
                                            "- L u m i v a n e", "Run Screen Saver", "Turn Monitor Off",
                                            "- O p t i o n s ", "Load at Startup", "Customize", "About",
                                            "<separator>", "Exit"});
    REQUIRE(items.size() == 13);
    CHECK(items[1].type == MFT_STRING);
    CHECK(items[1].id == menu_id::kSep2);
    CHECK(items[2].id == menu_id::kFolderBase + 2);
    CHECK(items[3].id == menu_id::kFolderBase + 7);
    CHECK(items[11].type == MFT_SEPARATOR);
    CHECK(items[12].id == menu_id::kExit);
    CHECK((items[10].state & MFS_GRAYED) != 0);
    CHECK((items[9].state & MFS_GRAYED) == 0);
    // The "&&" shows one ampersand and no mnemonic underline.
    CHECK(::GetMenuStringW(menu.get(), 3, nullptr, 0, MF_BYPOSITION) == 15);
}

TEST_CASE("the popup at the pointer returns the chosen id, and WM_NULL follows it") {
    PopupOwner owner;
    REQUIRE(owner.hwnd);
    win32::Win32Tray tray;
    auto lines = linesForSlots2And7();

    // Up from no selection wraps to the last item.
    PopupOwner::cancel = false;
    PopupOwner::keysToSend = {VK_UP, VK_RETURN};
    unsigned chosen = tray.popupAtPointer(owner.hwnd, lines);
    CHECK(chosen == menu_id::kExit);
    CHECK(PopupOwner::seen.size() == 13);  // the menu it showed was the whole model
    MSG msg;
    CHECK(::PeekMessageW(&msg, owner.hwnd, WM_NULL, WM_NULL, PM_REMOVE));

    PopupOwner::cancel = true;
    PopupOwner::idles = 0;
    CHECK(tray.popupAtPointer(owner.hwnd, lines) == 0);
}

TEST_CASE("the record handed to the shell is the header's first-version record") {
    int picture = 0;
    auto record = modSystray::FillIconData(reinterpret_cast<void*>(0x1234), 1, 7, modSystray::kTrayCallbackMessage,
                                           &picture, "Lumivane");
    NOTIFYICONDATAW data = win32::ToNotifyIconData(record);
    CHECK(data.cbSize == NOTIFYICONDATAW_V1_SIZE);
    CHECK(data.hWnd == reinterpret_cast<HWND>(0x1234));
    CHECK(data.uID == 1);
    CHECK(data.uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
    CHECK(data.uCallbackMessage == WM_APP + 1);
    CHECK(data.hIcon == reinterpret_cast<HICON>(&picture));
    CHECK(std::wstring(data.szTip) == L"Lumivane");
    CHECK(data.szTip[63] == L' ');
    // Nothing beyond the first version is set.
    CHECK(data.dwState == 0);
    CHECK(data.szInfo[0] == 0);
}

TEST_CASE("the shell accepts the icon and lets it be removed") {
    PopupOwner owner;
    win32::Win32Tray tray;
    HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    CHECK(modSystray::AddToTray(tray, "Lumivane", owner.hwnd, icon));
    // The same pair again is refused: the shell knows the icon.
    CHECK_FALSE(tray.add(modSystray::FillIconData(owner.hwnd, 1, 7, WM_APP + 1, icon, "Lumivane")));
    CHECK(tray.remove(modSystray::FillIconData(owner.hwnd, 1, 0, 0, nullptr, "")));
    CHECK_FALSE(tray.remove(modSystray::FillIconData(owner.hwnd, 1, 0, 0, nullptr, "")));
}

TEST_CASE("ilsMenu's nineteen pictures load from the resources at 16 by 16 and differ") {
    ImageList list;
    win32::MenuIcons icons;
    CHECK(icons.load(::GetModuleHandleW(nullptr), list) == 19);
    REQUIRE(list.count() == 19);
    CHECK(list.key(16) == "TURN");
    CHECK(list.iconOf("TURN") == list.icon(16));

    // Each picture drawn on white: 16 by 16, not blank, and no two alike.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::UniqueMemDC dc(::CreateCompatibleDC(nullptr));
    REQUIRE(bitmap);
    win32::SelectGuard select(dc.get(), bitmap.get());
    std::vector<std::vector<std::uint32_t>> drawn;
    for (int n = 1; n <= 19; ++n) {
        HICON icon = static_cast<HICON>(list.icon(n));
        REQUIRE_MESSAGE(icon, "image ", n);
        ICONINFO parts{};
        REQUIRE(::GetIconInfo(icon, &parts));
        BITMAP colour{};
        ::GetObjectW(parts.hbmColor, sizeof(colour), &colour);
        CHECK_MESSAGE(colour.bmWidth == 16, "image ", n);
        CHECK_MESSAGE(colour.bmHeight == 16, "image ", n);
        if (parts.hbmColor) ::DeleteObject(parts.hbmColor);
        if (parts.hbmMask) ::DeleteObject(parts.hbmMask);

        auto* pixels = static_cast<std::uint32_t*>(bits);
        std::fill(pixels, pixels + 256, 0x00FFFFFFu);
        ::DrawIconEx(dc.get(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        ::GdiFlush();
        std::vector<std::uint32_t> picture(pixels, pixels + 256);
        int painted = 0;
        for (auto p : picture) painted += (p & 0x00FFFFFFu) != 0x00FFFFFFu;
        CHECK_MESSAGE(painted > 40, "image ", n, " is nearly blank");
        for (size_t k = 0; k < drawn.size(); ++k) CHECK_MESSAGE(drawn[k] != picture, "images ", k + 1, " and ", n);
        drawn.push_back(std::move(picture));
    }
}
