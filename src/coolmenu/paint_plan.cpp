#include "coolmenu/paint_plan.h"

namespace lumivane::coolmenu {

namespace {

const Colour kMenu = Colour::sys(syscolor::kMenu);

void append(PaintPlan& plan, PaintPlan more) {
    for (auto& op : more) plan.push_back(std::move(op));
}

void planArrow(PaintPlan& plan, const Rect& item, bool rightToLeft, Colour colour, const MenuGeometry& g) {
    unsigned format = (rightToLeft ? textfmt::kLeft : textfmt::kRight) | textfmt::kSingleLine;
    plan.push_back(
        GlyphOp{rightToLeft ? kGlyphArrowLeft : kGlyphArrowRight, colour, arrowRect(item, rightToLeft, g), format});
    plan.push_back(ExcludeClipOp{item});
}

PaintPlan planHeading(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item,
                      const MenuGeometry& g) {
    PaintPlan plan;
    plan.push_back(EdgeOp{headingLine(item, g), edge::kEtched, edge::kTop});
    if (!model.text.empty()) {
        std::string text = " " + model.text + " ";
        // The light pass is opaque so the etched line is blanked behind the
        // words; the shadow pass on top gives the engraved look.
        plan.push_back(HeadingTextOp{item.moved(1, 1), text, Colour::sys(syscolor::kLight3D), true, {}});
        plan.push_back(HeadingTextOp{item, text, Colour::sys(syscolor::kButtonShadow), false, {}});
    }
    if (model.trueSub) planArrow(plan, item, look.rightToLeft, itemTextColour(model, state, look), g);
    return plan;
}

// A one-pixel (scaled) outline, the flat looks' stand-in for a 3-D edge.
void planFrame(PaintPlan& plan, const Rect& r, Colour colour, const MenuGeometry& g) {
    int t = g.imageInset;
    plan.push_back(FillOp{{r.left, r.top, r.right, r.top + t}, colour});
    plan.push_back(FillOp{{r.left, r.bottom - t, r.right, r.bottom}, colour});
    plan.push_back(FillOp{{r.left, r.top + t, r.left + t, r.bottom - t}, colour});
    plan.push_back(FillOp{{r.right - t, r.top + t, r.right, r.bottom - t}, colour});
}

// The dark theme and high contrast: every part in the palette's colours, no
// 3-D edges, no engraving, no dithering, and the system's light check boxes
// replaced by glyphs. The item paints its whole ground, since the system's
// is the light menu colour.
PaintPlan planFlatItem(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item,
                       bool ownCheckBitmap, const MenuGeometry& g) {
    if (isHiddenItem(model)) return {};
    const Palette p = paletteFor(look.theme, look);
    const bool rtl = look.rightToLeft;
    const bool selected = state.selected && !state.grayed;
    Colour textColour = state.grayed ? p.disabledText : selected && !model.mainMenu ? p.selectionText : p.text;
    PaintPlan plan;
    plan.push_back(FillOp{item, p.ground});

    if (model.heading) {
        plan.push_back(FillOp{flatHeadingLine(item, g), p.line});
        if (!model.text.empty())
            plan.push_back(HeadingTextOp{item, " " + model.text + " ", p.heading, true, p.ground});
        if (model.trueSub) planArrow(plan, item, rtl, p.text, g);
        return plan;
    }
    if (model.mainMenu) {
        if (selected) planFrame(plan, item, p.line, g);
        plan.push_back(ItemTextOp{menuBarTextRect(item, false, g), model.text, textColour, false, rtl});
        return plan;
    }

    Rect column = imageColumn(item, rtl, g);
    bool columnUsed = false;
    if (model.image >= 0) {
        if (state.checked && !state.grayed) plan.push_back(FillOp{column, p.checkedGround});
        if ((state.checked || state.selected) && !state.grayed) planFrame(plan, column, p.line, g);
        IconOp icon{model.image + 1, imagePosition(item, rtl, g), false, g.imageCell, false};
        icon.faded = state.grayed && p.fadesDisabledPictures;
        plan.push_back(icon);
        columnUsed = true;
    } else if (state.checked || ownCheckBitmap) {
        if (!ownCheckBitmap) {
            if (state.checked) plan.push_back(FillOp{column, p.checkedGround});
            char glyph = model.asCheck ? kGlyphCheck : kGlyphBullet;
            plan.push_back(GlyphOp{glyph, state.grayed ? p.disabledText : p.text, column, textfmt::kCentred});
            planFrame(plan, column, p.line, g);
        }
        columnUsed = true;
    }

    // Always a bar: a coloured text alone (FullSelect off) would not keep its
    // contrast on the dark ground.
    if (selected) plan.push_back(FillOp{selectionBar(item, rtl, columnUsed, g), p.selection});
    plan.push_back(ItemTextOp{popupTextRect(item, rtl, g), model.text, textColour, true, rtl});
    if (model.trueSub) planArrow(plan, item, rtl, textColour, g);
    return plan;
}

} // namespace

Colour foreColour(const LookSettings& look) {
    return look.foreColor != 0 ? Colour::rgb(look.foreColor) : Colour::sys(syscolor::kMenuText);
}

Colour itemTextColour(const ItemModel& item, const ItemState& state, const LookSettings& look) {
    if (state.grayed) return Colour::sys(syscolor::kGrayText);
    if (state.selected && !item.mainMenu)
        return look.fullSelect ? Colour::sys(syscolor::kHighlightText) : Colour::rgb(look.selectColor);
    return foreColour(look);
}

bool wantsMark(const ItemModel& item, const ItemState& state, const LookSettings& look, bool ownCheckBitmap) {
    if (state.checked || ownCheckBitmap) return true;
    // Unchecked: only system check boxes show an empty box.
    return look.complexChecks && item.asMark;
}

PaintPlan planMark(const Rect& column, const ItemState& state, bool asCheck, bool ownCheckBitmap,
                   const LookSettings& look, const MenuGeometry& g) {
    PaintPlan plan;
    if (ownCheckBitmap) return plan;

    if (look.complexChecks) {
        Rect ground{column.left - 1, column.top, column.right + 1, column.bottom};
        bool bar = state.selected && !state.grayed && look.fullSelect;
        plan.push_back(FillOp{ground, bar ? Colour::rgb(look.selectColor) : kMenu});
        int x = (state.checked ? kCheckSheetCell : 0) + (state.grayed ? 2 * kCheckSheetCell : 0);
        int y = asCheck ? 0 : kCheckSheetCell;
        plan.push_back(CheckCellOp{markCell(column, g), {x, y}, !asCheck});
        return plan;
    }

    if (state.selected)
        plan.push_back(FillOp{column, kMenu});
    else
        plan.push_back(DitherOp{column, kMenu, Colour::sys(syscolor::kHilight3D)});
    char glyph = asCheck ? kGlyphCheck : kGlyphBullet;
    if (state.grayed) {
        plan.push_back(GlyphOp{glyph, Colour::sys(syscolor::kHilight3D), column.moved(1, 1), textfmt::kCentred});
        plan.push_back(GlyphOp{glyph, Colour::sys(syscolor::kGrayText), column, textfmt::kCentred});
    } else {
        plan.push_back(GlyphOp{glyph, foreColour(look), column, textfmt::kCentred});
    }
    plan.push_back(EdgeOp{column, edge::kSunkenOuter, edge::kAllSides});
    return plan;
}

PaintPlan planItem(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item,
                   bool ownCheckBitmap, const MenuGeometry& g) {
    // A menu bar stays the system's light bar in the dark theme: its items keep the light look there.
    bool flat = look.theme == Theme::highContrast || (look.theme == Theme::dark && !model.mainMenu);
    if (flat) return planFlatItem(model, state, look, item, ownCheckBitmap, g);
    if (model.heading) return planHeading(model, state, look, item, g);
    if (isHiddenItem(model)) return {};

    PaintPlan plan;
    const bool rtl = look.rightToLeft;
    Rect column = imageColumn(item, rtl, g);
    bool columnUsed = false;

    if (model.image >= 0) {
        Point at = imagePosition(item, rtl, g);
        if (state.grayed) {
            plan.push_back(IconOp{model.image + 1, at, true, g.imageCell, false});
        } else {
            bool light = state.checked && !state.selected;
            plan.push_back(FillOp{column, light ? Colour::sys(syscolor::kLight3D) : kMenu});
            if (state.selected || state.checked)
                plan.push_back(EdgeOp{column, state.checked ? edge::kSunkenOuter : edge::kRaisedInner, edge::kAllSides});
            plan.push_back(IconOp{model.image + 1, at, false, g.imageCell, false});
        }
        columnUsed = true;
    } else if (wantsMark(model, state, look, ownCheckBitmap)) {
        append(plan, planMark(column, state, model.asCheck, ownCheckBitmap, look, g));
        columnUsed = true;
    }

    if (model.mainMenu) plan.push_back(FillOp{item, kMenu});

    Rect text = model.mainMenu ? menuBarTextRect(item, false, g) : popupTextRect(item, rtl, g);
    if ((state.selected || state.actionSelect) && !state.grayed) {
        Rect bar = selectionBar(item, rtl, columnUsed, g);
        if (state.selected && model.mainMenu) {
            plan.push_back(EdgeOp{bar, edge::kSunkenOuter, edge::kAllSides});
            text = menuBarTextRect(item, true, g);
        } else {
            // Painting the menu colour also erases the bar of an item that
            // has just lost the selection.
            bool filled = look.fullSelect && state.selected;
            plan.push_back(FillOp{bar, filled ? Colour::rgb(look.selectColor) : kMenu});
        }
    }

    Colour colour = itemTextColour(model, state, look);
    bool popup = !model.mainMenu;
    if (state.grayed) {
        plan.push_back(ItemTextOp{text.moved(1, 1), model.text, Colour::sys(syscolor::kHilight3D), popup, rtl});
        plan.push_back(ItemTextOp{text, model.text, colour, popup, rtl});
    } else {
        plan.push_back(ItemTextOp{text, model.text, colour, popup, rtl});
    }

    if (model.trueSub) planArrow(plan, item, rtl, colour, g);
    return plan;
}

} // namespace lumivane::coolmenu
