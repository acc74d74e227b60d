#include "about/about_dialog.h"
#include "about/about_layout.h"
#include "fakes/about.h"
#include "fakes/recording.h"
#include "platform/win32/dpi.h"
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
    fakes::FakeRegistry registry{log};
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
    auto layout = about::layOutAbout(win32::aboutBoxDpi());
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

TEST_CASE("moved to a monitor of another resolution, the box lays out its design again there") {
    Rig rig;
    rig.open([&](HWND dialog) {
        RECT suggested{30, 20, 900, 700};
        ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        auto layout = about::layOutAbout(192);
        // The frame around the design's client area is the one the system draws at 192.
        RECT outer{}, wanted{0, 0, layout.clientWidth, layout.clientHeight};
        ::GetWindowRect(dialog, &outer);
        win32::adjustWindowRectForDpi(wanted, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)),
                                      static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)), 192);
        CHECK(outer.right - outer.left == wanted.right - wanted.left);
        CHECK(outer.bottom - outer.top == wanted.bottom - wanted.top);
        CHECK(outer.left == 30);
        CHECK(outer.top == 20);
        for (const auto& placed : layout.controls) {
            CAPTURE(placed.control->name);
            RECT r = testing::placeOf(::GetDlgItem(dialog, placed.control->id));
            CHECK(about::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top} == placed.pixels);
        }
        // The picture drawn for its larger control, and the text in its larger font.
        HICON icon = reinterpret_cast<HICON>(::SendDlgItemMessageW(dialog, id::kIcon, STM_GETICON, 0, 0));
        ICONINFO info{};
        REQUIRE(::GetIconInfo(icon, &info));
        win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        ::GetObjectW(colour.get(), sizeof bm, &bm);
        for (const auto& placed : layout.controls)
            if (placed.control->id == id::kIcon) CHECK(bm.bmWidth == placed.pixels.width);
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, id::kOk, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        CHECK(lf.lfHeight == layout.labelFontHeight);
        escape(dialog);
    });
}

TEST_CASE("the About box from the keyboard: Tab reaches both links after the buttons, Enter and Space follow a link") {
    Rig rig;
    // The link's pixels as shown, to see its focus frame come and go.
    auto pixels = [](HWND control) {
        ::UpdateWindow(control);
        RECT r{};
        ::GetClientRect(control, &r);
        win32::WindowDC dc(control);
        std::vector<COLORREF> out;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) out.push_back(::GetPixel(dc.get(), x, y));
        return out;
    };
    rig.open([&](HWND dialog) {
        HWND ok = ::GetDlgItem(dialog, id::kOk), sysInfo = ::GetDlgItem(dialog, id::kSystemInfo);
        HWND web = ::GetDlgItem(dialog, id::kWebLink), mail = ::GetDlgItem(dialog, id::kMailLink);
        CHECK(::GetNextDlgTabItem(dialog, sysInfo, FALSE) == web);
        CHECK(::GetNextDlgTabItem(dialog, web, FALSE) == mail);
        CHECK(::GetNextDlgTabItem(dialog, mail, FALSE) == ok);
        CHECK(::GetNextDlgTabItem(dialog, ok, TRUE) == mail);  // Shift+Tab from OK

        const auto unfocused = pixels(web);
        // Tab as the dialog manager does it, twice from OK; the keyboard is in use.
        ::SendMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        ::SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
        ::SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
        REQUIRE(::GetFocus() == web);
        const auto focused = pixels(web);
        REQUIRE(focused.size() == unfocused.size());
        CHECK(focused != unfocused);  // the focus frame shows
        // Enter goes to the link, not to the default OK; Space as well.
        ::PostMessageW(web, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageW(web, WM_KEYDOWN, VK_SPACE, 1);
        ::PostMessageW(web, WM_KEYDOWN, VK_TAB, 1);
        // Escape from wherever the focus is closes the box.
        ::PostMessageW(web, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    CHECK(rig.log.only({"start("}) == std::vector<std::string>{"start(explorer https://example.org/lumivane|2)",
                                                              "start(explorer https://example.org/lumivane|2)"});
}
