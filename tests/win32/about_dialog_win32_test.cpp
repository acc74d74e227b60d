#include "about/about_dialog.h"
#include "about/about_layout.h"
#include "fakes/about.h"
#include "fakes/recording.h"
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
// message of that loop to a message filter hook, which drives the box.
struct Driver {
    std::function<void(HWND)> onDialog;
    bool ran = false;
    int calls = 0;
};
Driver* g_driver = nullptr;

LRESULT CALLBACK filterHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && g_driver && msg->hwnd) {
        HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
        wchar_t cls[16] = {};
        ::GetClassNameW(root, cls, 16);
        if (!g_driver->ran && std::wstring(cls) == L"#32770" && textOf(root) == L"Lumivane") {
            g_driver->ran = true;
            try {
                g_driver->onDialog(root);
            } catch (...) {
                ::EndDialog(root, IDABORT);
            }
        } else if (++g_driver->calls > 20000) {
            // A driver that failed to close the box must not hang the run.
            ::EndDialog(root, IDABORT);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void escape(HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, id::cmdOK), WM_KEYDOWN, VK_ESCAPE, 1); }

struct Rig {
    fakes::CallLog log;
    fakes::FakeRegistryReader registry{log};
    fakes::FakeFileSystem files{log};
    fakes::FakeProcessStarter processes{log};
    fakes::FakeMessageBoxes boxes{log};
    about::SysInfoServices sysInfo{registry, files, processes, boxes, ""};
    win32::AboutDialog box{::GetModuleHandleW(nullptr), sysInfo, processes};
    std::int16_t count = 0;

    void open(std::function<void(HWND)> onDialog) {
        Driver driver{std::move(onDialog)};
        g_driver = &driver;
        HHOOK hook = ::SetWindowsHookExW(WH_MSGFILTER, &filterHook, nullptr, ::GetCurrentThreadId());
        REQUIRE(hook);
        box.show(count);
        ::UnhookWindowsHookEx(hook);
        g_driver = nullptr;
        CHECK(driver.ran);
    }
};
} // namespace

TEST_CASE("the About box: unowned, controls at the layout's rectangles, blue links with a hand, OK first") {
    Rig rig;
    auto layout = about::LayOutAbout(win32::SystemDpi());
    rig.open([&](HWND dialog) {
        CHECK(::GetWindow(dialog, GW_OWNER) == nullptr);
        CHECK((::GetWindowLongPtrW(dialog, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
        RECT client;
        ::GetClientRect(dialog, &client);
        CHECK(client.right == layout.clientWidth);
        CHECK(client.bottom == layout.clientHeight);
        for (const auto& placed : layout.controls) {
            CAPTURE(placed.control->name);
            HWND control = ::GetDlgItem(dialog, placed.control->id);
            REQUIRE(control);
            RECT r = testing::placeOf(control);
            CHECK(about::Rect{r.left, r.top, r.right - r.left, r.bottom - r.top} == placed.pixels);
            if (placed.control->kind != about::ControlKind::Picture)
                CHECK(win32::narrow(textOf(control)) == placed.control->text);
        }
        CHECK(::GetNextDlgTabItem(dialog, nullptr, FALSE) == ::GetDlgItem(dialog, id::cmdOK));
        CHECK(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, id::cmdOK), FALSE) == ::GetDlgItem(dialog, id::cmdSysInfo));
        CHECK(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id::cmdOK);

        win32::UniqueMemDC dc(::CreateCompatibleDC(nullptr));
        auto textColour = [&](int control) {
            ::SetTextColor(dc.get(), RGB(1, 2, 3));
            ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, control)));
            return ::GetTextColor(dc.get());
        };
        CHECK(textColour(id::lblWebPage) == RGB(0, 0, 255));
        CHECK(textColour(id::Label2) == RGB(0, 0, 255));
        CHECK(textColour(id::lblTitle) == RGB(0, 0, 0));
        auto setCursorOver = [&](int control) {
            ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, control)),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            return ::GetCursor();
        };
        HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        CHECK(setCursorOver(id::Label3) != hand);
        CHECK(setCursorOver(id::Label2) == hand);
        escape(dialog);
    });
    CHECK(rig.count == 1);
}

TEST_CASE("System Info and the web link start their programs, and the box stays open") {
    Rig rig;
    rig.registry.setText(about::kSysInfoKey, about::kSysInfoValue, "C:\\windows\\system32\\msinfo32.exe");
    rig.processes.startable = {"C:\\windows\\system32\\msinfo32.exe"};
    bool openAfterClicks = false;
    rig.open([&](HWND dialog) {
        ::SendMessageW(::GetDlgItem(dialog, id::cmdSysInfo), BM_CLICK, 0, 0);
        HWND web = ::GetDlgItem(dialog, id::lblWebPage);
        ::SendMessageW(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        openAfterClicks = ::IsWindow(dialog) != FALSE;
        escape(dialog);
    });
    CHECK(openAfterClicks);
    auto starts = rig.log.only({"start("});
    REQUIRE(starts.size() >= 2);
    CHECK(starts[0] == "start(C:\\windows\\system32\\msinfo32.exe|1)");
    // However many clicks the static control reports, each one is the web link.
    for (size_t i = 1; i < starts.size(); ++i) CHECK(starts[i] == "start(explorer https://example.org/lumivane|2)");
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

TEST_CASE("the etched rule: a grey line with a white line just below, nothing else") {
    auto layout = about::LayOutAbout(96);
    const COLORREF ground = RGB(0x12, 0x34, 0x56);
    testing::Canvas canvas(layout.clientWidth, layout.clientHeight, ground);
    win32::DrawRule(canvas.dc(), layout);
    int y = layout.greyLine.top;
    int left = layout.greyLine.left;
    int right = left + layout.greyLine.width - 1;
    for (int x : {left, layout.clientWidth / 2, right}) {
        CHECK(canvas.at(x, y) == RGB(0x80, 0x80, 0x80));
        CHECK(canvas.at(x, y + 1) == RGB(0xFF, 0xFF, 0xFF));
        CHECK(canvas.at(x, y - 1) == ground);
        CHECK(canvas.at(x, y + 2) == ground);
    }
    CHECK(canvas.at(left - 1, y) == ground);
    CHECK(canvas.at(right + 1, y) == ground);
}
