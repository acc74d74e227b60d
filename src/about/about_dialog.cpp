#include "about/about_dialog.h"

#include "../../res/resource.h"
#include "platform/win32/dpi.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <shellapi.h>

#include <algorithm>

namespace lumivane::win32 {

namespace {
// The dialog is built in code from its twips, so its template holds no
// controls and no font. Templates must be DWORD aligned.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WCHAR title[9];
};

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

HWND createControl(HWND dialog, const about::PlacedControl& placed, HINSTANCE instance) {
    const about::DesignedControl& designed = *placed.control;
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (designed.kind) {
    case about::ControlKind::Button:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | (designed.id == about::control_id::kOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case about::ControlKind::Picture:
        style |= SS_ICON | SS_REALSIZECONTROL;
        break;
    case about::ControlKind::Label:
        // Addresses are shown as they are: an ampersand is no access key here.
        style |= SS_LEFT | SS_NOPREFIX;
        // The links come after the buttons in the tab order.
        if (designed.id == about::control_id::kWebLink || designed.id == about::control_id::kMailLink)
            style |= SS_NOTIFY | WS_TABSTOP;
        if (designed.id == about::control_id::kSecret) style &= ~WS_VISIBLE;
        break;
    }
    const about::Rect& r = placed.pixels;
    return ::CreateWindowExW(0, windowClass, widen(designed.text).c_str(), style, r.left, r.top, r.width, r.height, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(designed.id)), instance, nullptr);
}

bool isLink(int id) {
    return id == about::control_id::kWebLink || id == about::control_id::kMailLink;
}

// The dotted frame around a focused link's words, within the control.
void drawLinkFocus(HWND link) {
    WindowDC dc(link);
    if (!dc.get()) return;
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0)));
    wchar_t text[512] = {};
    ::GetWindowTextW(link, text, 512);
    RECT client{}, words{};
    ::GetClientRect(link, &client);
    ::DrawTextW(dc.get(), text, -1, &words, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    words.right = std::min(words.right, client.right);
    words.bottom = std::min(words.bottom, client.bottom);
    ::DrawFocusRect(dc.get(), &words);
}

// A link is a label the keyboard can reach, so it behaves as a push button
// does: Tab stops on it, Enter and Space follow it, and it shows the focus.
LRESULT CALLBACK linkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto label = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!label) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter goes to the link rather than to the default button.
        LRESULT code = ::CallWindowProcW(label, hwnd, msg, wParam, lParam);
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            ::SendMessageW(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), STN_CLICKED),
                           reinterpret_cast<LPARAM>(hwnd));
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        ::InvalidateRect(hwnd, nullptr, TRUE);
        break;
    case WM_PAINT: {
        LRESULT result = ::CallWindowProcW(label, hwnd, msg, wParam, lParam);
        // Shown once the keyboard is in use, as the system shows a button's.
        if (::GetFocus() == hwnd && !(::SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
            drawLinkFocus(hwnd);
        return result;
    }
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(label));
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::CallWindowProcW(label, hwnd, msg, wParam, lParam);
}

void makeKeyboardLink(HWND link) {
    LONG_PTR label = ::GetWindowLongPtrW(link, GWLP_WNDPROC);
    ::SetWindowLongPtrW(link, GWLP_USERDATA, label);
    ::SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&linkProc));
}

UniqueIcon loadProgramIcon(HINSTANCE instance, int size) {
    UniqueIcon icon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LUMIVANE), IMAGE_ICON, size, size, 0)));
    if (!icon) {
        // Without an icon of its own the program shows the system's.
        icon.reset(static_cast<HICON>(
            ::CopyImage(::LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0)));
    }
    return icon;
}

UniqueFont createFont(int height, int weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

void fillRect(HDC dc, const about::Rect& r, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    RECT rc{r.left, r.top, r.left + r.width, r.top + r.height};
    ::FillRect(dc, &rc, brush.get());
}

INT_PTR answer(HWND hwnd, LRESULT result) {
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
} // namespace

std::string systemProgramDirectory() {
    wchar_t buffer[MAX_PATH];
    BOOL wow64 = FALSE;
    if (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64) {
        UINT n = ::GetSystemWindowsDirectoryW(buffer, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return {};
        return narrow(std::wstring_view(buffer, n)) + "\\Sysnative";
    }
    UINT n = ::GetSystemDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return narrow(std::wstring_view(buffer, n));
}

namespace {
RECT workArea() {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
} // namespace

int aboutBoxDpi() {
    RECT work = workArea();
    return dpiAtPoint(POINT{work.left + (work.right - work.left) / 2, work.top + (work.bottom - work.top) / 2});
}

void drawRule(HDC dc, const about::AboutLayout& layout) {
    fillRect(dc, layout.greyLine, RGB(128, 128, 128));
    fillRect(dc, layout.whiteLine, RGB(255, 255, 255));
}

// What one opening of the box owns; it ends with the dialog.
struct AboutDialog::Opening {
    AboutDialog& box;
    int& aboutCount;
    about::AboutLayout layout;
    UniqueFont labelFont;
    UniqueFont secretFont;
    UniqueIcon icon;

    void initDialog(HWND hwnd);
    // Fonts, places, icon and size from the layout; the box centred on the
    // work area, or with its corner at `corner`.
    void applyLayout(HWND hwnd, const POINT* corner);
    void command(HWND hwnd, int id, int notification);
};

void AboutDialog::Opening::initDialog(HWND hwnd) {
    HINSTANCE instance = box.instance_;
    box.open_ = hwnd;
    for (const auto& placed : layout.controls) {
        HWND control = createControl(hwnd, placed, instance);
        if (isLink(placed.control->id)) makeKeyboardLink(control);
    }
    // The counter lives on the hub for the whole run.
    if (about::countOpening(aboutCount)) ::ShowWindow(::GetDlgItem(hwnd, about::control_id::kSecret), SW_SHOW);
    applyLayout(hwnd, nullptr);
    ::SetFocus(::GetDlgItem(hwnd, about::control_id::kOk));
}

void AboutDialog::Opening::applyLayout(HWND hwnd, const POINT* corner) {
    // The controls take the new fonts before the old ones go.
    UniqueFont newLabelFont = createFont(layout.labelFontHeight, FW_NORMAL);
    UniqueFont newSecretFont = createFont(layout.secretFontHeight, FW_BOLD);
    const about::Rect* iconRect = nullptr;
    for (const auto& placed : layout.controls) {
        HWND control = ::GetDlgItem(hwnd, placed.control->id);
        const about::Rect& r = placed.pixels;
        ::MoveWindow(control, r.left, r.top, r.width, r.height, FALSE);
        bool secret = placed.control->id == about::control_id::kSecret;
        ::SendMessageW(control, WM_SETFONT,
                       reinterpret_cast<WPARAM>(secret ? newSecretFont.get() : newLabelFont.get()), FALSE);
        if (placed.control->id == about::control_id::kIcon) iconRect = &placed.pixels;
    }
    labelFont = std::move(newLabelFont);
    secretFont = std::move(newSecretFont);
    // The picture drawn for the control's size (48 pixels at 150 %), not a small one stretched.
    UniqueIcon newIcon = loadProgramIcon(box.instance_, iconRect ? iconRect->width : ::GetSystemMetrics(SM_CXICON));
    if (newIcon) {
        ::SendDlgItemMessageW(hwnd, about::control_id::kIcon, STM_SETICON, reinterpret_cast<WPARAM>(newIcon.get()), 0);
        ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newIcon.get()));
        icon = std::move(newIcon);
    }

    // The client area is the design's; the frame is whatever the system adds.
    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    adjustWindowRectForDpi(frame, kDialogStyle, kDialogExStyle, layout.dpi);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT work = workArea();
    POINT at = corner ? *corner
                      : POINT{work.left + (work.right - work.left - width) / 2,
                              work.top + (work.bottom - work.top - height) / 2};
    ::SetWindowPos(hwnd, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

void AboutDialog::Opening::command(HWND hwnd, int id, int notification) {
    switch (id) {
    case about::control_id::kOk:
    case IDCANCEL:  // Escape and the close box press OK
        ::EndDialog(hwnd, IDOK);
        break;
    case about::control_id::kSystemInfo:
        if (notification == BN_CLICKED) about::startSysInfo(box.sysInfo_);
        break;
    case about::control_id::kWebLink:
        // A failed link is not reported: the page is a courtesy, not a function.
        if (notification == STN_CLICKED) box.links_.start(about::webLinkCommand(), SW_SHOWMINIMIZED);
        break;
    case about::control_id::kMailLink:
        if (notification == STN_CLICKED)
            ::ShellExecuteW(hwnd, L"open", widen(about::mailLinkTarget()).c_str(), L"", L"", SW_SHOWMAXIMIZED);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK AboutDialog::dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    auto* opening = reinterpret_cast<Opening*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!opening) return FALSE;
    try {
        switch (msg) {
        case WM_INITDIALOG:
            opening->initDialog(hwnd);
            return FALSE;  // focus is already on OK
        case WM_COMMAND:
            opening->command(hwnd, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DPICHANGED: {
            // Moved to a monitor of another resolution: the design laid out
            // again for it, where the system suggests.
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            opening->layout = about::layOutAbout(HIWORD(wParam));
            POINT corner{suggested.left, suggested.top};
            opening->applyLayout(hwnd, &corner);
            return answer(hwnd, 0);
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (isLink(id))
                ::SetTextColor(dc, RGB(0, 0, 255));
            else if (id == about::control_id::kThanks || id == about::control_id::kTitle)
                ::SetTextColor(dc, RGB(0, 0, 0));
            else
                ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (isLink(::GetDlgCtrlID(reinterpret_cast<HWND>(wParam))) && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return answer(hwnd, TRUE);
            }
            return FALSE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            drawRule(dc, opening->layout);
            ::EndPaint(hwnd, &ps);
            return answer(hwnd, 0);
        }
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind through the dialog manager's frames.
        return FALSE;
    }
}

void AboutDialog::show(int& aboutCount) {
    if (open_) {
        ::SetForegroundWindow(open_);
        return;
    }
    EmptyTemplate tmpl{};
    tmpl.dialog.style = kDialogStyle;
    tmpl.dialog.dwExtendedStyle = kDialogExStyle;
    tmpl.dialog.cx = 200;  // replaced by the laid-out size before the dialog shows
    tmpl.dialog.cy = 120;
    lstrcpynW(tmpl.title, L"Lumivane", 9);

    Opening opening{*this, aboutCount, about::layOutAbout(aboutBoxDpi()), {}, {}, {}};
    // No owner: the box stands on its own beside the hidden hub window.
    ::DialogBoxIndirectParamW(instance_, &tmpl.dialog, nullptr, &AboutDialog::dialogProc,
                              reinterpret_cast<LPARAM>(&opening));
    open_ = nullptr;
}

} // namespace lumivane::win32
