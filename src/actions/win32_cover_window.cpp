#include "actions/win32_cover_window.h"

#include "platform/twips.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"

namespace lumivane::win32 {

namespace layout = cover_layout;

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
constexpr int kLabelId = 100;
constexpr UINT_PTR kHeldCheckTimer = 1;
// The button's font: the form's default, 8 points.
constexpr int kButtonFontPointsX100 = 800;

HFONT makeFont(int pointsX100, int weight, int dpi) {
    return ::CreateFontW(-pointsToPixels(pointsX100, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                         widen(layout::kFontFace).c_str());
}
} // namespace

Win32CoverWindow::~Win32CoverWindow() {
    // Closing it this way is not user input: nothing is sent.
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Win32CoverWindow::show() {
    if (!hwnd_ && !create()) return;
    logic_.onShow();
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(cancel_);
}

bool Win32CoverWindow::create() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Win32CoverWindow::windowProc;
    wc.hInstance = instance_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kCoverClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    // Centred on the work area: the design position of a 640 by 480 screen
    // means nothing on today's screens. Laid out for that monitor's resolution.
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    dpiX_ = dpiY_ = dpiAtPoint(POINT{work.left + (work.right - work.left) / 2, work.top + (work.bottom - work.top) / 2});
    SIZE outer = outerSize();
    int width = outer.cx;
    int height = outer.cy;
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;

    ::CreateWindowExW(kExStyle, kCoverClassName, L"", kStyle, x, y, width, height, nullptr, nullptr, instance_,
                      this);
    return hwnd_ != nullptr;
}

SIZE Win32CoverWindow::outerSize() const {
    RECT outer{0, 0, twipsToPixels(layout::kClientWidth, dpiX_), twipsToPixels(layout::kClientHeight, dpiY_)};
    adjustWindowRectForDpi(outer, kStyle, kExStyle, dpiY_);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Win32CoverWindow::layOutChildren() {
    auto px = [](int twips, int dpi) { return twipsToPixels(twips, dpi); };
    // The old fonts stay until the controls have the new ones.
    UniqueFont labelFont(makeFont(layout::kFontPointsX100, layout::kFontWeight, dpiY_));
    UniqueFont buttonFont(makeFont(kButtonFontPointsX100, FW_NORMAL, dpiY_));
    ::MoveWindow(label_, px(layout::kLabelLeft, dpiX_), px(layout::kLabelTop, dpiY_), px(layout::kLabelWidth, dpiX_),
                 px(layout::kLabelHeight, dpiY_), TRUE);
    ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont.get()), TRUE);
    ::MoveWindow(cancel_, px(layout::kCancelLeft, dpiX_), px(layout::kCancelTop, dpiY_),
                 px(layout::kCancelWidth, dpiX_), px(layout::kCancelHeight, dpiY_), TRUE);
    ::SendMessageW(cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont.get()), TRUE);
    labelFont_ = std::move(labelFont);
    buttonFont_ = std::move(buttonFont);
}

void Win32CoverWindow::createChildren() {
    // A plain static passes mouse input through to the window, so moves and
    // clicks over the text count as the window's own.
    label_ = ::CreateWindowExW(0, L"STATIC", widen(layout::kLabelText).c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 0,
                               0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), instance_,
                               nullptr);
    cancel_ = ::CreateWindowExW(0, L"BUTTON", widen(layout::kCancelText).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelButtonId)), instance_, nullptr);
    layOutChildren();
    // Subclassed directly rather than through the common controls' helpers,
    // which would load that library with every start of the program.
    ::SetWindowLongPtrW(cancel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    buttonProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(cancel_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32CoverWindow::cancelButtonProc)));
}

TwipsRect Win32CoverWindow::outerRectTwips() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    return {r.left * tx, r.top * ty, (r.right - r.left) * tx, (r.bottom - r.top) * ty};
}

double Win32CoverWindow::twipsPerPixelX() const {
    return static_cast<double>(kTwipsPerInch) / dpiX_;
}

double Win32CoverWindow::twipsPerPixelY() const {
    return static_cast<double>(kTwipsPerInch) / dpiY_;
}

void Win32CoverWindow::setCursorPos(int x, int y) {
    ::SetCursorPos(x, y);
}

void Win32CoverWindow::sendMonitorPower(std::intptr_t lParam) {
    if (hwnd_) ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(lParam));
}

bool Win32CoverWindow::inputHeld() const {
    // The mouse buttons are virtual keys too.
    for (int key = 1; key < 256; ++key)
        if (::GetAsyncKeyState(key) & 0x8000) return true;
    return false;
}

void Win32CoverWindow::startHeldCheck(unsigned milliseconds) {
    if (hwnd_) ::SetTimer(hwnd_, kHeldCheckTimer, milliseconds, nullptr);
}

void Win32CoverWindow::closeWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Win32CoverWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Win32CoverWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Win32CoverWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Win32CoverWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->handleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the window system's frames.
        return 0;
    }
}

LRESULT Win32CoverWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (msg) {
    case WM_CREATE:
        createChildren();
        return 0;
    case WM_ACTIVATE:
        // The button is the only control that takes the focus, and keys reach
        // it there.
        if (LOWORD(wParam) != WA_INACTIVE && cancel_) ::SetFocus(cancel_);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCancelButtonId && HIWORD(wParam) == BN_CLICKED) logic_.onCancel();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        logic_.onKeyDown();
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        logic_.onInputReleased();
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_TIMER:
        // One-shot: the logic starts it again while something stays held.
        ::KillTimer(hwnd, wParam);
        if (wParam == kHeldCheckTimer) logic_.onHeldCheck();
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor of another resolution: the design laid out for it,
        // where the system suggests.
        dpiX_ = LOWORD(wParam);
        dpiY_ = HIWORD(wParam);
        layOutChildren();
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SIZE outer = outerSize();
        ::SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        logic_.onMouseDown();
        return 0;
    case WM_XBUTTONDOWN:
        logic_.onMouseDown();
        return TRUE;
    case WM_MOUSEMOVE:
        logic_.onMouseMove();
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        label_ = nullptr;
        cancel_ = nullptr;
        // The children that used the fonts are gone by now.
        labelFont_.reset();
        buttonFont_.reset();
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK Win32CoverWindow::cancelButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32CoverWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Read before anything runs: the button may be destroyed on the way.
    WNDPROC buttonProc = self->buttonProc_;
    try {
        switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            self->logic_.onCancelKeyDown();
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_LBUTTONUP:
            // The keys of the shortcut that ran the command go up here, where the focus is.
            self->logic_.onInputReleased();
            break;
        case WM_MOUSEMOVE:
            self->logic_.onCancelMouseMove();
            // The third move closes the window, and the button with it.
            if (!::IsWindow(hwnd)) return 0;
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc));
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
        }
    } catch (...) {
        return 0;
    }
    return ::CallWindowProcW(buttonProc, hwnd, msg, wParam, lParam);
}

} // namespace lumivane::win32
