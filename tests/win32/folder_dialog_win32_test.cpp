#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "platform/win32/wide.h"
#include "shell/hub_dialog.h"
#include "shell/hub_window.h"
#include "support.h"

#include <doctest/doctest.h>
#include <algorithm>
#include <vector>
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
    CHECK(placed(win32::dialog_id::kShortcutLabel) == layout.shortcutLabel);
    CHECK(placed(win32::dialog_id::kShortcutBox) == layout.shortcutBox);
    CHECK(placed(win32::dialog_id::kShortcutSaid) == layout.shortcutSaid);
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
    CHECK(fontOf(win32::dialog_id::kShortcutBox) == font(layout.rowFontHeight, FW_NORMAL));
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

TEST_CASE("the shortcut-key box records what is pressed in it, Tab and Escape still work; a refused key is said "
          "beside it and Cancel keeps the key in force") {
    ShownHub hub;
    HWND box = hub.item(win32::dialog_id::kShortcutBox);
    CHECK(testing::textOf(box) == L"None");
    // A key pressed in the focused control with modifiers held, as the
    // thread's key state tells them, through the dialog filter.
    auto press = [&](std::vector<BYTE> held, WPARAM key) {
        BYTE state[256] = {};
        for (BYTE k : held) state[k] = 0x80;
        ::SetKeyboardState(state);
        const bool alt = std::find(held.begin(), held.end(), VK_MENU) != held.end();
        ::PostMessageW(::GetFocus(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? 0x20000001 : 1);
        ::PostMessageW(::GetFocus(), alt ? WM_SYSKEYUP : WM_KEYUP, key, alt ? 0xE0000001 : 0xC0000001);
        MSG msg;
        for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (!::IsDialogMessageW(hub.hwnd(), &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        BYTE none[256] = {};
        ::SetKeyboardState(none);
    };
    ::SetFocus(box);
    press({VK_CONTROL, VK_MENU}, 'L');
    CHECK(testing::textOf(box) == L"Ctrl+Alt+L");
    press({}, 'K');  // a letter alone would take it from every program
    press({VK_SHIFT}, 'K');
    CHECK(testing::textOf(box) == L"Ctrl+Alt+L");
    press({VK_LWIN, VK_SHIFT}, VK_F9);
    CHECK(testing::textOf(box) == L"Shift+Win+F9");
    press({}, VK_BACK);
    CHECK(testing::textOf(box) == L"None");
    press({}, VK_TAB);
    CHECK(::GetFocus() == hub.item(IDOK));
    CHECK(::IsWindowVisible(hub.hwnd()));

    // Windows refuses the key: the dialog stays, says so beside the box and
    // hands it the keyboard; nothing is stored.
    hub.os.hotKeys.heldElsewhere.insert("Ctrl+Alt+L");
    ::SetFocus(box);
    press({VK_CONTROL, VK_MENU}, 'L');
    ::SendMessageW(hub.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(hub.item(IDOK)));
    CHECK(::IsWindowVisible(hub.hwnd()));
    CHECK(testing::textOf(hub.item(win32::dialog_id::kShortcutSaid)) == L"Ctrl+Alt+L is in use by another program.");
    CHECK(::GetFocus() == box);
    CHECK_FALSE(hub.os.log.contains("regSet(MenuShortcut"));
    press({}, VK_ESCAPE);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.window.logic().shortcutKey() == ShortcutKey{});

    // Shown again, the box and the words beside it tell the key in force.
    hub.window.logic().onCustomize();
    CHECK(testing::textOf(box) == L"None");
    CHECK(testing::textOf(hub.item(win32::dialog_id::kShortcutSaid)).empty());
}
