// The hub window as the customize dialog: its controls, their layout and the
// keyboard behaviour of a dialog box, and the folders dropped on it.
#include "folders/folder_dialog_layout.h"
#include "platform/win32/com.h"
#include "platform/win32/dpi.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "shell/hub_window.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace lumivane::win32 {

namespace {

// What a drag from another process carries its data in (WM_COPYGLOBALDATA).
constexpr UINT kCopyGlobalData = 0x0049;

UniqueFont tahoma(int pixelHeight, bool bold) {
    return UniqueFont(::CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
}

void place(HWND control, const folder_dialog::Rect& r) {
    ::MoveWindow(control, r.left, r.top, r.width, r.height, FALSE);
}

void setFont(HWND control, const UniqueFont& font) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
}

using SHAutoCompleteFn = HRESULT(WINAPI*)(HWND edit, DWORD flags);

// The shell's completion of folder paths as they are typed. It lives in COM,
// so the thread's apartment is entered here, with the dialog's first showing,
// rather than at start-up.
void completeFolderPaths(const std::array<HWND, kFolderSlotCount>& boxes) {
    if (!enterComApartment()) return;
    auto complete = systemFunction<SHAutoCompleteFn>(loadSystemLibrary(L"shlwapi.dll"), "SHAutoComplete");
    // Without it the boxes still take typed paths.
    if (!complete) return;
    for (HWND box : boxes) complete(box, SHACF_FILESYS_DIRS);
}

inline void dragFinish(HDROP drop) { ::DragFinish(drop); }
using UniqueDrop = Unique<NullTraits<HDROP, dragFinish>>;

// The full paths of what was dropped, in the order the source gave them.
std::vector<std::string> droppedPaths(HDROP drop) {
    std::vector<std::string> paths(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
    for (UINT i = 0; i < paths.size(); ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths[i] = narrow(path);
    }
    return paths;
}

// The modifier keys held down now, as the shortcut key counts them.
unsigned heldModifiers() {
    auto down = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
    unsigned held = 0;
    if (down(VK_CONTROL)) held |= shortcut_key::kCtrl;
    if (down(VK_MENU)) held |= shortcut_key::kAlt;
    if (down(VK_SHIFT)) held |= shortcut_key::kShift;
    if (down(VK_LWIN) || down(VK_RWIN)) held |= shortcut_key::kWin;
    return held;
}

bool isPushButton(HWND control) {
    if (!control) return false;
    LRESULT code = ::SendMessageW(control, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

} // namespace

void HubWindow::createDialogControls() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
        return ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    DialogControls& d = dialog_;
    for (int i = 0; i < kFolderSlotCount; ++i) {
        size_t k = static_cast<size_t>(i);
        HWND edit = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, dialog_id::kPathBoxBase + i, WS_EX_CLIENTEDGE);
        // The program imposes no length limit on a path.
        ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        ::SetWindowTextW(edit, widen(slots_[k]).c_str());
        pathBoxes_[k] = edit;
        // From here on the box holds the slot.
        slots_[k].clear();
    }
    // A group box paints only its border and caption. Transparent, it leaves the
    // window's background under it to the window, which otherwise clips it away;
    // kept below the rows and clipped by them, it never paints over them.
    d.frame = child(L"BUTTON", L"Select Folders", BS_GROUPBOX | WS_CLIPSIBLINGS, dialog_id::kFrame,
                    WS_EX_TRANSPARENT);
    for (int i = 0; i < kFolderSlotCount; ++i) {
        size_t k = static_cast<size_t>(i);
        // Not std::to_wstring: MinGW's formats through the C library's wide
        // printf, which would be the only use of it in the exe.
        d.label[k] = child(L"STATIC", widen(std::to_string(i + 1) + ".").c_str(), SS_LEFT | SS_NOPREFIX,
                           dialog_id::kNumberBase + i);
        d.browse[k] = child(L"BUTTON", L"Browse", BS_PUSHBUTTON | WS_TABSTOP, dialog_id::kBrowseBase + i);
        d.clear[k] = child(L"BUTTON", L"Clear", BS_PUSHBUTTON | WS_TABSTOP, dialog_id::kClearBase + i);
    }
    d.shortcutLabel = child(L"STATIC", L"Shortcut key:", SS_LEFT | SS_NOPREFIX, dialog_id::kShortcutLabel);
    d.shortcutBox = child(L"EDIT", widen(shortcut_key::format(shortcutShown_)).c_str(), WS_TABSTOP | ES_READONLY,
                          dialog_id::kShortcutBox, WS_EX_CLIENTEDGE);
    d.shortcutSaid = child(L"STATIC", widen(shortcutSaid_).c_str(), SS_LEFT | SS_NOPREFIX, dialog_id::kShortcutSaid);
    // Subclassed directly, as the cover window's button is: the common
    // controls' helpers would load their library with every start.
    ::SetWindowLongPtrW(d.shortcutBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    d.editProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        d.shortcutBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HubWindow::shortcutBoxProc)));
    d.ok = child(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, dialog_id::kOK);
    d.cancel = child(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, dialog_id::kCancel);

    // Tab follows the order of the children: each row left to right, then the
    // shortcut key (a screen reader names the box by the label before it), OK and Cancel.
    std::vector<HWND> order;
    for (size_t k = 0; k < kFolderSlotCount; ++k) {
        order.push_back(d.label[k]);
        order.push_back(pathBoxes_[k]);
        order.push_back(d.browse[k]);
        order.push_back(d.clear[k]);
    }
    order.push_back(d.shortcutLabel);
    order.push_back(d.shortcutBox);
    order.push_back(d.shortcutSaid);
    order.push_back(d.ok);
    order.push_back(d.cancel);
    order.push_back(d.frame);
    for (HWND control : order)
        ::SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    layoutDialog(dpiForWindow(hwnd_));

    completeFolderPaths(pathBoxes_);
    // Files and folders dragged from Explorer, which may run at a lower
    // integrity level than an elevated copy of this program (WM_COPYDATA is
    // let through since the window was made).
    ::DragAcceptFiles(hwnd_, TRUE);
    for (UINT msg : {static_cast<UINT>(WM_DROPFILES), kCopyGlobalData})
        ::ChangeWindowMessageFilterEx(hwnd_, msg, MSGFLT_ALLOW, nullptr);
}

void HubWindow::layoutDialog(int dpi) {
    folder_dialog::Layout layout = folder_dialog::layoutFor(dpi);
    DialogControls& d = dialog_;
    d.dpi = dpi;
    d.formFont = tahoma(layout.formFontHeight, false);
    d.rowFont = tahoma(layout.rowFontHeight, false);
    d.numberFont = tahoma(layout.rowFontHeight, true);

    place(d.frame, layout.frame);
    setFont(d.frame, d.formFont);
    for (size_t k = 0; k < kFolderSlotCount; ++k) {
        place(d.label[k], layout.label[k]);
        setFont(d.label[k], d.numberFont);
        place(pathBoxes_[k], layout.text[k]);
        setFont(pathBoxes_[k], d.rowFont);
        place(d.browse[k], layout.browse[k]);
        setFont(d.browse[k], d.formFont);
        place(d.clear[k], layout.clear[k]);
        setFont(d.clear[k], d.formFont);
    }
    place(d.shortcutLabel, layout.shortcutLabel);
    setFont(d.shortcutLabel, d.formFont);
    place(d.shortcutBox, layout.shortcutBox);
    setFont(d.shortcutBox, d.rowFont);
    place(d.shortcutSaid, layout.shortcutSaid);
    setFont(d.shortcutSaid, d.formFont);
    place(d.ok, layout.ok);
    setFont(d.ok, d.formFont);
    place(d.cancel, layout.cancel);
    setFont(d.cancel, d.formFont);

    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    adjustWindowRectForDpi(frame, style, exStyle, dpi);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HubWindow::showDialog() {
    if (!::IsWindowVisible(hwnd_)) {
        if (!pathBoxes_[0]) createDialogControls();
        if (!dialog_.placed) {
            // Centred in the work area of the monitor the mouse is on: the user just used the tray there.
            // Laid out for that monitor first, so that it is centred at its size there.
            POINT cursor{};
            ::GetCursorPos(&cursor);
            if (int dpi = dpiAtPoint(cursor); dpi != dialog_.dpi) layoutDialog(dpi);
            MONITORINFO monitor{};
            monitor.cbSize = sizeof(monitor);
            ::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
            RECT window{};
            ::GetWindowRect(hwnd_, &window);
            const RECT& area = monitor.rcWork;
            int width = window.right - window.left;
            int height = window.bottom - window.top;
            ::SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                           area.top + (area.bottom - area.top - height) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            dialog_.placed = true;
        }
        dialog_.focus = pathBoxes_[0];
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(dialog_.focus);
        return;
    }
    // Already shown: only brought forward, with its focus and edits as they are.
    ::SetForegroundWindow(hwnd_);
}

void HubWindow::showShortcutKey(ShortcutKey shortcut) {
    shortcutShown_ = shortcut;
    // The window text is what a screen reader reads of the box.
    if (dialog_.shortcutBox) ::SetWindowTextW(dialog_.shortcutBox, widen(shortcut_key::format(shortcut)).c_str());
}

void HubWindow::sayBesideShortcutKey(const std::string& text) {
    shortcutSaid_ = text;
    if (!dialog_.shortcutSaid) return;
    ::SetWindowTextW(dialog_.shortcutSaid, widen(text).c_str());
    // A refused key: the box is where the user chooses another.
    if (!text.empty() && ::GetActiveWindow() == hwnd_) ::SetFocus(dialog_.shortcutBox);
}

LRESULT CALLBACK HubWindow::shortcutBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HubWindow*>(::GetWindowLongPtrW(box, GWLP_USERDATA));
    try {
        return self->onShortcutBoxMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the window system's frames.
        return 0;
    }
}

LRESULT HubWindow::onShortcutBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND box = dialog_.shortcutBox;
    switch (msg) {
    case WM_GETDLGCODE: {
        const LRESULT own = ::CallWindowProcW(dialog_.editProc, box, msg, wParam, lParam);
        // Every key is the box's but those that move through and leave the
        // dialog, Tab, Enter and Escape, while no Ctrl, Alt or Win is down.
        const auto* asked = reinterpret_cast<const MSG*>(lParam);
        if (asked && asked->message == WM_KEYDOWN &&
            (asked->wParam == VK_TAB || asked->wParam == VK_RETURN || asked->wParam == VK_ESCAPE) &&
            (heldModifiers() & ~shortcut_key::kShift) == 0)
            return own & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB);
        return own | DLGC_WANTALLKEYS;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (auto shown = shortcut_key::pressedInBox(heldModifiers(), static_cast<unsigned>(wParam)))
            showShortcutKey(*shown);
        return 0;
    // The keys are recorded, not typed, and Alt opens no menu from here.
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        return 0;
    default:
        return ::CallWindowProcW(dialog_.editProc, box, msg, wParam, lParam);
    }
}

void HubWindow::onDpiChanged(int dpi, const RECT& suggested) {
    // The tray's icon may have changed size with the taskbar's monitor.
    logic_.onDisplayChange();
    // Laid out already for this resolution (placed there just before it was
    // shown), or never shown: nothing to move.
    if (!pathBoxes_[0] || dpi == dialog_.dpi) return;
    layoutDialog(dpi);
    ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool HubWindow::handleDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED) return false;
        int id = LOWORD(wParam);
        if (id == dialog_id::kOK) {
            logic_.onOk();
        } else if (id == dialog_id::kCancel) {
            logic_.onCancel();
        } else if (id >= dialog_id::kBrowseBase && id < dialog_id::kBrowseBase + kFolderSlotCount) {
            int row = id - dialog_id::kBrowseBase;
            logic_.onBrowse(row);
            HWND browse = dialog_.browse[static_cast<size_t>(row)];
            // However the picker closed, the keyboard is back on the row's Browse.
            dialog_.focus = browse;
            if (::GetActiveWindow() == hwnd_) ::SetFocus(browse);
        } else if (id >= dialog_id::kClearBase && id < dialog_id::kClearBase + kFolderSlotCount) {
            logic_.onClear(id - dialog_id::kClearBase);
        } else {
            return false;
        }
        result = 0;
        return true;
    }
    case WM_DROPFILES: {
        UniqueDrop drop(reinterpret_cast<HDROP>(wParam));
        POINT at{};
        ::DragQueryPoint(drop.get(), &at);
        std::vector<std::string> paths = droppedPaths(drop.get());
        drop.reset();
        logic_.onDrop(folder_dialog::pathBoxAt(folder_dialog::layoutFor(dialog_.dpi), at.x, at.y), paths);
        result = 0;
        return true;
    }
    case WM_CTLCOLORSTATIC:
        // The box is read-only only to keep typing out: it looks like any box the user fills in.
        if (reinterpret_cast<HWND>(lParam) != dialog_.shortcutBox) return false;
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
        // A system brush: nothing of ours frees it.
        result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        return true;
    case DM_GETDEFID: {
        // As in a dialog box: Enter presses the push button that has the focus,
        // and OK from anywhere else.
        HWND focus = ::GetFocus();
        int id = (focus && ::IsChild(hwnd_, focus) && isPushButton(focus)) ? ::GetDlgCtrlID(focus) : dialog_id::kOK;
        result = MAKELRESULT(id, DC_HASDEFID);
        return true;
    }
    case WM_ACTIVATE:
        if (!::IsWindowVisible(hwnd_)) return false;
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus)) dialog_.focus = focus;
            return false;
        }
        // Back to the control the user left, rather than to the window itself.
        if (dialog_.focus && ::IsWindow(dialog_.focus)) {
            ::SetFocus(dialog_.focus);
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace lumivane::win32
