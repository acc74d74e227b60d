#include "coolmenu/win32/cool_menu.h"

#include "coolmenu/convert_menu.h"
#include "coolmenu/item_painter.h"
#include "coolmenu/menu_messages.h"
#include "coolmenu/win32/system_theme.h"
#include "coolmenu/win32/win32_menu.h"
#include "platform/win32/dpi.h"
#include "platform/win32/timing.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

namespace lumivane::coolmenu {

namespace {

// Created by the first attachment and kept for the run.
std::unique_ptr<Registries>& registriesSlot() {
    static std::unique_ptr<Registries> registries;
    return registries;
}

win32::Win32Menu& menus() {
    static win32::Win32Menu instance;
    return instance;
}

std::uintptr_t key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

void deleteFont(void* font) { ::DeleteObject(static_cast<HFONT>(font)); }

// The system's look, unless a test has put its own in place.
const ThemeSource*& themeSourceSlot() {
    static const ThemeSource* source = nullptr;
    return source;
}

const ThemeSource& themeSource() {
    static const SystemThemeSource system;
    const ThemeSource* chosen = themeSourceSlot();
    return chosen ? *chosen : system;
}

// The dark look's popup ground, behind and between the items: kept for the
// run once a dark popup has needed it.
HBRUSH darkMenuGround() {
    static const lumivane::win32::UniqueBrush brush(::CreateSolidBrush(dark::kGround));
    return brush.get();
}

// The fonts are made at the resolution of the window's popups, in the
// window's geometry.
HFONT buildMenuFont(WindowState& window) {
    HWND hwnd = reinterpret_cast<HWND>(window.hwnd);
    const int dpi = window.geometry.dpi;
    LOGFONTW lf{};
    if (!window.fontName().empty()) {
        lf.lfWeight = FW_NORMAL;
        lf.lfHeight = -::MulDiv(window.fontSize(), dpi, 72);
    } else {
        // A plain window DC holds the bold system font, so take the font the
        // window says it uses, or else the system's menu font.
        lumivane::win32::WindowDC dc(hwnd);
        lumivane::win32::UniqueFont menuFont;
        HFONT own = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        // The window's own font is made for the window's resolution.
        int ownDpi = own ? lumivane::win32::dpiForWindow(hwnd) : dpi;
        if (!own) {
            NONCLIENTMETRICSW metrics{};
            if (lumivane::win32::nonClientMetricsForDpi(metrics, dpi))
                menuFont.reset(::CreateFontIndirectW(&metrics.lfMenuFont));
            own = menuFont.get();
        }
        lumivane::win32::SelectGuard select(dc.get(), own);
        wchar_t face[256] = {};
        ::GetTextFaceW(dc.get(), 255, face);
        window.assignFontName(lumivane::win32::narrow(face));
        if (window.foreColor == 0) window.foreColor = ::GetTextColor(dc.get());
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc.get(), &tm);
        lf.lfHeight = ownDpi == dpi ? tm.tmHeight : ::MulDiv(tm.tmHeight, dpi, ownDpi);
        lf.lfWeight = tm.tmWeight;
    }
    std::wstring face = lumivane::win32::widen(window.fontName());
    face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
    face.copy(lf.lfFaceName, face.size());
    window.setMenuFont(::CreateFontIndirectW(&lf));
    return static_cast<HFONT>(window.menuFont());
}

void rebuildMenuFont(WindowState& window) { buildMenuFont(window); }

// Whether a popup hangs from the window's menu bar (at any depth).
bool inMenuBar(HMENU menu, HMENU popup, int depth = 0) {
    if (!menu || depth > 8) return false;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub && (sub == popup || inMenuBar(sub, popup, depth + 1))) return true;
    }
    return false;
}

// The resolution a popup is drawn at: the window's monitor's for its menu
// bar and system menu, which open on the window; for any other popup, the
// monitor where the user clicked to open it. That is the pointer's place with
// the last message taken from the queue, which costs nothing to ask, where
// GetCursorPos costs half a millisecond under Wine.
int popupDpi(HWND hwnd, HMENU popup, bool systemMenu) {
    if (systemMenu || inMenuBar(::GetMenu(hwnd), popup)) return lumivane::win32::dpiForWindow(hwnd);
    DWORD at = ::GetMessagePos();
    return lumivane::win32::dpiAtPoint(POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

// Just before a popup opens: its resolution and the user's look, the fonts
// for that resolution, and the popup's own ground in the dark look.
void prepareLook(WindowState& window, HWND hwnd, HMENU popup, bool systemMenu) {
    int dpi = popupDpi(hwnd, popup, systemMenu);
    if (dpi != window.geometry.dpi) {
        window.geometry = MenuGeometry::forDpi(dpi);
        if (window.menuFont()) buildMenuFont(window);
        window.setHeadingFont(nullptr);  // made again at the new size when a heading is drawn
    }
    if (!window.themeKnown) {
        window.theme = chooseTheme(themeSource().read());
        window.themeKnown = true;
    }
    // Between and around the items the system paints the menu's own ground.
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    if (!::GetMenuInfo(popup, &info)) return;
    HBRUSH wanted = window.theme == Theme::dark ? darkMenuGround() : nullptr;
    // A ground the host gave the popup is left alone in the other looks.
    if (info.hbrBack == wanted || (!wanted && info.hbrBack != darkMenuGround())) return;
    info.hbrBack = wanted;
    ::SetMenuInfo(popup, &info);
}

// The window's menu bar for the raised frame, drawn straight on the screen.
class Win32MenuBar final : public MenuBarView {
public:
    explicit Win32MenuBar(HWND hwnd) : hwnd_(hwnd), bar_(::GetMenu(hwnd)) {}
    int itemAt(int x, int y) override {
        if (!bar_) return -1;
        return ::MenuItemFromPoint(hwnd_, bar_, POINT{x, y});
    }
    std::uint32_t itemType(int position) override {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_TYPE;
        if (!::GetMenuItemInfoW(bar_, static_cast<UINT>(position), TRUE, &info)) return 0;
        return info.fType;
    }
    void drawFrame(int position, bool raised) override {
        RECT rect;
        if (!::GetMenuItemRect(hwnd_, bar_, static_cast<UINT>(position), &rect)) return;
        HDC dc = ::GetDC(nullptr);
        ::DrawEdge(dc, &rect, BDR_RAISEDINNER, raised ? BF_RECT : BF_RECT | BF_FLAT);
        ::ReleaseDC(nullptr, dc);
    }

private:
    HWND hwnd_;
    HMENU bar_;
};

ItemModel modelOf(const ItemRecord& record) {
    ItemModel model;
    model.text = record.text;
    model.heading = (record.type & kTypeSeparator) != 0;
    model.asMark = record.asMark;
    model.asCheck = record.asCheck;
    model.mainMenu = record.mainMenu;
    model.trueSub = record.trueSub;
    model.image = record.image;
    return model;
}

// The record of an owner-drawn menu item of ours, or null.
const ItemRecord* engineItem(HWND hwnd, UINT ctlType, ULONG_PTR itemData, WindowState** window) {
    Registries* registries = engineRegistries();
    if (!registries || ctlType != ODT_MENU || itemData == 0) return nullptr;
    if (itemData > static_cast<ULONG_PTR>(registries->items.count())) return nullptr;
    *window = registries->window(key(hwnd));
    if (!*window) return nullptr;
    return registries->item(itemData);
}

} // namespace

Registries* engineRegistries() { return registriesSlot().get(); }

void setThemeSource(const ThemeSource* source) {
    themeSourceSlot() = source;
    if (Registries* registries = engineRegistries()) registries->forEachWindow([](WindowState& w) { w.themeKnown = false; });
}

WindowState* windowState(HWND hwnd) {
    Registries* registries = engineRegistries();
    return registries ? registries->window(key(hwnd)) : nullptr;
}

bool attach(HWND hwnd, bool subclass, const HelpCallback* help, const MenuImages* images) {
    if (!hwnd) return true;
    if (!::IsWindow(hwnd)) return false;
    auto& registries = registriesSlot();
    if (!registries) registries = std::make_unique<Registries>();
    // A second record would make the engine its own previous procedure.
    if (registries->window(key(hwnd))) return false;

    auto record = std::make_unique<WindowState>(deleteFont, rebuildMenuFont);
    record->hwnd = key(hwnd);
    record->selectColor = ::GetSysColor(COLOR_HIGHLIGHT);
    if (subclass) record->previousProc = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    record->images = images;
    record->help = help;
    record->watchedMenuBar = -1;
    record->geometry = MenuGeometry::forDpi(lumivane::win32::dpiForWindow(hwnd));
    // Recorded before the switch, so the first message finds its way on.
    registries->addWindow(std::move(record));
    if (subclass) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc));
    convertMenu(*registries, menus(), key(hwnd), win32::fromHmenu(::GetMenu(hwnd)), 0, false, true, true);
    return true;
}

bool complexChecks(HWND hwnd) {
    WindowState* window = windowState(hwnd);
    return window ? window->complexChecks : false;
}

bool setComplexChecks(HWND hwnd, bool value) {
    if (WindowState* window = windowState(hwnd)) window->complexChecks = value;
    return value;
}

HFONT menuFontOf(HWND hwnd, bool force) {
    WindowState* window = windowState(hwnd);
    if (!window) return nullptr;
    if (!window->menuFont() || force) return buildMenuFont(*window);
    return static_cast<HFONT>(window->menuFont());
}

HFONT headingFontOf(HWND hwnd) {
    WindowState* window = windowState(hwnd);
    if (!window) return nullptr;
    if (!window->headingFont()) {
        LOGFONTW lf{};
        lf.lfHeight = window->geometry.headingFontHeight;
        lf.lfWeight = FW_NORMAL;
        lstrcpynW(lf.lfFaceName, L"Small Fonts", LF_FACESIZE);
        HFONT font = ::CreateFontIndirectW(&lf);
        // "Small Fonts" is a bitmap face whose sizes end near 11 pixels; above
        // 96 dots per inch it would stay small while everything else grows, so
        // the menu's own face takes over at the scaled height.
        if (font && window->geometry.dpi > 96) {
            lumivane::win32::WindowDC dc(hwnd);
            TEXTMETRICW tm{};
            bool tooSmall = false;
            {
                lumivane::win32::SelectGuard select(dc.get(), font);
                tooSmall = ::GetTextMetricsW(dc.get(), &tm) && tm.tmHeight * 10 < lf.lfHeight * 9;
            }
            if (tooSmall) {
                std::wstring face = lumivane::win32::widen(window->fontName());
                if (face.empty()) face = L"Tahoma";
                lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
                if (HFONT scaled = ::CreateFontIndirectW(&lf)) {
                    ::DeleteObject(font);
                    font = scaled;
                }
            }
        }
        window->setHeadingFont(font);
    }
    return static_cast<HFONT>(window->headingFont());
}

bool onMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis) {
    timing::Scope timed(timing::Section::measure);
    if (!mis) return false;
    WindowState* window = nullptr;
    const ItemRecord* record = engineItem(hwnd, mis->CtlType, mis->itemData, &window);
    if (!record) return false;
    HFONT font = menuFontOf(hwnd, false);
    lumivane::win32::WindowDC dc(hwnd);
    int width = 0, height = 0;
    if (!measureMenuItem(dc.get(), font, modelOf(*record), width, height, window->geometry)) return false;
    mis->itemWidth = static_cast<UINT>(width);
    mis->itemHeight = static_cast<UINT>(height);
    return true;
}

bool onDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis) {
    timing::Scope timed(timing::Section::draw);
    if (!dis) return false;
    WindowState* window = nullptr;
    const ItemRecord* record = engineItem(hwnd, dis->CtlType, dis->itemData, &window);
    if (!record) return false;

    ItemModel model = modelOf(*record);
    ItemState state;
    state.selected = (dis->itemState & ODS_SELECTED) != 0;
    state.grayed = (dis->itemState & ODS_GRAYED) != 0;
    state.checked = (dis->itemState & ODS_CHECKED) != 0;
    state.actionSelect = dis->itemAction == ODA_SELECT;
    LookSettings look;
    look.fullSelect = window->fullSelect;
    look.rightToLeft = window->rightToLeft;
    look.complexChecks = window->complexChecks;
    look.selectColor = window->selectColor;
    look.foreColor = window->foreColor;
    look.theme = window->theme;

    PaintContext ctx;
    ctx.hwnd = hwnd;
    ctx.menuFont = menuFontOf(hwnd, false);
    // The heading font is made the first time a heading is drawn.
    if (model.heading) ctx.headingFont = headingFontOf(hwnd);
    ctx.images = window->images;
    ctx.geometry = window->geometry;
    MENUITEMINFOW marks{};
    marks.cbSize = sizeof marks;
    marks.fMask = MIIM_CHECKMARKS;
    if (::GetMenuItemInfoW(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE, &marks))
        ctx.checkBitmap = state.checked ? marks.hbmpChecked : marks.hbmpUnchecked;
    paintMenuItem(dis->hDC, dis->rcItem, model, state, look, ctx);
    return true;
}

void trackMenuBar(HWND hwnd, LPARAM point, int hitCode) {
    WindowState* window = windowState(hwnd);
    if (!window) return;
    Win32MenuBar bar(hwnd);
    trackMenuBar(*window, bar, GET_X_LPARAM(point), GET_Y_LPARAM(point), hitCode);
}

LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing that goes wrong in the engine may take the host down: a failure
    // answers the message with 0.
    try {
        Registries* registries = engineRegistries();
        WindowState* window = registries ? registries->window(key(hwnd)) : nullptr;
        WNDPROC previous = window ? reinterpret_cast<WNDPROC>(window->previousProc) : nullptr;
        auto passOn = [&] {
            return previous ? ::CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                            : ::DefWindowProcW(hwnd, msg, wParam, lParam);
        };
        if (!window) return passOn();

        switch (msg) {
        case WM_SETCURSOR:
            trackMenuBar(hwnd, 0, static_cast<short>(LOWORD(lParam)));
            return passOn();
        case WM_DRAWITEM:
            if (onDrawItem(hwnd, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            return passOn();
        case WM_MEASUREITEM:
            if (onMeasureItem(hwnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
            return passOn();
        case WM_SETTINGCHANGE:
            forgetMenuMetrics();
            if (isLookChange(msg, wParam, lParam)) window->themeKnown = false;
            return passOn();
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            window->themeKnown = false;
            return passOn();
        case WM_WINDOWPOSCHANGED:
            watchMenuBar(*registries, menus(), key(hwnd), win32::fromHmenu(::GetMenu(hwnd)));
            return passOn();
        case WM_NCHITTEST:
            trackMenuBar(hwnd, lParam, -1);
            return passOn();
        case WM_INITMENUPOPUP:
            // The window fills the popup first; the conversion reads what it made.
            passOn();
            {
                timing::Scope timed(timing::Section::convert);
                prepareLook(*window, hwnd, reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
                onInitMenuPopup(*registries, menus(), key(hwnd), static_cast<MenuHandle>(wParam), LOWORD(lParam),
                                HIWORD(lParam) != 0);
            }
            return 0;
        case WM_MENUSELECT:
            onMenuSelect(*registries, menus(), key(hwnd), LOWORD(wParam), HIWORD(wParam),
                         win32::fromHmenu(reinterpret_cast<HMENU>(lParam)));
            return passOn();
        case WM_NCDESTROY: {
            // The handle may come back for another window: a record left
            // behind would refuse its attachment and keep dead fonts.
            LRESULT result = passOn();
            registries->removeWindow(key(hwnd));
            return result;
        }
        case WM_MENUCHAR: {
            std::uint32_t answer = onMenuChar(*registries, menus(), LOWORD(wParam),
                                              win32::fromHmenu(reinterpret_cast<HMENU>(lParam)));
            if (answer != 0) return static_cast<LRESULT>(answer);
            return passOn();
        }
        default:
            return passOn();
        }
    } catch (...) {
        return 0;
    }
}

} // namespace lumivane::coolmenu
