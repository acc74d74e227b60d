#include "coolmenu/item_painter.h"

#include "coolmenu/item_layout.h"
#include "coolmenu/paint_plan.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <cwchar>
#include <optional>

namespace lumivane::coolmenu {

static_assert(edge::kRaisedInner == BDR_RAISEDINNER && edge::kSunkenOuter == BDR_SUNKENOUTER);
static_assert(edge::kEtched == EDGE_ETCHED && edge::kTop == BF_TOP && edge::kAllSides == BF_RECT);
static_assert(textfmt::kLeft == DT_LEFT && textfmt::kCenter == DT_CENTER && textfmt::kRight == DT_RIGHT);
static_assert(textfmt::kVCenter == DT_VCENTER && textfmt::kSingleLine == DT_SINGLELINE);
static_assert(syscolor::kMenu == COLOR_MENU && syscolor::kMenuText == COLOR_MENUTEXT);
static_assert(syscolor::kHighlightText == COLOR_HIGHLIGHTTEXT && syscolor::kButtonShadow == COLOR_BTNSHADOW);
static_assert(syscolor::kGrayText == COLOR_GRAYTEXT && syscolor::kHilight3D == COLOR_3DHILIGHT);
static_assert(syscolor::kLight3D == COLOR_3DLIGHT);

namespace {

using win32::SelectGuard;
using win32::UniqueBitmap;
using win32::UniqueBrush;
using win32::UniqueFont;
using win32::UniqueMemDC;

// System bitmap ids; named here so the OEM resource ids need not be switched
// on for the whole program.
constexpr WORD kCheckBoxesBitmap = 32759;
constexpr WORD kButtonCornersBitmap = 32758;

// Engine-wide GDI objects: made on first use and kept for the run, because
// every paint of every item needs them.
class SharedGdi {
public:
    static SharedGdi& instance() {
        static SharedGdi shared;
        return shared;
    }

    HFONT glyphFont() {
        if (!glyphFont_) {
            LOGFONTW lf{};
            lf.lfHeight = 13;
            lf.lfCharSet = SYMBOL_CHARSET;
            std::wcscpy(lf.lfFaceName, L"Marlett");
            glyphFont_.reset(::CreateFontIndirectW(&lf));
        }
        return glyphFont_.get();
    }

    // The check-box sheet and the round mask of radio buttons, loaded together.
    bool loadCheckBitmaps() {
        if (!checkBoxes_)
            checkBoxes_.reset(static_cast<HBITMAP>(
                ::LoadImageW(nullptr, MAKEINTRESOURCEW(kCheckBoxesBitmap), IMAGE_BITMAP, 0, 0, 0)));
        if (!radioMask_)
            radioMask_.reset(static_cast<HBITMAP>(
                ::LoadImageW(nullptr, MAKEINTRESOURCEW(kButtonCornersBitmap), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
        return checkBoxes_ && radioMask_;
    }
    HBITMAP checkBoxes() const { return checkBoxes_.get(); }
    HBITMAP radioMask() const { return radioMask_.get(); }

private:
    SharedGdi() = default;
    UniqueFont glyphFont_;
    UniqueBitmap checkBoxes_;
    UniqueBitmap radioMask_;
};

RECT toRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Rect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

COLORREF resolve(const Colour& c) {
    return c.system ? ::GetSysColor(static_cast<int>(c.value)) : static_cast<COLORREF>(c.value);
}

void fillSolid(HDC dc, const Rect& r, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    if (!brush) return;
    RECT rc = toRect(r);
    ::FillRect(dc, &rc, brush.get());
}

void fillDither(HDC dc, const Rect& r, COLORREF back, COLORREF fore) {
    // Monochrome rows are padded to 16 bits.
    static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    UniqueBitmap pattern(::CreateBitmap(8, 8, 1, 1, rows));
    if (!pattern) return;
    UniqueBrush brush(::CreatePatternBrush(pattern.get()));
    if (!brush) return;
    COLORREF oldBack = ::SetBkColor(dc, back);
    COLORREF oldFore = ::SetTextColor(dc, fore);
    {
        SelectGuard select(dc, brush.get());
        ::PatBlt(dc, r.left, r.top, r.width(), r.height(), PATCOPY);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldFore);
}

void drawEdge(HDC dc, const Rect& r, unsigned edgeKind, unsigned sides) {
    RECT rc = toRect(r);
    ::DrawEdge(dc, &rc, edgeKind, sides);
}

void drawIcon(HDC dc, const MenuImages* images, const IconOp& op) {
    if (!images || op.image < 1 || op.image > images->count()) return;
    HICON icon = static_cast<HICON>(images->icon(op.image));
    if (!icon) return;
    UINT flags = DST_ICON | (op.disabled ? DSS_DISABLED : 0);
    ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, op.at.x, op.at.y, 0, 0, flags);
}

void drawCheckCell(HDC dc, const CheckCellOp& op) {
    SharedGdi& shared = SharedGdi::instance();
    if (!shared.loadCheckBitmaps()) return;
    UniqueMemDC mem(::CreateCompatibleDC(dc));
    if (!mem) return;
    LOGBRUSH hollowStyle{BS_HOLLOW, 0, 0};
    UniqueBrush hollow(::CreateBrushIndirect(&hollowStyle));
    SelectGuard brush(dc, hollow.get());
    // Monochrome sources turn into black and white on the item's DC.
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldFore = ::SetTextColor(dc, RGB(0, 0, 0));
    if (op.radio) {
        SelectGuard mask(mem.get(), shared.radioMask());
        ::BitBlt(dc, op.at.x, op.at.y, kMarkCellSize, kMarkCellSize, mem.get(), 0, 0, MERGEPAINT);
    }
    {
        SelectGuard sheet(mem.get(), shared.checkBoxes());
        ::BitBlt(dc, op.at.x, op.at.y, kMarkCellSize, kMarkCellSize, mem.get(), op.source.x, op.source.y,
                 op.radio ? SRCAND : SRCCOPY);
    }
    ::SetBkColor(dc, oldBack);
    ::SetTextColor(dc, oldFore);
}

void drawHeadingText(HDC dc, HFONT font, const HeadingTextOp& op) {
    std::wstring text = win32::widen(op.text);
    SelectGuard select(dc, font);
    ::SetBkMode(dc, op.opaque ? OPAQUE : TRANSPARENT);
    ::SetTextColor(dc, resolve(op.colour));
    RECT rc = toRect(op.rect);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, textfmt::kCentred);
}

struct Executor {
    HDC dc;
    const PaintContext& ctx;
    const Rect* exclude = nullptr;

    void operator()(const FillOp& op) { fillSolid(dc, op.rect, resolve(op.colour)); }
    void operator()(const DitherOp& op) { fillDither(dc, op.rect, resolve(op.back), resolve(op.fore)); }
    void operator()(const EdgeOp& op) { drawEdge(dc, op.rect, op.edge, op.sides); }
    void operator()(const IconOp& op) { drawIcon(dc, ctx.images, op); }
    void operator()(const CheckCellOp& op) { drawCheckCell(dc, op); }
    void operator()(const ItemTextOp& op) {
        drawMenuText(dc, ctx.menuFont, toRect(op.rect), op.text, resolve(op.colour), op.popup, op.rightToLeft);
    }
    void operator()(const HeadingTextOp& op) { drawHeadingText(dc, ctx.headingFont, op); }
    void operator()(const GlyphOp& op) {
        drawMarlettGlyph(dc, static_cast<wchar_t>(op.glyph), resolve(op.colour), toRect(op.rect), op.format);
    }
    // Applied after the DC state is restored, so that it outlives the paint.
    void operator()(const ExcludeClipOp& op) { exclude = &op.rect; }
};

void execute(HDC dc, const PaintPlan& plan, const PaintContext& ctx) {
    Executor run{dc, ctx};
    int saved = ::SaveDC(dc);
    ::SetBkMode(dc, TRANSPARENT);
    for (const PaintOp& op : plan) std::visit(run, op);
    if (saved) ::RestoreDC(dc, saved);
    if (run.exclude) ::ExcludeClipRect(dc, run.exclude->left, run.exclude->top, run.exclude->right, run.exclude->bottom);
}

} // namespace

namespace {
std::optional<MenuMetrics>& keptMetrics() {
    static std::optional<MenuMetrics> metrics;
    return metrics;
}
} // namespace

void forgetMenuMetrics() { keptMetrics().reset(); }

bool measureMenuItem(HDC dc, HFONT menuFont, const ItemModel& item, int& width, int& height) {
    try {
        std::optional<win32::WindowDC> screen;
        if (!dc) dc = screen.emplace(nullptr).get();
        if (!dc) return false;
        SelectGuard font(dc, menuFont);
        TextMeasure measure = [dc](std::string_view text) {
            std::wstring w = win32::widen(text);
            RECT rc{0, 0, 0, 0};
            ::DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
            return Size{rc.right - rc.left, rc.bottom - rc.top};
        };
        std::optional<MenuMetrics>& metrics = keptMetrics();
        if (!metrics) metrics = MenuMetrics{::GetSystemMetrics(SM_CYMENU), ::GetSystemMetrics(SM_CXMENUCHECK)};
        Size size = measureItem(item, *metrics, measure);
        width = size.width;
        height = size.height;
        return true;
    } catch (...) {
        return false;
    }
}

void paintMenuItem(HDC dc, const RECT& rcItem, const ItemModel& item, const ItemState& state,
                   const LookSettings& look, const PaintContext& ctx) {
    try {
        execute(dc, planItem(item, state, look, fromRect(rcItem), ctx.checkBitmap != nullptr), ctx);
    } catch (...) {
        // Out of memory while painting one item: the item stays as the system
        // left it, and the menu keeps working.
    }
}

void drawMenuText(HDC dc, HFONT menuFont, const RECT& rect, const std::string& text, COLORREF colour, bool popup,
                  bool rightToLeft) {
    MenuTextLayout layout = layoutMenuText(text, popup, rightToLeft);
    std::wstring label = win32::widen(layout.label);
    ::SetTextColor(dc, colour);
    SelectGuard font(dc, menuFont);
    RECT rc = rect;
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &rc, layout.labelFormat);
    if (layout.hasShortcut) {
        std::wstring shortcut = win32::widen(layout.shortcut);
        rc = rect;
        ::DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &rc, layout.shortcutFormat);
    }
}

bool draw3DMark(HDC dc, const RECT& column, const ItemState& state, HBITMAP checkBitmap, bool asCheck,
                const LookSettings& look) {
    try {
        PaintContext ctx;
        ctx.checkBitmap = checkBitmap;
        execute(dc, planMark(fromRect(column), state, asCheck, checkBitmap != nullptr, look), ctx);
        return true;
    } catch (...) {
        return false;
    }
}

void drawMarlettGlyph(HDC dc, wchar_t glyph, COLORREF colour, const RECT& rect, UINT format) {
    HFONT font = SharedGdi::instance().glyphFont();
    ::SetBkMode(dc, TRANSPARENT);
    SelectGuard select(dc, font);
    ::SetTextColor(dc, colour);
    RECT rc = rect;
    ::DrawTextW(dc, &glyph, 1, &rc, format);
}

} // namespace lumivane::coolmenu
