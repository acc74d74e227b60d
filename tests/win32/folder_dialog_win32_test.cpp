#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "platform/win32/wide.h"
#include "shell/hub_dialog.h"
#include "shell/hub_window.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

using namespace lumivane;
using win32::dialog_id::kBrowseBase;
using win32::dialog_id::kClearBase;
using win32::dialog_id::kLabel1Base;
using win32::dialog_id::kText1Base;

namespace {

// The real hub window, shown as "Customize" shows it; the system around it
// is recorded.
struct Hub {
    fakes::FakeOs os;
    win32::HubWindow window{os.services};

    Hub() {
        REQUIRE(window.create(::GetModuleHandleW(nullptr)));
        window.form().Form_Load();
        window.setVisible(true);
        REQUIRE(::IsWindowVisible(window.hwnd()));
    }
    HWND hwnd() const { return window.hwnd(); }
    HWND item(int id) const { return ::GetDlgItem(window.hwnd(), id); }
    std::string text(int id) const { return win32::narrow(testing::textOf(item(id))); }

    // A key as the user presses it: into the focused control, through the
    // program's own loop filter.
    void press(WPARAM key) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
        ::PostMessageW(::GetFocus(), WM_KEYUP, key, 0xC0000001);
        MSG msg;
        while (window.hwnd() && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!::IsDialogMessageW(window.hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
};

void checkPlaced(HWND child, const folder_dialog::Rect& want) {
    REQUIRE(child);
    RECT r = testing::placeOf(child);
    CHECK(r.left == want.left);
    CHECK(r.top == want.top);
    CHECK(r.right - r.left == want.width);
    CHECK(r.bottom - r.top == want.height);
}

LOGFONTW fontOf(HWND child) {
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
    REQUIRE(font);
    REQUIRE(::GetObjectW(font, sizeof(lf), &lf) == sizeof(lf));
    return lf;
}

} // namespace

TEST_CASE("the shown dialog: no window buttons, controls where the layout puts them, in its fonts") {
    Hub hub;
    LONG_PTR style = ::GetWindowLongPtrW(hub.hwnd(), GWL_STYLE);
    CHECK((style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);

    HDC screen = ::GetDC(nullptr);
    auto layout = folder_dialog::LayoutFor(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    RECT client{};
    ::GetClientRect(hub.hwnd(), &client);
    CHECK(client.right == layout.clientWidth);
    CHECK(client.bottom == layout.clientHeight);
    checkPlaced(hub.item(win32::dialog_id::kFrame), layout.frame);
    for (int i = 0; i < kFolderSlotCount; ++i) {
        CAPTURE(i);
        size_t k = static_cast<size_t>(i);
        checkPlaced(hub.item(kLabel1Base + i), layout.label[k]);
        checkPlaced(hub.item(kText1Base + i), layout.text[k]);
        checkPlaced(hub.item(kBrowseBase + i), layout.browse[k]);
        checkPlaced(hub.item(kClearBase + i), layout.clear[k]);
    }
    checkPlaced(hub.item(IDOK), layout.ok);
    checkPlaced(hub.item(IDCANCEL), layout.cancel);

    LOGFONTW number = fontOf(hub.item(kLabel1Base + 9));
    LOGFONTW path = fontOf(hub.item(kText1Base));
    LOGFONTW button = fontOf(hub.item(kBrowseBase + 4));
    for (const LOGFONTW* lf : {&number, &path, &button}) CHECK(std::wstring(lf->lfFaceName) == L"Tahoma");
    CHECK(number.lfHeight == -layout.rowFontHeight);
    CHECK(number.lfWeight == FW_BOLD);
    CHECK(path.lfHeight == -layout.rowFontHeight);
    CHECK(path.lfWeight == FW_NORMAL);
    CHECK(button.lfHeight == -layout.formFontHeight);
    CHECK(fontOf(hub.item(win32::dialog_id::kFrame)).lfHeight == -layout.formFontHeight);
}

TEST_CASE("Enter on a focused row button presses that button; Enter in a path box presses OK and saves") {
    Hub hub;
    ::SetFocus(hub.item(kClearBase));
    hub.press(VK_RETURN);
    CHECK(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.text(kText1Base).empty());

    ::SetFocus(hub.item(kText1Base + 2));
    ::SetWindowTextW(hub.item(kText1Base + 2), L"D:\\Typed Here");
    hub.press(VK_RETURN);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.os.files.files[hub.window.form().SettingsPath] ==
          "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n\r\n\r\nD:\\Typed Here\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    CHECK(hub.window.form().mnuPopup.folder(2).caption == "1. Typed Here");
}

TEST_CASE("Customize while the dialog is shown keeps its place, focus and edits") {
    Hub hub;
    RECT before{};
    ::GetWindowRect(hub.hwnd(), &before);
    ::SetWindowTextW(hub.item(kText1Base + 1), L"unsaved");
    ::SetFocus(hub.item(kBrowseBase + 3));
    hub.window.setVisible(true);
    RECT after{};
    ::GetWindowRect(hub.hwnd(), &after);
    CHECK(::EqualRect(&before, &after));
    CHECK(::GetFocus() == hub.item(kBrowseBase + 3));
    CHECK(hub.text(kText1Base + 1) == "unsaved");
}
