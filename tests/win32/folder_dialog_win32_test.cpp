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
    Hub hub;
    CHECK((::GetWindowLongPtrW(hub.hwnd(), GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
    HDC screen = ::GetDC(nullptr);
    auto layout = folder_dialog::LayoutFor(::GetDeviceCaps(screen, LOGPIXELSY));
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
        CHECK(placed(kLabel1Base + row) == layout.label[i]);
        CHECK(placed(kText1Base + row) == layout.text[i]);
        CHECK(placed(kBrowseBase + row) == layout.browse[i]);
        CHECK(placed(kClearBase + row) == layout.clear[i]);
    }
    CHECK(placed(IDOK) == layout.ok);
    CHECK(placed(IDCANCEL) == layout.cancel);
    wchar_t first[8] = {};
    ::GetWindowTextW(hub.item(kText1Base), first, 8);
    CHECK(std::wstring(first) == L"C:\\");

    auto fontOf = [&](int id) {
        LOGFONTW lf{};
        REQUIRE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hub.item(id), WM_GETFONT, 0, 0)), sizeof(lf), &lf));
        return win32::narrow(lf.lfFaceName) + " " + std::to_string(lf.lfHeight) + " " + std::to_string(lf.lfWeight);
    };
    auto font = [](int height, int weight) { return "Tahoma " + std::to_string(-height) + " " + std::to_string(weight); };
    CHECK(fontOf(kLabel1Base + 9) == font(layout.rowFontHeight, FW_BOLD));
    CHECK(fontOf(kText1Base) == font(layout.rowFontHeight, FW_NORMAL));
    CHECK(fontOf(kBrowseBase + 4) == font(layout.formFontHeight, FW_NORMAL));
    CHECK(fontOf(win32::dialog_id::kFrame) == font(layout.formFontHeight, FW_NORMAL));
}
