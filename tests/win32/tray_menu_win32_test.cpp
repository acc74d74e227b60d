#include "fakes/recording.h"
#include "platform/win32/tray.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"
#include "shell/menu_icons.h"
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

// Steers the popup's modal loop from its owner: the keys, or a cancel without.
std::vector<UINT> g_keys;
int g_shownItems = 0;

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP) g_shownItems = ::GetMenuItemCount(reinterpret_cast<HMENU>(wParam));
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) {
        for (UINT key : g_keys) ::PostMessageW(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, key, 0);
        if (g_keys.empty()) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
        g_keys.clear();
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_CASE("the popup as a real menu: visible items in order, their ids and state, '&' shown as typed") {
    win32::UniqueMenu menu = win32::BuildPopupMenu(linesForSlots2And7());
    REQUIRE(::GetMenuItemCount(menu.get()) == 13);
    std::vector<std::string> items;
    for (UINT i = 0; i < 13; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        REQUIRE(::GetMenuItemInfoW(menu.get(), i, TRUE, &info));
        std::string id = info.wID == menu_id::kExit ? "exit" : std::to_string(info.wID - menu_id::kFolderBase);
        items.push_back(info.fType == MFT_SEPARATOR ? "<separator>"
                        : win32::narrow(text) + ((info.fState & MFS_GRAYED) ? " (grayed)" : "") +
                              (i == 2 || i == 3 || i == 12 ? " #" + id : ""));
    }
    CHECK(items == std::vector<std::string>{"- CD Drives", "- F o l d e r s ", "1. Common Files #2",
                                            "2. Tom && Jerry #7", "- L u m i v a n e", "Run Screen Saver",
                                            "Turn Monitor Off", "- O p t i o n s ", "Load at Startup", "Customize",
                                            "About (grayed)", "<separator>", "Exit #exit"});
    // The "&&" shows one ampersand and no mnemonic underline.
    CHECK(::GetMenuStringW(menu.get(), 3, nullptr, 0, MF_BYPOSITION) == 15);
}

TEST_CASE("the popup at the pointer returns the chosen id, and WM_NULL follows it; a cancelled one returns 0") {
    win32::UniqueWindow owner(testing::makeWindow(L"LumivaneTrayTestOwner", ownerProc));
    win32::Win32Tray tray;
    auto lines = linesForSlots2And7();
    g_keys = {VK_UP, VK_RETURN};  // up from no selection wraps to the last item
    CHECK(tray.popupAtPointer(owner.get(), lines) == menu_id::kExit);
    CHECK(g_shownItems == 13);
    MSG msg;
    CHECK(::PeekMessageW(&msg, owner.get(), WM_NULL, WM_NULL, PM_REMOVE));
    CHECK(tray.popupAtPointer(owner.get(), lines) == 0);
}

TEST_CASE("ilsMenu's nineteen pictures load from the resources: none blank, no two alike") {
    ImageList list;
    win32::MenuIcons icons;
    REQUIRE(icons.load(::GetModuleHandleW(nullptr), list) == 19);
    testing::Canvas canvas(16 * 19, 16, RGB(255, 255, 255));
    for (int n = 1; n <= 19; ++n) ::DrawIconEx(canvas.dc(), 16 * (n - 1), 0, static_cast<HICON>(list.icon(n)), 16, 16, 0, nullptr, DI_NORMAL);
    std::vector<std::vector<COLORREF>> drawn(19);
    for (int n = 0; n < 19; ++n) {
        CAPTURE(n + 1);
        for (int p = 0; p < 256; ++p) drawn[static_cast<size_t>(n)].push_back(canvas.at(16 * n + p % 16, p / 16));
        CHECK(256 - canvas.count({16 * n, 0, 16 * n + 16, 16}, RGB(255, 255, 255)) > 40);
        for (int k = 0; k < n; ++k) CHECK(drawn[static_cast<size_t>(k)] != drawn[static_cast<size_t>(n)]);
    }
}
