#include "actions/win32_cover_window.h"
#include "support.h"

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

// Marks the mouse moves a test posts. Under a live X server the window's
// arrival under the warped cursor yields real moves at unpredictable times;
// they would make the counting race, so every unmarked move becomes WM_NULL
// before it is dispatched.
constexpr WPARAM kTestMove = MK_XBUTTON2;

LRESULT CALLBACK dropRealMoves(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_MOUSEMOVE && !(msg->wParam & kTestMove))
        msg->message = WM_NULL;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Sees the power messages as the window system delivers them, and lets only
// the posted moves through.
struct Watch {
    HHOOK power = ::SetWindowsHookExW(WH_CALLWNDPROC, recordPower, nullptr, ::GetCurrentThreadId());
    HHOOK moves = ::SetWindowsHookExW(WH_GETMESSAGE, dropRealMoves, nullptr, ::GetCurrentThreadId());
    Watch() { g_power.clear(); }
    ~Watch() {
        ::UnhookWindowsHookEx(power);
        ::UnhookWindowsHookEx(moves);
    }
};

void postMove(HWND target) { ::PostMessageW(target, WM_MOUSEMOVE, kTestMove, MAKELPARAM(5, 5)); }

int coverWindowCount() {
    int count = 0;
    HWND w = nullptr;
    while ((w = ::FindWindowExW(nullptr, w, win32::kCoverClassName, nullptr)) != nullptr) ++count;
    return count;
}
using testing::pump;
} // namespace

TEST_CASE("mouse moves over the window and its button share one counter: the third closes") {
    Watch watch;
    win32::Win32CoverWindow cover(::GetModuleHandleW(nullptr));
    cover.show();
    pump();
    HWND w = cover.hwnd();
    HWND cancel = cover.cancelButton();
    REQUIRE(cover.logic().mouseMoves() == 0);
    postMove(cancel);
    postMove(w);
    pump();
    REQUIRE(::IsWindow(w));
    CHECK(cover.logic().mouseMoves() == 2);
    CHECK(g_power.size() == 1);
    postMove(cancel);
    pump();
    CHECK_FALSE(::IsWindow(w));
    REQUIRE(g_power.size() == 2);
    CHECK(g_power[1].state == -1);
}

TEST_CASE("each showing: label, focus on Cancel, power off; a key or button on either closes with one power-on") {
    const struct {
        const char* what;
        bool onButton;
        UINT msg;
        WPARAM wParam;
    } inputs[] = {
        {"a key on the focused button", true, WM_KEYDOWN, 'A'}, {"Alt on the button", true, WM_SYSKEYDOWN, VK_MENU},
        {"Cancel", true, BM_CLICK, 0},                            {"a key on the window", false, WM_KEYDOWN, VK_SPACE},
        {"left button", false, WM_LBUTTONDOWN, MK_LBUTTON},     {"right button", false, WM_RBUTTONDOWN, MK_RBUTTON},
        {"middle button", false, WM_MBUTTONDOWN, MK_MBUTTON},
    };
    Watch watch;
    win32::Win32CoverWindow cover(::GetModuleHandleW(nullptr));
    for (const auto& input : inputs) {
        CAPTURE(input.what);
        g_power.clear();
        cover.show();
        pump();
        HWND w = cover.hwnd();
        REQUIRE(::IsWindowVisible(w));
        CHECK(testing::textOf(::GetWindow(w, GW_CHILD)) == L"Turning Monitor Off");
        CHECK(testing::textOf(cover.cancelButton()) == L"Cancel");
        REQUIRE(::GetFocus() == cover.cancelButton());
        ::PostMessageW(input.onButton ? cover.cancelButton() : w, input.msg, input.wParam, MAKELPARAM(3, 3));
        pump();
        CHECK_FALSE(::IsWindow(w));
        CHECK(cover.hwnd() == nullptr);
        REQUIRE(g_power.size() == 2);
        CHECK(g_power[0].target == w);
        CHECK(g_power[0].state == 2);
        CHECK(g_power[1].target == w);
        CHECK(g_power[1].state == -1);
    }
}

TEST_CASE("one cover window at a time; closing it other than by input sends nothing") {
    Watch watch;
    {
        win32::Win32CoverWindow cover(::GetModuleHandleW(nullptr));
        cover.show();
        pump();
        HWND w = cover.hwnd();
        postMove(w);
        pump();
        REQUIRE(cover.logic().mouseMoves() == 1);
        cover.show();
        pump();
        CHECK(cover.hwnd() == w);
        CHECK(coverWindowCount() == 1);
        // Shown again: the display goes off again and counting restarts.
        CHECK(g_power.size() == 2);
        CHECK(g_power[1].state == 2);
        CHECK(cover.logic().mouseMoves() == 0);

        ::SendMessageW(w, WM_CLOSE, 0, 0);
        CHECK_FALSE(::IsWindow(w));
        CHECK(g_power.size() == 2);

        cover.show();
        pump();
        CHECK(coverWindowCount() == 1);
    }
    // The program ending with the window open does not wake the display either.
    CHECK(coverWindowCount() == 0);
    CHECK(g_power.size() == 3);
}

TEST_CASE("a key still held when the window shows: the display goes off at its release, and the window stays") {
    // Pumps until the condition holds, for at most two seconds.
    auto waitFor = [](auto condition) {
        const ULONGLONG deadline = ::GetTickCount64() + 2000;
        while (!condition() && ::GetTickCount64() < deadline) {
            pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return condition();
    };
    auto keyDown = [] { return (::GetAsyncKeyState(VK_F13) & 0x8000) != 0; };
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_F13;  // no character, no modifier the X server would put right
    REQUIRE(::SendInput(1, &key, sizeof(key)) == 1);
    // Its own key-down is gone before the window comes, as the menu's Enter is.
    REQUIRE(waitFor(keyDown));
    Watch watch;
    win32::Win32CoverWindow cover(::GetModuleHandleW(nullptr));
    cover.show();
    pump();
    HWND w = cover.hwnd();
    CHECK(g_power.empty());
    key.ki.dwFlags = KEYEVENTF_KEYUP;
    REQUIRE(::SendInput(1, &key, sizeof(key)) == 1);
    CHECK(waitFor([] { return !g_power.empty(); }));
    REQUIRE(g_power.size() == 1);
    CHECK(g_power[0].state == 2);
    CHECK(::IsWindow(w));
}
