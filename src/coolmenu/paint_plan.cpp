#include "coolmenu/paint_plan.h"

namespace lumivane::coolmenu {

namespace {

const Colour kMenu = Colour::sys(syscolor::kMenu);

void append(PaintPlan& plan, PaintPlan more) {
    for (auto& op : more) plan.push_back(std::move(op));
}

void planArrow(PaintPlan& plan, const Rect& item, bool rightToLeft, Colour colour) {
    unsigned format = (rightToLeft ? textfmt::kLeft : textfmt::kRight) | textfmt::kSingleLine;
    plan.push_back(GlyphOp{rightToLeft ? kGlyphArrowLeft : kGlyphArrowRight, colour, arrowRect(item, rightToLeft), format});
    plan.push_back(ExcludeClipOp{item});
}

PaintPlan planHeading(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item) {
    PaintPlan plan;
    plan.push_back(EdgeOp{headingLine(item), edge::kEtched, edge::kTop});
    if (!model.text.empty()) {
        std::string text = " " + model.text + " ";
        // The light pass is opaque so the etched line is blanked behind the
        // words; the shadow pass on top gives the engraved look.
        plan.push_back(HeadingTextOp{item.moved(1, 1), text, Colour::sys(syscolor::kLight3D), true});
        plan.push_back(HeadingTextOp{item, text, Colour::sys(syscolor::kButtonShadow), false});
    }
    if (model.trueSub) planArrow(plan, item, look.rightToLeft, itemTextColour(model, state, look));
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
                   const LookSettings& look) {
    PaintPlan plan;
    if (ownCheckBitmap) return plan;

    if (look.complexChecks) {
        Rect ground{column.left - 1, column.top, column.right + 1, column.bottom};
        bool bar = state.selected && !state.grayed && look.fullSelect;
        plan.push_back(FillOp{ground, bar ? Colour::rgb(look.selectColor) : kMenu});
        int x = (state.checked ? kMarkCellSize : 0) + (state.grayed ? 2 * kMarkCellSize : 0);
        int y = asCheck ? 0 : kMarkCellSize;
        plan.push_back(CheckCellOp{markCell(column), {x, y}, !asCheck});
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
                   bool ownCheckBitmap) {
    if (model.heading) return planHeading(model, state, look, item);
    if (isHiddenItem(model)) return {};

    PaintPlan plan;
    const bool rtl = look.rightToLeft;
    Rect column = imageColumn(item, rtl);
    bool columnUsed = false;

    if (model.image >= 0) {
        Point at = imagePosition(item, rtl);
        if (state.grayed) {
            plan.push_back(IconOp{model.image + 1, at, true});
        } else {
            bool light = state.checked && !state.selected;
            plan.push_back(FillOp{column, light ? Colour::sys(syscolor::kLight3D) : kMenu});
            if (state.selected || state.checked)
                plan.push_back(EdgeOp{column, state.checked ? edge::kSunkenOuter : edge::kRaisedInner, edge::kAllSides});
            plan.push_back(IconOp{model.image + 1, at, false});
        }
        columnUsed = true;
    } else if (wantsMark(model, state, look, ownCheckBitmap)) {
        append(plan, planMark(column, state, model.asCheck, ownCheckBitmap, look));
        columnUsed = true;
    }

    if (model.mainMenu) plan.push_back(FillOp{item, kMenu});

    Rect text = model.mainMenu ? menuBarTextRect(item, false) : popupTextRect(item, rtl);
    if ((state.selected || state.actionSelect) && !state.grayed) {
        Rect bar = selectionBar(item, rtl, columnUsed);
        if (state.selected && model.mainMenu) {
            plan.push_back(EdgeOp{bar, edge::kSunkenOuter, edge::kAllSides});
            text = menuBarTextRect(item, true);
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

    if (model.trueSub) planArrow(plan, item, rtl, colour);
    return plan;
}

} // namespace lumivane::coolmenu
