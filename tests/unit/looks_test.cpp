// The paint plans of the dark and high-contrast looks, and of every look at
// a higher resolution.
#include "coolmenu/item_layout.h"
#include "coolmenu/paint_plan.h"

#include <doctest/doctest.h>

#include <vector>

using namespace lumivane::coolmenu;

namespace {

const Rect R{0, 0, 300, 30};
const ItemModel kEject{.text = "Eject", .image = 4};
const ItemModel kPlain{.text = "Plain\tCtrl+P", .trueSub = true};
const ItemModel kHeading{.text = "Folders", .heading = true};

LookSettings look(Theme theme) { return {.selectColor = bgr(0, 120, 215), .theme = theme}; }

template <typename Op>
std::vector<Op> opsOf(const PaintPlan& plan) {
    std::vector<Op> out;
    for (const PaintOp& op : plan)
        if (const Op* o = std::get_if<Op>(&op)) out.push_back(*o);
    return out;
}

template <typename Op>
bool has(const PaintPlan& plan) { return !opsOf<Op>(plan).empty(); }

// Every colour the plan paints with.
std::vector<Colour> coloursOf(const PaintPlan& plan) {
    std::vector<Colour> out;
    for (const auto& f : opsOf<FillOp>(plan)) out.push_back(f.colour);
    for (const auto& t : opsOf<ItemTextOp>(plan)) out.push_back(t.colour);
    for (const auto& h : opsOf<HeadingTextOp>(plan)) {
        out.push_back(h.colour);
        if (h.back) out.push_back(*h.back);
    }
    for (const auto& g : opsOf<GlyphOp>(plan)) out.push_back(g.colour);
    for (const auto& d : opsOf<DitherOp>(plan)) {
        out.push_back(d.back);
        out.push_back(d.fore);
    }
    return out;
}

} // namespace

TEST_CASE("dark: the item paints its own dark ground, a blue bar under white text, flat frames, no 3-D edges") {
    const Palette p = paletteFor(Theme::dark, look(Theme::dark));
    PaintPlan selected = planItem(kEject, {.selected = true}, look(Theme::dark), R, false);
    REQUIRE(!selected.empty());
    CHECK(std::get<FillOp>(selected.front()).rect == R);
    CHECK(std::get<FillOp>(selected.front()).colour == Colour::rgb(dark::kGround));
    CHECK_FALSE(has<EdgeOp>(selected));
    CHECK_FALSE(has<DitherOp>(selected));
    std::vector<FillOp> fills = opsOf<FillOp>(selected);
    // The ground, the four sides of the column's frame, then the bar from the design's 19.
    REQUIRE(fills.size() == 6);
    CHECK(fills[1].rect == Rect{0, 0, 18, 1});
    CHECK(fills[1].colour == p.line);
    CHECK(fills[5].rect == Rect{19, 0, 300, 30});
    CHECK(fills[5].colour == Colour::rgb(dark::kSelection));
    CHECK(opsOf<ItemTextOp>(selected).at(0).colour == Colour::rgb(dark::kSelectionText));
    IconOp icon = opsOf<IconOp>(selected).at(0);
    CHECK(icon.image == 5);
    CHECK(icon.at == Point{1, 7});
    CHECK_FALSE(icon.disabled);
    CHECK_FALSE(icon.faded);

    // Unselected: no bar, the text in the dark text colour; the losing-selection repaint is the same.
    for (ItemState state : {ItemState{}, ItemState{.actionSelect = true}}) {
        PaintPlan plain = planItem(kEject, state, look(Theme::dark), R, false);
        CHECK(opsOf<FillOp>(plain).size() == 1);
        CHECK(opsOf<ItemTextOp>(plain).at(0).colour == Colour::rgb(dark::kText));
    }

    // Disabled: the picture faded rather than embossed, the text in the disabled colour, in one pass.
    PaintPlan grayed = planItem(kEject, {.selected = true, .grayed = true}, look(Theme::dark), R, false);
    CHECK(opsOf<IconOp>(grayed).at(0).faded);
    CHECK_FALSE(opsOf<IconOp>(grayed).at(0).disabled);
    CHECK(opsOf<ItemTextOp>(grayed).size() == 1);
    CHECK(opsOf<ItemTextOp>(grayed).at(0).colour == Colour::rgb(dark::kDisabledText));
    CHECK(opsOf<FillOp>(grayed).size() == 1);  // neither bar nor frame

    // The host's own colours never reach the dark look.
    LookSettings host = look(Theme::dark);
    host.foreColor = bgr(0, 0, 128);
    host.fullSelect = false;
    for (const Colour& c : coloursOf(planItem(kPlain, {.selected = true}, host, R, false)))
        CHECK((c == Colour::rgb(dark::kGround) || c == Colour::rgb(dark::kSelection) ||
               c == Colour::rgb(dark::kSelectionText)));
}

TEST_CASE("dark: headings are a flat line under opaque words on the ground; marks are glyphs in a flat frame") {
    PaintPlan heading = planItem(kHeading, {}, look(Theme::dark), R, false);
    std::vector<FillOp> fills = opsOf<FillOp>(heading);
    REQUIRE(fills.size() == 2);
    CHECK(fills[1].rect == Rect{15, 14, 285, 15});  // one pixel in the middle, inset as the etched line
    CHECK(fills[1].colour == Colour::rgb(dark::kLine));
    HeadingTextOp words = opsOf<HeadingTextOp>(heading).at(0);
    CHECK(words.text == " Folders ");
    CHECK(words.colour == Colour::rgb(dark::kHeading));
    CHECK(words.opaque);
    CHECK(words.back == Colour::rgb(dark::kGround));
    CHECK(opsOf<HeadingTextOp>(heading).size() == 1);  // not engraved

    // A checked item without a picture: even with system check boxes asked for, a glyph.
    LookSettings boxes = look(Theme::dark);
    boxes.complexChecks = true;
    PaintPlan mark = planItem({.text = "Mark", .asMark = true, .asCheck = true}, {.checked = true}, boxes, R, false);
    CHECK_FALSE(has<CheckCellOp>(mark));
    GlyphOp check = opsOf<GlyphOp>(mark).at(0);
    CHECK(check.glyph == kGlyphCheck);
    CHECK(check.colour == Colour::rgb(dark::kText));
    CHECK(opsOf<FillOp>(mark).at(1).colour == Colour::rgb(dark::kCheckedGround));
    // Unchecked, nothing in the column; the item's own check bitmap is left to the system.
    CHECK(opsOf<GlyphOp>(planItem({.text = "Mark", .asMark = true}, {}, boxes, R, false)).empty());
    CHECK(opsOf<GlyphOp>(planItem({.text = "Mark"}, {}, boxes, R, true)).empty());
    // The menu bar is the system's light one: its items keep the light look in the dark theme.
    const ItemModel bar{.text = "File", .mainMenu = true};
    PaintPlan barPlan = planItem(bar, {.selected = true}, look(Theme::dark), R, false);
    CHECK(has<EdgeOp>(barPlan));  // the sunken frame of an open menu-bar item
    for (const Colour& c : coloursOf(barPlan)) CHECK(c != Colour::rgb(dark::kGround));
    // Hidden items still paint nothing.
    CHECK(planItem({.text = "!Hidden", .image = 1}, {.selected = true}, look(Theme::dark), R, false).empty());
}

TEST_CASE("high contrast: only system colours, no 3-D edges, engraving or dithering; pictures kept, even disabled") {
    const std::vector<ItemModel> items{kEject, kPlain, kHeading, {.text = "Mark", .asCheck = true},
                                       {.text = "Bar", .mainMenu = true}};
    const std::vector<ItemState> states{{}, {.selected = true}, {.grayed = true}, {.checked = true},
                                        {.selected = true, .grayed = true, .checked = true}, {.actionSelect = true}};
    for (const ItemModel& item : items)
        for (const ItemState& state : states) {
            CAPTURE(item.text);
            PaintPlan plan = planItem(item, state, look(Theme::highContrast), R, false);
            for (const Colour& c : coloursOf(plan)) CHECK(c.system);
            CHECK_FALSE(has<EdgeOp>(plan));
            CHECK_FALSE(has<DitherOp>(plan));
            CHECK_FALSE(has<CheckCellOp>(plan));
            CHECK(opsOf<HeadingTextOp>(plan).size() <= 1);
            CHECK(opsOf<ItemTextOp>(plan).size() <= 1);
            for (const IconOp& icon : opsOf<IconOp>(plan)) {
                CHECK_FALSE(icon.disabled);
                CHECK_FALSE(icon.faded);
            }
            if (item.image >= 0) CHECK(has<IconOp>(plan));
        }
    PaintPlan selected = planItem(kPlain, {.selected = true}, look(Theme::highContrast), R, false);
    CHECK(opsOf<FillOp>(selected).at(1).colour == Colour::sys(syscolor::kHighlight));
    CHECK(opsOf<ItemTextOp>(selected).at(0).colour == Colour::sys(syscolor::kHighlightText));
    CHECK(opsOf<GlyphOp>(selected).at(0).colour == Colour::sys(syscolor::kHighlightText));  // the submenu arrow
}

TEST_CASE("at 144 dots per inch every length of the plan scales, in each look") {
    const MenuGeometry g = MenuGeometry::forDpi(144);
    const Rect item{0, 0, 300, 40};
    for (Theme theme : {Theme::light, Theme::dark, Theme::highContrast}) {
        CAPTURE(static_cast<int>(theme));
        PaintPlan plan = planItem(kEject, {.selected = true}, look(theme), item, false, g);
        IconOp icon = opsOf<IconOp>(plan).at(0);
        CHECK(icon.cell == 24);
        CHECK(icon.at == Point{2, 8});  // (40 - 24) / 2
        CHECK(opsOf<ItemTextOp>(plan).at(0).rect == Rect{32, 0, 273, 40});
        // The bar starts after the 28-pixel column and its free two pixels.
        CHECK(opsOf<FillOp>(plan).back().rect == Rect{30, 0, 300, 40});
    }
    PaintPlan arrow = planItem(kPlain, {}, look(Theme::light), item, false, g);
    CHECK(opsOf<GlyphOp>(arrow).at(0).rect == Rect{0, 3, 297, 40});
    CHECK(opsOf<EdgeOp>(planItem(kHeading, {}, look(Theme::light), item, false, g)).at(0).rect ==
          Rect{23, 19, 277, 40});
    CHECK(opsOf<FillOp>(planItem(kHeading, {}, look(Theme::dark), item, false, g)).at(1).rect ==
          Rect{23, 19, 277, 21});
}

TEST_CASE("at 144 dots per inch small text still leaves the 24-pixel cell its room, and a picture sits centred") {
    TextMeasure measure = [](std::string_view s) { return Size{10 * static_cast<int>(s.size()), 17}; };
    const MenuGeometry g = MenuGeometry::forDpi(144);
    CHECK(measureItem({.text = "Exit"}, {10, 19}, measure, g).height == 27);  // 24 and two pixels scaled
    CHECK(measureItem({.text = "Exit", .mainMenu = true}, {10, 19}, measure, g).height == 17);
    CHECK(pictureRect({2, 8}, 28, 24) == Rect{4, 10, 28, 34});  // centred in a larger cell (175 %)
    CHECK(pictureRect({0, 0}, 12, 16) == Rect{0, 0, 12, 12});   // shrunk to a smaller one
}
