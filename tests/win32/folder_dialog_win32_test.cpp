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
using win32::dialog_id::kNumberBase;
using win32::dialog_id::kPathBoxBase;

namespace {

// The real hub window, shown as "Customize" shows it; the system around it
// is recorded.
struct ShownHub {
    fakes::FakeOs os;
    win32::HubWindow window{os.services};

    ShownHub() {
        REQUIRE(window.create(::GetModuleHandleW(nullptr)));
        window.logic().start();
        // Start-up makes no controls: they come with the first showing,
        // filled from the folder list the window held until then.
        CHECK(::GetWindow(window.hwnd(), GW_CHILD) == nullptr);
        CHECK(window.slotText(0) == "C:\\");
        window.setVisible(true);
        REQUIRE(::IsWindowVisible(window.hwnd()));
    }
    HWND hwnd() const { return window.hwnd(); }
    HWND item(int id) const { return ::GetDlgItem(window.hwnd(), id); }
};

} // namespace

TEST_CASE("the shown dialog: no window buttons, controls where the layout puts them, in its fonts") {
    ShownHub hub;
    CHECK((::GetWindowLongPtrW(hub.hwnd(), GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
    HDC screen = ::GetDC(nullptr);
    auto layout = folder_dialog::layoutFor(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
    RECT client{};
    ::GetClientRect(hub.hwnd(), &client);
    CHECK(client.right == layout.clientWidth);
    CHECK(client.bottom == layout.clientHeight);
    auto placed = [&](int id) {
        RECT r = testing::placeOf(hub.item(id));
        return folder_dialog::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    CHECK(placed(win32::dialog_id::kFrame) == layout.frame);
    for (size_t i = 0; i < layout.text.size(); ++i) {
        CAPTURE(i);
        int row = static_cast<int>(i);
        CHECK(placed(kNumberBase + row) == layout.label[i]);
        CHECK(placed(kPathBoxBase + row) == layout.text[i]);
        CHECK(placed(kBrowseBase + row) == layout.browse[i]);
        CHECK(placed(kClearBase + row) == layout.clear[i]);
    }
    CHECK(placed(IDOK) == layout.ok);
    CHECK(placed(IDCANCEL) == layout.cancel);
    wchar_t first[8] = {};
    ::GetWindowTextW(hub.item(kPathBoxBase), first, 8);
    CHECK(std::wstring(first) == L"C:\\");

    auto fontOf = [&](int id) {
        LOGFONTW lf{};
        REQUIRE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hub.item(id), WM_GETFONT, 0, 0)), sizeof(lf), &lf));
        return win32::narrow(lf.lfFaceName) + " " + std::to_string(lf.lfHeight) + " " + std::to_string(lf.lfWeight);
    };
    auto font = [](int height, int weight) { return "Tahoma " + std::to_string(-height) + " " + std::to_string(weight); };
    CHECK(fontOf(kNumberBase + 9) == font(layout.rowFontHeight, FW_BOLD));
    CHECK(fontOf(kPathBoxBase) == font(layout.rowFontHeight, FW_NORMAL));
    CHECK(fontOf(kBrowseBase + 4) == font(layout.formFontHeight, FW_NORMAL));
    CHECK(fontOf(win32::dialog_id::kFrame) == font(layout.formFontHeight, FW_NORMAL));
}

TEST_CASE("Enter presses the focused row button, or OK from a path box; Escape presses Cancel") {
    ShownHub hub;
    // A key as the user presses it: into the focused control, through the
    // program's own dialog filter.
    auto press = [&](WPARAM key) {
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
        ::PostMessageW(::GetFocus(), WM_KEYUP, key, 0xC0000001);
        MSG msg;
        for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (!::IsDialogMessageW(hub.hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    };
    ::SetFocus(hub.item(kClearBase));
    press(VK_RETURN);
    CHECK(::IsWindowVisible(hub.hwnd()));
    CHECK(testing::textOf(hub.item(kPathBoxBase)).empty());

    ::SetFocus(hub.item(kPathBoxBase + 2));
    ::SetWindowTextW(hub.item(kPathBoxBase + 2), L"D:\\Typed");
    press(VK_RETURN);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.os.files.files[hub.window.logic().settingsPath] ==
          "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n\r\n\r\nD:\\Typed\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

    std::string saved = hub.os.files.files[hub.window.logic().settingsPath];
    hub.window.setVisible(true);
    ::SetWindowTextW(hub.item(kPathBoxBase), L"unsaved");
    ::SetFocus(hub.item(kBrowseBase + 5));
    press(VK_ESCAPE);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(testing::textOf(hub.item(kPathBoxBase)).empty());
    CHECK(hub.os.files.files[hub.window.logic().settingsPath] == saved);
}
