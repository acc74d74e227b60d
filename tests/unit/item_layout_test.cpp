#include "coolmenu/item_layout.h"
#include "coolmenu/paint_plan.h"

#include <doctest/doctest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace lumivane::coolmenu;

namespace {

// A font where every character is 7 wide and a line is `lineHeight` high.
struct FixedFont {
    int lineHeight = 13;
    std::vector<std::string> asked;
    TextMeasure measure() {
        return [this](std::string_view s) {
            asked.emplace_back(s);
            return Size{7 * static_cast<int>(s.size()), lineHeight};
        };
    }
};

std::string str(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}
std::string str(const Colour& c) {
    if (c.system) return "sys" + std::to_string(c.value);
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c.value));
    return buf;
}

struct Describe {
    std::string operator()(const FillOp& o) const { return "fill " + str(o.rect) + " " + str(o.colour); }
    std::string operator()(const DitherOp& o) const {
        return "dither " + str(o.rect) + " " + str(o.back) + "/" + str(o.fore);
    }
    std::string operator()(const EdgeOp& o) const {
        return "edge " + str(o.rect) + " " + std::to_string(o.edge) + "/" + std::to_string(o.sides);
    }
    std::string operator()(const IconOp& o) const {
        return std::string(o.disabled ? "embossed icon " : "icon ") + std::to_string(o.image) + " at " +
               std::to_string(o.at.x) + "," + std::to_string(o.at.y);
    }
    std::string operator()(const CheckCellOp& o) const {
        return std::string(o.radio ? "radio " : "box ") + std::to_string(o.source.x) + "," +
               std::to_string(o.source.y) + " at " + std::to_string(o.at.x) + "," + std::to_string(o.at.y);
    }
    std::string operator()(const ItemTextOp& o) const {
        return "text '" + o.text + "' " + str(o.rect) + " " + str(o.colour) + (o.popup ? "" : " bar") +
               (o.rightToLeft ? " rtl" : "");
    }
    std::string operator()(const HeadingTextOp& o) const {
        return "heading '" + o.text + "' " + str(o.rect) + " " + str(o.colour) + (o.opaque ? " opaque" : "");
    }
    std::string operator()(const GlyphOp& o) const {
        return std::string("glyph ") + o.glyph + " " + str(o.rect) + " " + str(o.colour) + " fmt" +
               std::to_string(o.format);
    }
    std::string operator()(const ExcludeClipOp& o) const { return "exclude " + str(o.rect); }
};

std::vector<std::string> describe(const PaintPlan& plan) {
    std::vector<std::string> out;
    for (const auto& op : plan) out.push_back(std::visit(Describe{}, op));
    return out;
}

using Lines = std::vector<std::string>;

constexpr std::uint32_t kSelect = 0x00C08040;
const Rect R{10, 20, 210, 40};

LookSettings look(bool fullSelect = true, bool rtl = false, bool complex = true) {
    LookSettings l;
    l.fullSelect = fullSelect;
    l.rightToLeft = rtl;
    l.complexChecks = complex;
    l.selectColor = kSelect;
    return l;
}

ItemModel imageItem(const char* text = "Eject", int image = 4) {
    ItemModel m;
    m.text = text;
    m.image = image;
    return m;
}

ItemModel markItem(bool asCheck, const char* text = "Mark") {
    ItemModel m;
    m.text = text;
    m.asMark = true;
    m.asCheck = asCheck;
    return m;
}

ItemState st(bool selected, bool grayed = false, bool checked = false, bool actionSelect = false) {
    return {selected, grayed, checked, actionSelect};
}

} // namespace

TEST_CASE("popup, menu-bar, heading and hidden items ask for their sizes") {
    FixedFont font;
    MenuMetrics m{19, 13};

    ItemModel plain = imageItem("Open\tCtrl+O");
    // 11 characters, tab included, at 7 each; 42 for the columns less the check width.
    CHECK(measureItem(plain, m, font.measure()) == Size{77 + 42 - 13, 19});
    CHECK(font.asked.back() == "Open\tCtrl+O");

    font.lineHeight = 24;
    CHECK(measureItem(plain, m, font.measure()).height == 24);
    CHECK(measureItem(plain, {19, 15}, font.measure()).width == 77 + 42 - 15);

    ItemModel bar;
    bar.text = "File";
    bar.mainMenu = true;
    font.lineHeight = 13;
    CHECK(measureItem(bar, m, font.measure()) == Size{28, 19});

    ItemModel heading;
    heading.heading = true;
    heading.text = " CD Drives";
    font.asked.clear();
    // Height of "A" plus one beats half of 19 (truncated to 9).
    CHECK(measureItem(heading, m, font.measure()) == Size{0, 14});
    CHECK(font.asked == std::vector<std::string>{"A"});
    // Half of a tall menu bar beats the text.
    CHECK(measureItem(heading, {41, 13}, font.measure()) == Size{0, 20});

    ItemModel hidden = imageItem("!Secret");
    CHECK(measureItem(hidden, m, font.measure()) == Size{0, 0});
    // The "!" rule is for item text; a heading keeps its heading height.
    heading.text = "!";
    CHECK(measureItem(heading, m, font.measure()) == Size{0, 14});
}

TEST_CASE("rectangles of an item in both directions") {
    CHECK(imageColumn(R, false) == Rect{10, 20, 28, 40});
    CHECK(imageColumn(R, true) == Rect{192, 20, 210, 40});
    CHECK(imagePosition(R, false) == Point{11, 22});
    CHECK(imagePosition(R, true) == Point{193, 22});
    // Truncation toward zero, also for an item lower than the image.
    CHECK(imagePosition(Rect{0, 0, 100, 19}, false).y == 1);
    CHECK(imagePosition(Rect{0, 10, 100, 23}, false).y == 9);

    CHECK(selectionBar(R, false, true) == Rect{29, 20, 210, 40});
    CHECK(selectionBar(R, true, true) == Rect{10, 20, 191, 40});
    CHECK(selectionBar(R, false, false) == R);
    CHECK(selectionBar(R, true, false) == R);

    CHECK(popupTextRect(R, false) == Rect{31, 20, 192, 40});
    CHECK(popupTextRect(R, true) == Rect{28, 20, 189, 40});
    CHECK(menuBarTextRect(R, false) == R);
    CHECK(menuBarTextRect(R, true) == Rect{12, 21, 212, 41});

    CHECK(headingLine(R) == Rect{25, 29, 195, 40});
    CHECK(headingLine(Rect{0, 0, 100, 9}) == Rect{15, 3, 85, 9});

    CHECK(markCell(imageColumn(R, false)) == Point{13, 23});
    CHECK(markCell(imageColumn(R, true)) == Point{195, 23});

    CHECK(arrowRect(R, false) == Rect{10, 22, 208, 40});
    CHECK(arrowRect(R, true) == Rect{12, 22, 210, 40});
}

TEST_CASE("an item with an image: selection, FullSelect, checked and grayed") {
    SUBCASE("selected with FullSelect: raised column, bar in SelectColor from 19, highlight text") {
        CHECK(describe(planItem(imageItem(), st(true), look(), R, false)) ==
              Lines{"fill 10,20,28,40 sys4", "edge 10,20,28,40 4/15", "icon 5 at 11,22", "fill 29,20,210,40 #C08040",
                    "text 'Eject' 31,20,192,40 sys14"});
    }
    SUBCASE("selected without FullSelect: the bar place is menu-coloured, the text takes SelectColor") {
        CHECK(describe(planItem(imageItem(), st(true), look(false), R, false)) ==
              Lines{"fill 10,20,28,40 sys4", "edge 10,20,28,40 4/15", "icon 5 at 11,22", "fill 29,20,210,40 sys4",
                    "text 'Eject' 31,20,192,40 #C08040"});
    }
    SUBCASE("checked, not selected: light sunken column, no bar") {
        CHECK(describe(planItem(imageItem(), st(false, false, true), look(), R, false)) ==
              Lines{"fill 10,20,28,40 sys22", "edge 10,20,28,40 2/15", "icon 5 at 11,22",
                    "text 'Eject' 31,20,192,40 sys7"});
    }
    SUBCASE("checked and selected: menu-coloured sunken column") {
        auto lines = describe(planItem(imageItem(), st(true, false, true), look(), R, false));
        CHECK(lines[0] == "fill 10,20,28,40 sys4");
        CHECK(lines[1] == "edge 10,20,28,40 2/15");
    }
    SUBCASE("grayed and selected: embossed icon and text, no bar, no column fill") {
        CHECK(describe(planItem(imageItem(), st(true, true), look(), R, false)) ==
              Lines{"embossed icon 5 at 11,22", "text 'Eject' 32,21,193,41 sys20", "text 'Eject' 31,20,192,40 sys17"});
    }
    SUBCASE("losing the selection erases the bar with the menu colour") {
        CHECK(describe(planItem(imageItem(), st(false, false, false, true), look(), R, false)) ==
              Lines{"fill 10,20,28,40 sys4", "icon 5 at 11,22", "fill 29,20,210,40 sys4",
                    "text 'Eject' 31,20,192,40 sys7"});
    }
    SUBCASE("drawn whole and not selected: only column, icon and text") {
        CHECK(describe(planItem(imageItem(), st(false), look(), R, false)) ==
              Lines{"fill 10,20,28,40 sys4", "icon 5 at 11,22", "text 'Eject' 31,20,192,40 sys7"});
    }
    SUBCASE("a set ForeColor replaces the menu-text colour") {
        LookSettings l = look();
        l.foreColor = 0x00112233;
        auto lines = describe(planItem(imageItem(), st(false), l, R, false));
        CHECK(lines.back() == "text 'Eject' 31,20,192,40 #112233");
    }
}

TEST_CASE("right to left mirrors column, bar, text and arrow") {
    ItemModel sub = imageItem("Folders\tF", 0);
    sub.trueSub = true;
    CHECK(describe(planItem(sub, st(true), look(true, true), R, false)) ==
          Lines{"fill 192,20,210,40 sys4", "edge 192,20,210,40 4/15", "icon 1 at 193,22", "fill 10,20,191,40 #C08040",
                "text 'Folders\tF' 28,20,189,40 sys14 rtl", "glyph 3 12,22,210,40 sys14 fmt32",
                "exclude 10,20,210,40"});
    CHECK(describe(planItem(sub, st(false), look(), R, false)).end()[-2] == "glyph 4 10,22,208,40 sys7 fmt34");
}

TEST_CASE("items without an image: bar over the whole item, own check bitmaps") {
    ItemModel plain;
    plain.text = "Exit";
    CHECK(describe(planItem(plain, st(true), look(), R, false)) ==
          Lines{"fill 10,20,210,40 #C08040", "text 'Exit' 31,20,192,40 sys14"});
    // An own bitmap is the system's to draw, but the column is still taken.
    CHECK(describe(planItem(plain, st(true, false, true), look(), R, true)) ==
          Lines{"fill 29,20,210,40 #C08040", "text 'Exit' 31,20,192,40 sys14"});
    CHECK(describe(planItem(markItem(true), st(true), look(), R, true)) ==
          Lines{"fill 29,20,210,40 #C08040", "text 'Mark' 31,20,192,40 sys14"});
}

TEST_CASE("marks with ComplexChecks off: glyph on a dither in a sunken frame, only when checked") {
    LookSettings flat = look(true, false, false);
    CHECK(describe(planItem(markItem(true), st(false), flat, R, false)) == Lines{"text 'Mark' 31,20,192,40 sys7"});
    CHECK(describe(planItem(markItem(true), st(false, false, true), flat, R, false)) ==
          Lines{"dither 10,20,28,40 sys4/sys20", "glyph a 10,20,28,40 sys7 fmt37", "edge 10,20,28,40 2/15",
                "text 'Mark' 31,20,192,40 sys7"});
    // Selected: plain menu ground under the mark, bar beside it.
    CHECK(describe(planItem(markItem(false), st(true, false, true), flat, R, false)) ==
          Lines{"fill 10,20,28,40 sys4", "glyph h 10,20,28,40 sys7 fmt37", "edge 10,20,28,40 2/15",
                "fill 29,20,210,40 #C08040", "text 'Mark' 31,20,192,40 sys14"});
    // Grayed: embossed glyph.
    auto grayed = describe(planMark(imageColumn(R, false), st(false, true, true), true, false, flat));
    CHECK(grayed == Lines{"dither 10,20,28,40 sys4/sys20", "glyph a 11,21,29,41 sys20 fmt37",
                          "glyph a 10,20,28,40 sys17 fmt37", "edge 10,20,28,40 2/15"});
    // A checked item without "#" shows a bullet.
    ItemModel plain;
    plain.text = "Plain";
    CHECK(describe(planItem(plain, st(false, false, true), flat, R, false))[1] == "glyph h 10,20,28,40 sys7 fmt37");
    // The glyph follows ForeColor.
    flat.foreColor = 0x00010203;
    CHECK(describe(planMark(imageColumn(R, false), st(false, false, true), true, false, flat))[1] ==
          "glyph a 10,20,28,40 #010203 fmt37");
}

TEST_CASE("marks with ComplexChecks on: system check boxes and radio buttons, checked or not") {
    LookSettings sys = look();
    CHECK(describe(planItem(markItem(true), st(false), sys, R, false)) ==
          Lines{"fill 9,20,29,40 sys4", "box 0,0 at 13,23", "text 'Mark' 31,20,192,40 sys7"});
    CHECK(describe(planMark(imageColumn(R, false), st(false, false, true), false, false, sys)) ==
          Lines{"fill 9,20,29,40 sys4", "radio 13,13 at 13,23"});
    CHECK(describe(planMark(imageColumn(R, false), st(false, true, true), true, false, sys)) ==
          Lines{"fill 9,20,29,40 sys4", "box 39,0 at 13,23"});
    CHECK(describe(planMark(imageColumn(R, true), st(false, true, false), false, false, sys)) ==
          Lines{"fill 191,20,211,40 sys4", "radio 26,13 at 195,23"});
    // The widened ground joins the bar only with FullSelect and when enabled.
    CHECK(describe(planMark(imageColumn(R, false), st(true), true, false, sys))[0] == "fill 9,20,29,40 #C08040");
    CHECK(describe(planMark(imageColumn(R, false), st(true), true, false, look(false)))[0] == "fill 9,20,29,40 sys4");
    CHECK(describe(planMark(imageColumn(R, false), st(true, true), true, false, sys))[0] == "fill 9,20,29,40 sys4");
    // A plain item that is not checked keeps an empty column.
    ItemModel plain;
    plain.text = "Plain";
    CHECK(describe(planItem(plain, st(false), sys, R, false)) == Lines{"text 'Plain' 31,20,192,40 sys7"});
}

TEST_CASE("menu-bar items: flat ground, sunken frame when open, text pressed in") {
    ItemModel bar;
    bar.text = "&File";
    bar.mainMenu = true;
    CHECK(describe(planItem(bar, st(true), look(), R, false)) ==
          Lines{"fill 10,20,210,40 sys4", "edge 10,20,210,40 2/15", "text '&File' 12,21,212,41 sys7 bar"});
    CHECK(describe(planItem(bar, st(false, false, false, true), look(), R, false)) ==
          Lines{"fill 10,20,210,40 sys4", "fill 10,20,210,40 sys4", "text '&File' 10,20,210,40 sys7 bar"});
    CHECK(describe(planItem(bar, st(true, true), look(), R, false)) ==
          Lines{"fill 10,20,210,40 sys4", "text '&File' 11,21,211,41 sys20 bar", "text '&File' 10,20,210,40 sys17 bar"});
}

TEST_CASE("headings: etched line, engraved text in two passes; hidden items paint nothing") {
    ItemModel heading;
    heading.heading = true;
    heading.text = "CD Drives";
    CHECK(describe(planItem(heading, st(true), look(), R, false)) ==
          Lines{"edge 25,29,195,40 6/2", "heading ' CD Drives ' 11,21,211,41 sys22 opaque",
                "heading ' CD Drives ' 10,20,210,40 sys16"});
    heading.text.clear();
    CHECK(describe(planItem(heading, st(false), look(true, true), R, false)) == Lines{"edge 25,29,195,40 6/2"});

    ItemModel hidden = imageItem("!Hidden");
    hidden.trueSub = true;
    CHECK(planItem(hidden, st(true, false, true), look(), R, false).empty());
}

TEST_CASE("item text splits at the first tab; label and shortcut go to opposite ends") {
    const unsigned line = textfmt::kVCenter | textfmt::kSingleLine;
    MenuTextLayout ltr = layoutMenuText("&Open\tCtrl+O", true, false);
    CHECK(ltr.label == "&Open");
    CHECK(ltr.hasShortcut);
    CHECK(ltr.shortcut == "Ctrl+O");
    CHECK(ltr.labelFormat == (line | textfmt::kLeft));
    CHECK(ltr.shortcutFormat == (line | textfmt::kRight));

    MenuTextLayout rtl = layoutMenuText("A\tB\tC", true, true);
    CHECK(rtl.label == "A");
    CHECK(rtl.shortcut == "B\tC");
    CHECK(rtl.labelFormat == (line | textfmt::kRight));
    CHECK(rtl.shortcutFormat == (line | textfmt::kLeft));

    MenuTextLayout bar = layoutMenuText("&File", false, true);
    CHECK(bar.label == "&File");
    CHECK_FALSE(bar.hasShortcut);
    CHECK(bar.labelFormat == (line | textfmt::kCenter));

    // A tab at the very end still counts: an empty shortcut.
    MenuTextLayout trailing = layoutMenuText("Go\t", true, false);
    CHECK(trailing.hasShortcut);
    CHECK(trailing.shortcut.empty());
}
