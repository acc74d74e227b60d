#include "shell/hub_window.h"

#include "platform/win32/background.h"
#include "platform/win32/timing.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "shell/command_line.h"
#include "shell/tray_icon.h"

#include <dbt.h>
#include <windowsx.h>

namespace lumivane::win32 {

namespace {
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kRunHandedOver = WM_APP + 2;
static_assert(kBackgroundDone != kTrayCallback && kBackgroundDone != kRunHandedOver);
static_assert(kTrayCallback == tray_icon::kTrayCallbackMessage);
} // namespace

HubWindow::HubWindow(Services& services) : services_(services), logic_(*this, services) {}

HubWindow::~HubWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool HubWindow::create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &HubWindow::windowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // Shared: the system keeps the class icons, nothing of ours frees them.
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMIVANE), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMIVANE), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHubClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    menuIcons_.attach(instance, logic_.menuImages);
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    // Created hidden; the dialog is shown only while the user customizes.
    ::CreateWindowExW(WS_EX_DLGMODALFRAME, kHubClassName, L"", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 380, nullptr, nullptr, instance, this);
    // Run as administrator, the window would otherwise refuse the commands a
    // second copy started normally hands over, and the taskbar's broadcast
    // after Explorer restarts, which would leave it without its icon.
    if (hwnd_) {
        ::ChangeWindowMessageFilterEx(hwnd_, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
        if (taskbarCreated_) ::ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    }
    return hwnd_ != nullptr;
}

std::string HubWindow::slotText(int slot) const {
    HWND edit = pathBoxes_[static_cast<size_t>(slot)];
    if (!edit) return slots_[static_cast<size_t>(slot)];
    int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return narrow(text);
}

void HubWindow::setSlotText(int slot, const std::string& text) {
    size_t k = static_cast<size_t>(slot);
    std::wstring wide = widen(text);
    if (pathBoxes_[k]) {
        ::SetWindowTextW(pathBoxes_[k], wide.c_str());
        return;
    }
    // Kept as the path box will hold it: up to a NUL, and as UTF-16 carries it.
    if (size_t nul = wide.find(L'\0'); nul != std::wstring::npos) wide.resize(nul);
    slots_[k] = narrow(wide);
}

void HubWindow::setVisible(bool visible) {
    if (visible)
        showDialog();
    else
        ::ShowWindow(hwnd_, SW_HIDE);
}

bool HubWindow::isVisible() const {
    return ::IsWindowVisible(hwnd_) != FALSE;
}

void HubWindow::unload() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK HubWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    timing::countWindowMessage();
    HubWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<HubWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<HubWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->handleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the window system's frames.
        return 0;
    }
}

// The tray icon's messages, and the session's end and the window's going,
// which take the icon away with them.
bool HubWindow::handleTrayMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayCallback) {
        // Under version 4 of the notifications the low word of lParam holds the
        // notification, the high word the icon's number and wParam the point it
        // concerns; before, lParam is the mouse message itself, high word 0.
        std::optional<platform::ScreenPoint> anchor;
        if (HIWORD(lParam) == tray_icon::kIconId) anchor = platform::ScreenPoint{GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
        logic_.onTrayMessage(LOWORD(lParam), anchor);
        return true;
    }
    if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
        logic_.onTaskbarCreated();
        return true;
    }
    if (msg == WM_ENDSESSION) {
        logic_.onSessionEnd(wParam != FALSE, (lParam & ENDSESSION_CLOSEAPP) != 0);
        return true;
    }
    if (msg == WM_DESTROY) logic_.onWindowGone();
    return false;
}

LRESULT HubWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (handleTrayMessage(msg, wParam, lParam)) return 0;
    LRESULT result = 0;
    if (handleDialogMessage(msg, wParam, lParam, result)) return result;
    switch (msg) {
    case WM_QUERYENDSESSION:
        // Nothing unsaved is kept outside the settings file: the program may
        // always go, for the end of the session or for an installer.
        return TRUE;
    case WM_COPYDATA:
        return onCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kRunHandedOver:
        logic_.runHandedOver();
        return 0;
    case kBackgroundDone:
        Win32Background::deliver(lParam);
        return 0;
    case WM_HOTKEY: {
        // Windows takes the key in force before any window sees it, so the
        // box hears of it only this way.
        if (isVisible()) {
            if (dialog_.shortcutBox && ::GetFocus() == dialog_.shortcutBox) showShortcutKey(logic_.shortcutKey());
            return 0;
        }
        // While this window is foreground, the key's own Ctrl and Alt are
        // queued to it behind this message, and the menu would take an Alt
        // for the user's leaving it; the hidden window wants no key.
        MSG key;
        while (::PeekMessageW(&key, hwnd_, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) continue;
        logic_.onShortcutKey();
        return 0;
    }
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DEVICECHANGE:
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) logic_.onDevicesChanged();
        return TRUE;
    case WM_DISPLAYCHANGE:
        logic_.onDisplayChange();
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    case WM_CLOSE:
        logic_.onClose();
        ::DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY: {
        // Answers already here are dropped unrun; later ones find no window.
        MSG late;
        while (::PeekMessageW(&late, hwnd_, kBackgroundDone, kBackgroundDone, PM_REMOVE))
            Win32Background::drop(late.lParam);
        ::PostQuitMessage(0);
        return 0;
    }
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

LRESULT HubWindow::onCopyData(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOverTag || (data.cbData != 0 && !data.lpData)) return FALSE;
    // The sender waits for this answer: the command is copied now and run
    // later, so that no box of ours runs inside the sender's call.
    auto action = command_line::actionFromHandOver(std::string_view(static_cast<const char*>(data.lpData), data.cbData));
    if (!action) return FALSE;
    logic_.queueHandedOver(*action);
    ::PostMessageW(hwnd_, kRunHandedOver, 0, 0);
    return kHandOverAccepted;
}

} // namespace lumivane::win32
