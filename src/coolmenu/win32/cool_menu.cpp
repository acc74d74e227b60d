#include "coolmenu/win32/cool_menu.h"

#include "coolmenu/convert_menu.h"
#include "coolmenu/item_painter.h"
#include "coolmenu/menu_messages.h"
#include "coolmenu/win32/win32_menu.h"
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

HFONT buildMenuFont(WndCoolMenu& window) {
    HWND hwnd = reinterpret_cast<HWND>(window.hwnd);
    LOGFONTW lf{};
    if (!window.FontName().empty()) {
        lf.lfWeight = FW_NORMAL;
        HDC dc = ::GetWindowDC(hwnd);
        lf.lfHeight = -::MulDiv(window.FontSize(), ::GetDeviceCaps(dc, LOGPIXELSY), 72);
        ::ReleaseDC(hwnd, dc);
    } else {
        // A plain window DC holds the bold system font, so take the font the
        // window says it uses, or else the system's menu font.
        lumivane::win32::WindowDC dc(hwnd);
        lumivane::win32::UniqueFont menuFont;
        HFONT own = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        if (!own) {
            NONCLIENTMETRICSW metrics{};
            metrics.cbSize = sizeof metrics;
            if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
                menuFont.reset(::CreateFontIndirectW(&metrics.lfMenuFont));
            own = menuFont.get();
        }
        lumivane::win32::SelectGuard select(dc.get(), own);
        wchar_t face[256] = {};
        ::GetTextFaceW(dc.get(), 255, face);
        window.assignFontName(lumivane::win32::narrow(face));
        if (window.ForeColor == 0) window.ForeColor = ::GetTextColor(dc.get());
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc.get(), &tm);
        lf.lfHeight = tm.tmHeight;
        lf.lfWeight = tm.tmWeight;
    }
    std::wstring face = lumivane::win32::widen(window.FontName());
    face.resize(std::min<size_t>(face.size(), LF_FACESIZE - 1));
    face.copy(lf.lfFaceName, face.size());
    window.MenuFont(::CreateFontIndirectW(&lf));
    return static_cast<HFONT>(window.MenuFont());
}

void rebuildMenuFont(WndCoolMenu& window) { buildMenuFont(window); }

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

ItemModel modelOf(const CMyItemData& record) {
    ItemModel model;
    model.text = record.sMenuText;
    model.heading = (record.fType & kTypeSeparator) != 0;
    model.asMark = record.bAsMark;
    model.asCheck = record.bAsCheck;
    model.mainMenu = record.bMainMenu;
    model.trueSub = record.bTrueSub;
    model.image = record.iButton;
    return model;
}

// The record of an owner-drawn menu item of ours, or null.
const CMyItemData* engineItem(HWND hwnd, UINT ctlType, ULONG_PTR itemData, WndCoolMenu** window) {
    Registries* registries = CoolMenuRegistries();
    if (!registries || ctlType != ODT_MENU || itemData == 0) return nullptr;
    if (itemData > static_cast<ULONG_PTR>(registries->items.Count())) return nullptr;
    *window = registries->window(key(hwnd));
    if (!*window) return nullptr;
    return registries->item(itemData);
}

} // namespace

Registries* CoolMenuRegistries() { return registriesSlot().get(); }

WndCoolMenu* CoolMenuWindow(HWND hwnd) {
    Registries* registries = CoolMenuRegistries();
    return registries ? registries->window(key(hwnd)) : nullptr;
}

bool AttachCoolMenu(HWND hwnd, bool bSubClass, const HelpCallBack* helpObj, const MenuImages* images) {
    if (!hwnd) return true;
    if (!::IsWindow(hwnd)) return false;
    auto& registries = registriesSlot();
    if (!registries) registries = std::make_unique<Registries>();
    // A second record would make the engine its own previous procedure.
    if (registries->window(key(hwnd))) return false;

    auto record = std::make_unique<WndCoolMenu>(deleteFont, rebuildMenuFont);
    record->hwnd = key(hwnd);
    record->SelectColor = ::GetSysColor(COLOR_HIGHLIGHT);
    if (bSubClass) record->PrevProc = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    record->ilHandle = images;
    record->HelpObj = helpObj;
    record->SCMainMenu = -1;
    // Recorded before the switch, so the first message finds its way on.
    registries->addWindow(std::move(record));
    if (bSubClass) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    ConvertMenu(*registries, menus(), key(hwnd), win32::fromHmenu(::GetMenu(hwnd)), 0, false, true, true);
    return true;
}

bool CoolMenuComplexChecks(HWND hwnd) {
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    return window ? window->ComplexChecks : false;
}

bool CoolMenuComplexChecks(HWND hwnd, bool value) {
    if (WndCoolMenu* window = CoolMenuWindow(hwnd)) window->ComplexChecks = value;
    return value;
}

HFONT GetMenuFont(HWND hwnd, bool bForce) {
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    if (!window) return nullptr;
    if (!window->MenuFont() || bForce) return buildMenuFont(*window);
    return static_cast<HFONT>(window->MenuFont());
}

HFONT GetMenuFontSep(HWND hwnd) {
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    if (!window) return nullptr;
    if (!window->MenuFontSep()) {
        LOGFONTW lf{};
        lf.lfHeight = 11;
        lf.lfWeight = FW_NORMAL;
        lstrcpynW(lf.lfFaceName, L"Small Fonts", LF_FACESIZE);
        window->MenuFontSep(::CreateFontIndirectW(&lf));
    }
    return static_cast<HFONT>(window->MenuFontSep());
}

bool OnMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis) {
    if (!mis) return false;
    WndCoolMenu* window = nullptr;
    const CMyItemData* record = engineItem(hwnd, mis->CtlType, mis->itemData, &window);
    if (!record) return false;
    HFONT font = GetMenuFont(hwnd, false);
    lumivane::win32::WindowDC dc(hwnd);
    int width = 0, height = 0;
    if (!MeasureMenuItem(dc.get(), font, modelOf(*record), width, height)) return false;
    mis->itemWidth = static_cast<UINT>(width);
    mis->itemHeight = static_cast<UINT>(height);
    return true;
}

bool OnDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis) {
    if (!dis) return false;
    WndCoolMenu* window = nullptr;
    const CMyItemData* record = engineItem(hwnd, dis->CtlType, dis->itemData, &window);
    if (!record) return false;

    ItemModel model = modelOf(*record);
    ItemState state;
    state.selected = (dis->itemState & ODS_SELECTED) != 0;
    state.grayed = (dis->itemState & ODS_GRAYED) != 0;
    state.checked = (dis->itemState & ODS_CHECKED) != 0;
    state.actionSelect = dis->itemAction == ODA_SELECT;
    LookSettings look;
    look.fullSelect = window->FullSelect;
    look.rightToLeft = window->RightToLeft;
    look.complexChecks = window->ComplexChecks;
    look.selectColor = window->SelectColor;
    look.foreColor = window->ForeColor;

    PaintContext ctx;
    ctx.hwnd = hwnd;
    ctx.menuFont = GetMenuFont(hwnd, false);
    // The heading font is made the first time a heading is drawn.
    if (model.heading) ctx.headingFont = GetMenuFontSep(hwnd);
    ctx.images = window->ilHandle;
    MENUITEMINFOW marks{};
    marks.cbSize = sizeof marks;
    marks.fMask = MIIM_CHECKMARKS;
    if (::GetMenuItemInfoW(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE, &marks))
        ctx.checkBitmap = state.checked ? marks.hbmpChecked : marks.hbmpUnchecked;
    PaintMenuItem(dis->hDC, dis->rcItem, model, state, look, ctx);
    return true;
}

void TrackMenuBar(HWND hwnd, LPARAM point, int hitCode) {
    WndCoolMenu* window = CoolMenuWindow(hwnd);
    if (!window) return;
    Win32MenuBar bar(hwnd);
    TrackMenuBar(*window, bar, GET_X_LPARAM(point), GET_Y_LPARAM(point), hitCode);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing that goes wrong in the engine may take the host down: a failure
    // answers the message with 0.
    try {
        Registries* registries = CoolMenuRegistries();
        WndCoolMenu* window = registries ? registries->window(key(hwnd)) : nullptr;
        WNDPROC previous = window ? reinterpret_cast<WNDPROC>(window->PrevProc) : nullptr;
        auto passOn = [&] {
            return previous ? ::CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                            : ::DefWindowProcW(hwnd, msg, wParam, lParam);
        };
        if (!window) return passOn();

        switch (msg) {
        case WM_SETCURSOR:
            TrackMenuBar(hwnd, 0, static_cast<short>(LOWORD(lParam)));
            return passOn();
        case WM_DRAWITEM:
            if (OnDrawItem(hwnd, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            return passOn();
        case WM_MEASUREITEM:
            if (OnMeasureItem(hwnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
            return passOn();
        case WM_WINDOWPOSCHANGED:
            WatchMenuBar(*registries, menus(), key(hwnd), win32::fromHmenu(::GetMenu(hwnd)));
            return passOn();
        case WM_NCHITTEST:
            TrackMenuBar(hwnd, lParam, -1);
            return passOn();
        case WM_INITMENUPOPUP:
            // The window fills the popup first; the conversion reads what it made.
            passOn();
            OnInitMenuPopup(*registries, menus(), key(hwnd), static_cast<MenuHandle>(wParam), LOWORD(lParam),
                            HIWORD(lParam) != 0);
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(*registries, menus(), key(hwnd), LOWORD(wParam), HIWORD(wParam),
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
            std::uint32_t answer = OnMenuChar(*registries, menus(), LOWORD(wParam),
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
