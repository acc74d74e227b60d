#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "platform/win32/wide.h"
#include "shell/hub_dialog.h"
#include "shell/hub_window.h"

#include <doctest/doctest.h>
#include <windows.h>

using namespace lumivane;
using win32::dialog_id::kBrowseBase;
using win32::dialog_id::kClearBase;
using win32::dialog_id::kLabel1Base;
using win32::dialog_id::kText1Base;

namespace {

// The real hub window; the system around it is recorded.
struct Hub {
    fakes::FakeOs os;
    win32::HubWindow window{os.services};

    Hub() {
        REQUIRE(window.create(::GetModuleHandleW(nullptr)));
        window.form().Form_Load();
    }
    HWND hwnd() const { return window.hwnd(); }
    HWND item(int id) const { return ::GetDlgItem(window.hwnd(), id); }
    std::string text(int id) const {
        wchar_t buffer[512] = {};
        ::GetWindowTextW(item(id), buffer, 512);
        return win32::narrow(buffer);
    }
    std::string file() { return os.files.files[window.form().SettingsPath]; }

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

RECT clientRectOf(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void checkPlaced(HWND child, const folder_dialog::Rect& want) {
    REQUIRE(child);
    RECT r = clientRectOf(child);
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

int screenDpi() {
    HDC dc = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    return dpi;
}

std::wstring windowText(HWND hwnd) {
    wchar_t buffer[64] = {};
    ::GetWindowTextW(hwnd, buffer, 64);
    return buffer;
}

} // namespace

TEST_CASE("the dialog: no title, no window buttons, controls where the design puts them") {
    Hub hub;
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    // The controls come with the first showing, filled from the folder list.
    CHECK(::GetWindow(hub.hwnd(), GW_CHILD) == nullptr);
    CHECK(hub.window.slotText(0) == "C:\\");
    hub.window.setVisible(true);
    CHECK(hub.text(kText1Base) == "C:\\");
    CHECK(windowText(hub.hwnd()).empty());
    LONG_PTR style = ::GetWindowLongPtrW(hub.hwnd(), GWL_STYLE);
    CHECK((style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);

    auto layout = folder_dialog::LayoutFor(screenDpi());
    RECT client{};
    ::GetClientRect(hub.hwnd(), &client);
    CHECK(client.right == layout.clientWidth);
    CHECK(client.bottom == layout.clientHeight);

    checkPlaced(hub.item(win32::dialog_id::kFrame), layout.frame);
    CHECK(windowText(hub.item(win32::dialog_id::kFrame)) == L"Select Folders");
    for (int i = 0; i < kFolderSlotCount; ++i) {
        CAPTURE(i);
        size_t k = static_cast<size_t>(i);
        checkPlaced(hub.item(kLabel1Base + i), layout.label[k]);
        checkPlaced(hub.item(kText1Base + i), layout.text[k]);
        checkPlaced(hub.item(kBrowseBase + i), layout.browse[k]);
        checkPlaced(hub.item(kClearBase + i), layout.clear[k]);
        CHECK(windowText(hub.item(kLabel1Base + i)) == std::to_wstring(i + 1) + L".");
        CHECK(windowText(hub.item(kBrowseBase + i)) == L"Browse");
        CHECK(windowText(hub.item(kClearBase + i)) == L"Clear");
    }
    checkPlaced(hub.item(IDOK), layout.ok);
    checkPlaced(hub.item(IDCANCEL), layout.cancel);
    CHECK(windowText(hub.item(IDOK)) == L"OK");
    CHECK(windowText(hub.item(IDCANCEL)) == L"Cancel");
    CHECK((::SendMessageW(hub.item(IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0);
}

TEST_CASE("the dialog's fonts: Tahoma 9.75 pt for the rows, bold for the numbers, 8.25 pt elsewhere") {
    Hub hub;
    hub.window.setVisible(true);
    auto layout = folder_dialog::LayoutFor(screenDpi());
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
    CHECK(fontOf(hub.item(IDCANCEL)).lfHeight == -layout.formFontHeight);
}

TEST_CASE("Tab runs through each row left to right, then OK and Cancel, and round again") {
    Hub hub;
    std::vector<int> expected;
    for (int i = 0; i < kFolderSlotCount; ++i) {
        expected.push_back(kText1Base + i);
        expected.push_back(kBrowseBase + i);
        expected.push_back(kClearBase + i);
    }
    expected.push_back(IDOK);
    expected.push_back(IDCANCEL);
    // The focus starts in the first box, so the first Tab goes to its Browse.
    expected.erase(expected.begin());
    expected.push_back(kText1Base);

    hub.window.setVisible(true);
    REQUIRE(::GetFocus() == hub.item(kText1Base));
    std::vector<int> seen;
    for (size_t n = 0; n < expected.size(); ++n) {
        hub.press(VK_TAB);
        seen.push_back(::GetDlgCtrlID(::GetFocus()));
    }
    CHECK(seen == expected);
}

TEST_CASE("Enter in a path box presses OK: typed text is saved and the window hides") {
    Hub hub;
    hub.window.setVisible(true);
    REQUIRE(::IsWindowVisible(hub.hwnd()));
    ::SetFocus(hub.item(kText1Base + 2));
    ::SetWindowTextW(hub.item(kText1Base + 2), L"D:\\Typed Here");
    hub.press(VK_RETURN);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.file() ==
          "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\\r\n\r\nD:\\Typed Here\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    CHECK(hub.window.form().mnuPopup.folder(2).caption == "2. Typed Here");
}

TEST_CASE("Escape presses Cancel: the box shows the saved text again and the file is untouched") {
    Hub hub;
    std::string before = hub.file();
    hub.window.setVisible(true);
    ::SendMessageW(hub.item(kClearBase), BM_CLICK, 0, 0);
    CHECK(hub.text(kText1Base).empty());
    ::SetFocus(hub.item(kText1Base + 5));
    hub.press(VK_ESCAPE);
    CHECK_FALSE(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.text(kText1Base) == "C:\\");
    CHECK(hub.file() == before);
}

TEST_CASE("Enter on a focused row button presses that button, not OK") {
    Hub hub;
    hub.window.setVisible(true);
    ::SetFocus(hub.item(kClearBase));
    hub.press(VK_RETURN);
    CHECK(::IsWindowVisible(hub.hwnd()));
    CHECK(hub.text(kText1Base).empty());
}

TEST_CASE("Browse asks the picker with the dialog as owner; a cancelled picker keeps the row") {
    Hub hub;
    hub.window.setVisible(true);
    ::SendMessageW(hub.item(kBrowseBase), BM_CLICK, 0, 0);
    CHECK(hub.text(kText1Base) == "C:\\");
    hub.os.folderPicker.answer = "E:\\Chosen";
    ::SendMessageW(hub.item(kBrowseBase + 7), BM_CLICK, 0, 0);
    CHECK(hub.text(kText1Base + 7) == "E:\\Chosen");
    std::string owner = std::to_string(reinterpret_cast<std::uintptr_t>(hub.hwnd()));
    CHECK(hub.os.log.only({"browseForFolder"}) ==
          std::vector<std::string>{"browseForFolder(" + owner + ")", "browseForFolder(" + owner + ")"});
}

TEST_CASE("Customize while the dialog is shown keeps its place, focus and edits") {
    Hub hub;
    hub.window.setVisible(true);
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
