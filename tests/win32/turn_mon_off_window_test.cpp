#include "actions/frm_turn_mon_off.h"
#include "actions/turn_mon_off_window.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <vector>

using namespace lumivane;

namespace {
struct PowerMessage {
    HWND target;
    LPARAM state;
};
std::vector<PowerMessage> g_power;

LRESULT CALLBACK recordPower(int code, WPARAM wParam, LPARAM lParam) {
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SYSCOMMAND && (sent->wParam & 0xFFF0) == SC_MONITORPOWER)
        g_power.push_back({sent->hwnd, sent->lParam});
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Watches every message sent to a window procedure of this thread, so the
// power messages are seen as the window system delivers them.
struct PowerRecorder {
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, recordPower, nullptr, ::GetCurrentThreadId());
    PowerRecorder() { g_power.clear(); }
    ~PowerRecorder() { ::UnhookWindowsHookEx(hook); }
};

// Marks the mouse moves a test posts. Under a live X server the window's
// arrival under the warped cursor yields real moves at unpredictable times;
// they would make the counting tests race, so MoveFilter turns every unmarked
// move into WM_NULL before it is dispatched.
constexpr WPARAM kTestMove = MK_XBUTTON2;

LRESULT CALLBACK dropRealMoves(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_MOUSEMOVE && !(msg->wParam & kTestMove))
        msg->message = WM_NULL;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct MoveFilter {
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, dropRealMoves, nullptr, ::GetCurrentThreadId());
    ~MoveFilter() { ::UnhookWindowsHookEx(hook); }
};

void postMove(HWND target, int x, int y) { ::PostMessageW(target, WM_MOUSEMOVE, kTestMove, MAKELPARAM(x, y)); }

void pump() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int coverWindowCount() {
    int count = 0;
    HWND w = nullptr;
    while ((w = ::FindWindowExW(nullptr, w, win32::kTurnMonOffClassName, nullptr)) != nullptr) ++count;
    return count;
}

std::wstring textOf(HWND w) {
    wchar_t buffer[128] = {};
    ::GetWindowTextW(w, buffer, 128);
    return buffer;
}

int screenDpi(int axis) {
    HDC dc = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(dc, axis);
    ::ReleaseDC(nullptr, dc);
    return dpi;
}
} // namespace

TEST_CASE("the cover window: no title bar, its size from twips, its label and button, cursor and power-off") {
    PowerRecorder power;
    win32::TurnMonOffWindow cover(::GetModuleHandleW(nullptr));
    cover.Show();
    HWND w = cover.hwnd();
    REQUIRE(w);
    pump();
    CHECK(::IsWindowVisible(w));
    LONG style = static_cast<LONG>(::GetWindowLongPtrW(w, GWL_STYLE));
    CHECK((style & WS_CAPTION) != WS_CAPTION);
    CHECK((style & WS_SYSMENU) == 0);
    CHECK((style & WS_BORDER) != 0);
    CHECK((::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0);

    RECT client{};
    ::GetClientRect(w, &client);
    int dpiX = screenDpi(LOGPIXELSX), dpiY = screenDpi(LOGPIXELSY);
    CHECK(client.right == TwipsToPixels(3555, dpiX));
    CHECK(client.bottom == TwipsToPixels(2070, dpiY));
    if (dpiX == 96) CHECK(client.right == 237);
    if (dpiY == 96) CHECK(client.bottom == 138);

    HWND label = ::GetWindow(w, GW_CHILD);
    REQUIRE(label);
    CHECK(textOf(label) == L"Turning Monitor Off");
    CHECK((::GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER);
    LOGFONTW font{};
    REQUIRE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(font), &font));
    CHECK(std::wstring(font.lfFaceName) == L"MS Sans Serif");
    CHECK(font.lfWeight == 700);
    CHECK(font.lfHeight == -PointsToPixels(135, dpiY));

    HWND cancel = cover.cancelButton();
    REQUIRE(cancel);
    CHECK(textOf(cancel) == L"Cancel");
    RECT button{};
    ::GetWindowRect(cancel, &button);
    ::MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&button), 2);
    CHECK(button.left == TwipsToPixels(2520, dpiX));
    CHECK(button.top == TwipsToPixels(1560, dpiY));
    CHECK(button.right - button.left == TwipsToPixels(855, dpiX));
    CHECK(::GetFocus() == cancel);

    // The cursor sits right of and below the window's centre.
    RECT outer{};
    ::GetWindowRect(w, &outer);
    double tx = 1440.0 / dpiX, ty = 1440.0 / dpiY;
    PixelPoint expected = CoverCursorPoint(
        {outer.left * tx, outer.top * ty, (outer.right - outer.left) * tx, (outer.bottom - outer.top) * ty}, tx, ty);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    CHECK(cursor.x == expected.x);
    CHECK(cursor.y == expected.y);

    // One power-off, through the window's own handle.
    REQUIRE(g_power.size() == 1);
    CHECK(g_power[0].target == w);
    CHECK(g_power[0].state == 2);
    MESSAGE("mouse moves counted on arrival: " << cover.form().mouseMoves());
}

TEST_CASE("a key on the focused button wakes the display once and closes; the next showing starts fresh") {
    PowerRecorder power;
    win32::TurnMonOffWindow cover(::GetModuleHandleW(nullptr));
    cover.Show();
    HWND first = cover.hwnd();
    pump();
    REQUIRE(::GetFocus() == cover.cancelButton());
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, 'A', 0);
    pump();
    CHECK_FALSE(::IsWindow(first));
    CHECK(cover.hwnd() == nullptr);
    CHECK(coverWindowCount() == 0);
    REQUIRE(g_power.size() == 2);
    CHECK(g_power[1].target == first);
    CHECK(g_power[1].state == -1);

    cover.Show();
    REQUIRE(cover.hwnd());
    CHECK(g_power.size() == 3);
    CHECK(g_power[2].state == 2);
    CHECK(cover.form().mouseMoves() == 0);
    ::PostMessageW(cover.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    CHECK(cover.hwnd() == nullptr);
    CHECK(g_power.size() == 4);
}

TEST_CASE("mouse moves over the window and its button share one counter: the third closes") {
    MoveFilter onlyPostedMoves;
    PowerRecorder power;
    win32::TurnMonOffWindow cover(::GetModuleHandleW(nullptr));
    cover.Show();
    pump();
    HWND w = cover.hwnd();
    HWND cancel = cover.cancelButton();
    REQUIRE(cover.form().mouseMoves() == 0);
    postMove(cancel, 5, 5);
    postMove(w, 10, 10);
    pump();
    REQUIRE(::IsWindow(w));
    CHECK(cover.form().mouseMoves() == 2);
    CHECK(g_power.size() == 1);
    postMove(cancel, 5, 5);
    pump();
    CHECK_FALSE(::IsWindow(w));
    REQUIRE(g_power.size() == 2);
    CHECK(g_power[1].state == -1);

    // And the other way round: the third move lands on the window.
    cover.Show();
    pump();
    w = cover.hwnd();
    cancel = cover.cancelButton();
    postMove(w, 10, 10);
    postMove(cancel, 5, 5);
    pump();
    REQUIRE(::IsWindow(w));
    postMove(w, 10, 10);
    pump();
    CHECK_FALSE(::IsWindow(w));
    CHECK(g_power.size() == 4);
}

TEST_CASE("any mouse button on the window, a key on the window and a click on Cancel each close with one power-on") {
    struct Input {
        const char* what;
        bool onButton;
        UINT msg;
        WPARAM wParam;
    };
    const Input inputs[] = {
        {"left button", false, WM_LBUTTONDOWN, MK_LBUTTON}, {"right button", false, WM_RBUTTONDOWN, MK_RBUTTON},
        {"middle button", false, WM_MBUTTONDOWN, MK_MBUTTON}, {"key on the window", false, WM_KEYDOWN, VK_SPACE},
        {"Alt on the button", true, WM_SYSKEYDOWN, VK_MENU},   {"Cancel", true, BM_CLICK, 0},
    };
    for (const auto& input : inputs) {
        CAPTURE(input.what);
        PowerRecorder power;
        win32::TurnMonOffWindow cover(::GetModuleHandleW(nullptr));
        cover.Show();
        pump();
        HWND w = cover.hwnd();
        ::PostMessageW(input.onButton ? cover.cancelButton() : w, input.msg, input.wParam, MAKELPARAM(3, 3));
        pump();
        CHECK_FALSE(::IsWindow(w));
        REQUIRE(g_power.size() == 2);
        CHECK(g_power[0].state == 2);
        CHECK(g_power[1].state == -1);
    }
}

TEST_CASE("one cover window at a time; closing it other than by input sends nothing") {
    MoveFilter onlyPostedMoves;
    PowerRecorder power;
    {
        win32::TurnMonOffWindow cover(::GetModuleHandleW(nullptr));
        cover.Show();
        pump();
        HWND w = cover.hwnd();
        postMove(w, 0, 0);
        pump();
        REQUIRE(cover.form().mouseMoves() == 1);
        cover.Show();
        pump();
        CHECK(cover.hwnd() == w);
        CHECK(coverWindowCount() == 1);
        // Shown again: the display goes off again and counting restarts.
        CHECK(g_power.size() == 2);
        CHECK(g_power[1].state == 2);
        CHECK(cover.form().mouseMoves() == 0);

        ::SendMessageW(w, WM_CLOSE, 0, 0);
        CHECK_FALSE(::IsWindow(w));
        CHECK(g_power.size() == 2);

        cover.Show();
        pump();
        CHECK(coverWindowCount() == 1);
    }
    // The program ending with the window open does not wake the display either.
    CHECK(coverWindowCount() == 0);
    CHECK(g_power.size() == 3);
}
