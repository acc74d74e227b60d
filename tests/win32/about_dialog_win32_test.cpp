#include "about/about_dialog.h"
#include "about/about_layout.h"
#include "fakes/about.h"
#include "fakes/recording.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <functional>

using namespace lumivane;
using testing::textOf;
namespace id = about::control_id;

namespace {
// The About box runs its own modal loop; the dialog manager shows every
// message of that loop to a message filter hook, which drives the box once.
std::function<void(HWND)> g_onDialog;
int g_calls = 0;

LRESULT CALLBACK filterHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = reinterpret_cast<MSG*>(lParam)->hwnd;
    HWND root = hwnd ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (code == MSGF_DIALOGBOX && root && g_onDialog && textOf(root) == L"Lumivane") {
        auto onDialog = std::move(g_onDialog);
        g_onDialog = nullptr;
        try {
            onDialog(root);
        } catch (...) {
            ::EndDialog(root, IDABORT);
        }
    } else if (code == MSGF_DIALOGBOX && root && ++g_calls > 20000) {
        ::EndDialog(root, IDABORT);  // a driver that failed to close the box must not hang the run
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void escape(HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, id::kOk), WM_KEYDOWN, VK_ESCAPE, 1); }

struct Rig {
    fakes::CallLog log;
    fakes::FakeRegistryReader registry{log};
    fakes::FakeFileSystem files{log};
    fakes::FakeProcessStarter processes{log};
    fakes::FakeMessageBoxes boxes{log};
    about::SysInfoServices sysInfo{registry, files, processes, boxes, ""};
    win32::AboutDialog box{::GetModuleHandleW(nullptr), sysInfo, processes};
    int count = 0;

    void open(std::function<void(HWND)> onDialog) {
        g_onDialog = std::move(onDialog);
        g_calls = 0;
        HHOOK hook = ::SetWindowsHookExW(WH_MSGFILTER, &filterHook, nullptr, ::GetCurrentThreadId());
        REQUIRE(hook);
        box.show(count);
        ::UnhookWindowsHookEx(hook);
        CHECK_FALSE(g_onDialog);  // the box came up and was driven
        g_onDialog = nullptr;
    }
};
} // namespace

TEST_CASE("the About box: unowned, controls at the layout's rectangles, OK first, blue links that open with a hand") {
    Rig rig;
    auto layout = about::layOutAbout(win32::systemDpi());
    rig.open([&](HWND dialog) {
        CHECK(::GetWindow(dialog, GW_OWNER) == nullptr);
        CHECK((::GetWindowLongPtrW(dialog, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
        for (const auto& placed : layout.controls) {
            CAPTURE(placed.control->name);
            HWND control = ::GetDlgItem(dialog, placed.control->id);
            REQUIRE(control);
            RECT r = testing::placeOf(control);
            CHECK(about::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top} == placed.pixels);
            if (placed.control->kind != about::ControlKind::Picture)
                CHECK(win32::narrow(textOf(control)) == placed.control->text);
        }
        CHECK(::GetNextDlgTabItem(dialog, nullptr, FALSE) == ::GetDlgItem(dialog, id::kOk));
        CHECK(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, id::kOk), FALSE) == ::GetDlgItem(dialog, id::kSystemInfo));
        CHECK(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id::kOk);

        win32::UniqueMemDC dc(::CreateCompatibleDC(nullptr));
        auto textColour = [&](int control) {
            ::SetTextColor(dc.get(), RGB(1, 2, 3));
            ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, control)));
            return ::GetTextColor(dc.get());
        };
        CHECK(textColour(id::kWebLink) == RGB(0, 0, 255));
        CHECK(textColour(id::kMailLink) == RGB(0, 0, 255));
        CHECK(textColour(id::kTitle) == RGB(0, 0, 0));
        auto setCursorOver = [&](int control) {
            ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, control)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return ::GetCursor();
        };
        HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        CHECK(setCursorOver(id::kMailLink) == hand);

        HWND web = ::GetDlgItem(dialog, id::kWebLink);
        ::SendMessageW(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        CHECK(::IsWindow(dialog));
        escape(dialog);
    });
    CHECK(rig.count == 1);
    // However many clicks the static control reports, each one is the web link.
    auto starts = rig.log.only({"start("});
    REQUIRE_FALSE(starts.empty());
    for (const auto& start : starts) CHECK(start == "start(explorer https://example.org/lumivane|2)");
}

TEST_CASE("About again while open brings the box forward uncounted; a quit ends the box and stays queued") {
    Rig rig;
    int dialogsDuring = 0;
    rig.open([&](HWND dialog) {
        rig.box.show(rig.count);  // returns at once
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", L"Lumivane"); w;
             w = ::FindWindowExW(nullptr, w, L"#32770", L"Lumivane"))
            if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) ++dialogsDuring;
        escape(dialog);
    });
    CHECK(dialogsDuring == 1);
    CHECK(rig.count == 1);

    rig.open([&](HWND) { ::PostQuitMessage(7); });
    MSG msg;
    CHECK(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(msg.wParam == 7);
    rig.open(escape);
    CHECK(rig.count == 3);
}
