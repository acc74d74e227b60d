#include "fakes/recording.h"
#include "platform/win32/tray.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"
#include "shell/menu_icons.h"
#include "shell/mod_systray.h"
#include "shell/popup_lines.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {

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

// Steers the popup's modal loop from its owner: keys, or a cancel when none.
std::vector<UINT> g_keys;
int g_shownItems = 0;

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP) g_shownItems = ::GetMenuItemCount(reinterpret_cast<HMENU>(wParam));
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) {
        for (UINT key : g_keys) {
            ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, key, 0);
            ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYUP, key, 0xC0000000);
        }
        if (g_keys.empty()) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
        g_keys = {};  // the menu goes idle again after the keys
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_CASE("the popup as a real menu: visible items in order, ids, a true separator, '&' shown as typed") {
    win32::UniqueMenu menu = win32::BuildPopupMenu(linesForSlots2And7());
    REQUIRE(menu);
    REQUIRE(::GetMenuItemCount(menu.get()) == 13);
    std::vector<std::string> texts;
    std::vector<UINT> ids, types, states;
    for (UINT i = 0; i < 13; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        REQUIRE(::GetMenuItemInfoW(menu.get(), i, TRUE, &info));
        texts.push_back(info.fType & MFT_SEPARATOR ? "<separator>" : win32::narrow(text));
        ids.push_back(info.wID);
        types.push_back(info.fType);
        states.push_back(info.fState & MFS_GRAYED);
    }
    CHECK(texts == std::vector<std::string>{"- CD Drives", "- F o l d e r s ", "1. Common Files", "2. Tom && Jerry",
                                            "- L u m i v a n e", "Run Screen Saver", "Turn Monitor Off",
                                            "- O p t i o n s ", "Load at Startup", "Customize", "About",
                                            "<separator>", "Exit"});
    CHECK(types[1] == MFT_STRING);
    CHECK(ids[1] == menu_id::kSep2);
    CHECK(ids[2] == menu_id::kFolderBase + 2);
    CHECK(ids[3] == menu_id::kFolderBase + 7);
    CHECK(types[11] == MFT_SEPARATOR);
    CHECK(ids[12] == menu_id::kExit);
    CHECK(states[10] != 0);
    CHECK(states[9] == 0);
    // The "&&" shows one ampersand and no mnemonic underline.
    CHECK(::GetMenuStringW(menu.get(), 3, nullptr, 0, MF_BYPOSITION) == 15);
}

TEST_CASE("the popup at the pointer returns the chosen id, and WM_NULL follows it; a cancelled one returns 0") {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumivaneTrayTestOwner";
    ::RegisterClassW(&wc);
    win32::UniqueWindow owner(::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                wc.hInstance, nullptr));
    REQUIRE(owner);
    win32::Win32Tray tray;
    auto lines = linesForSlots2And7();

    g_keys = {VK_UP, VK_RETURN};  // up from no selection wraps to the last item
    CHECK(tray.popupAtPointer(owner.get(), lines) == menu_id::kExit);
    CHECK(g_shownItems == 13);
    MSG msg;
    CHECK(::PeekMessageW(&msg, owner.get(), WM_NULL, WM_NULL, PM_REMOVE));
    CHECK(tray.popupAtPointer(owner.get(), lines) == 0);
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

TEST_CASE("ilsMenu's nineteen pictures load from the resources, 16 by 16, none blank, no two alike") {
    ImageList list;
    win32::MenuIcons icons;
    CHECK(icons.load(::GetModuleHandleW(nullptr), list) == 19);
    REQUIRE(list.count() == 19);
    CHECK(list.iconOf("TURN") == list.icon(16));
    testing::Canvas canvas(16, 16, RGB(255, 255, 255));
    std::vector<std::vector<COLORREF>> drawn;
    for (int n = 1; n <= 19; ++n) {
        CAPTURE(n);
        HICON icon = static_cast<HICON>(list.icon(n));
        REQUIRE(icon);
        ICONINFO parts{};
        REQUIRE(::GetIconInfo(icon, &parts));
        win32::UniqueBitmap colour(parts.hbmColor), mask(parts.hbmMask);
        BITMAP size{};
        ::GetObjectW(colour.get(), sizeof(size), &size);
        CHECK(size.bmWidth == 16);
        CHECK(size.bmHeight == 16);

        canvas.fill({0, 0, 16, 16}, RGB(255, 255, 255));
        ::DrawIconEx(canvas.dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        std::vector<COLORREF> picture;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) picture.push_back(canvas.at(x, y));
        CHECK(256 - canvas.count({0, 0, 16, 16}, RGB(255, 255, 255)) > 40);
        for (const auto& earlier : drawn) CHECK(earlier != picture);
        drawn.push_back(std::move(picture));
    }
}
