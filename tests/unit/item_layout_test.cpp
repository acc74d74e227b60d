#include "coolmenu/item_layout.h"
#include "coolmenu/paint_plan.h"

#include <doctest/doctest.h>

#include <cstdio>

using namespace lumivane::coolmenu;
using Lines = std::vector<std::string>;

namespace {
std::string str(const Point& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string str(const Rect& r) { return str(Point{r.left, r.top}) + "," + str(Point{r.right, r.bottom}); }
std::string str(const Colour& c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, c.system ? "sys%u" : "#%06X", static_cast<unsigned>(c.value));
    return buf;
}

struct Describe {
    std::string operator()(const FillOp& o) { return "fill " + str(o.rect) + " " + str(o.colour); }
    std::string operator()(const DitherOp& o) {
        return "dither " + str(o.rect) + " " + str(o.back) + "/" + str(o.fore);
    }
    std::string operator()(const EdgeOp& o) {
        return "edge " + str(o.rect) + " " + std::to_string(o.edge) + "/" + std::to_string(o.sides);
    }
    std::string operator()(const IconOp& o) {
        return (o.disabled ? "embossed icon " : "icon ") + std::to_string(o.image) + " at " + str(o.at);
    }
    std::string operator()(const CheckCellOp& o) {
        return (o.radio ? "radio " : "box ") + str(o.source) + " at " + str(o.at);
    }
    std::string operator()(const ItemTextOp& o) {
        return "text '" + o.text + "' " + str(o.rect) + " " + str(o.colour) + (o.popup ? "" : " bar") +
               (o.rightToLeft ? " rtl" : "");
    }
    std::string operator()(const HeadingTextOp& o) {
        return "heading '" + o.text + "' " + str(o.rect) + " " + str(o.colour) + (o.opaque ? " opaque" : "");
    }
    std::string operator()(const GlyphOp& o) {
        return std::string("glyph ") + o.glyph + " " + str(o.rect) + " " + str(o.colour) + " " +
               std::to_string(o.format);
    }
    std::string operator()(const ExcludeClipOp& o) { return "exclude " + str(o.rect); }
};

Lines describe(const PaintPlan& plan) {
    Lines out;
    for (const auto& op : plan) out.push_back(std::visit(Describe{}, op));
    return out;
}

constexpr std::uint32_t kSelect = 0x00C08040;
const Rect R{10, 20, 210, 40};
const LookSettings kLook{.selectColor = kSelect};
const LookSettings kFlatMarks{.complexChecks = false, .selectColor = kSelect};
const ItemModel kEject{.text = "Eject", .image = 4};
const ItemModel kMark{.text = "Mark", .asMark = true, .asCheck = true};
const ItemModel kPlain{.text = "Plain"};

Lines plan(const ItemModel& m, const ItemState& s, const LookSettings& l = kLook) {
    return describe(planItem(m, s, l, R, false));
}
} // namespace

TEST_CASE("items ask for their text's width plus the columns, headings for a line, hidden items nothing") {
    std::vector<std::string> asked;
    TextMeasure measure = [&](std::string_view s) {
        asked.emplace_back(s);
        return Size{7 * static_cast<int>(s.size()), 13};
    };
    MenuMetrics m{19, 13};
    // 11 characters, tab included; 42 for the columns less the check width; at least the menu bar's height.
    CHECK(measureItem({.text = "Open\tCtrl+O", .image = 1}, m, measure) == Size{77 + 42 - 13, 19});
    asked.clear();
    // The height of "A" plus one beats half the menu bar; half a tall bar beats the text.
    CHECK(measureItem({.text = "!", .heading = true}, m, measure) == Size{0, 14});
    CHECK(asked == Lines{"A"});
    CHECK(measureItem({.text = "x", .heading = true}, {41, 13}, measure) == Size{0, 20});
    CHECK(measureItem({.text = "!Secret", .image = 1}, m, measure) == Size{0, 0});
}

TEST_CASE("an item with an image: column, icon, selection bar and text colour in every state") {
    CHECK(plan(kEject, {.selected = true}) == Lines{"fill 10,20,28,40 sys4", "edge 10,20,28,40 4/15", "icon 5 at 11,22",
                                                    "fill 29,20,210,40 #C08040", "text 'Eject' 31,20,192,40 sys14"});
    CHECK(plan(kEject, {.checked = true}) == Lines{"fill 10,20,28,40 sys22", "edge 10,20,28,40 2/15",
                                                   "icon 5 at 11,22", "text 'Eject' 31,20,192,40 sys7"});
    CHECK(plan(kEject, {.selected = true, .grayed = true}) ==
          Lines{"embossed icon 5 at 11,22", "text 'Eject' 32,21,193,41 sys20", "text 'Eject' 31,20,192,40 sys17"});
    // Losing the selection erases the bar.
    CHECK(plan(kEject, {.actionSelect = true}) == Lines{"fill 10,20,28,40 sys4", "icon 5 at 11,22",
                                                        "fill 29,20,210,40 sys4", "text 'Eject' 31,20,192,40 sys7"});
    // Without an image the bar covers the column too.
    CHECK(plan(kPlain, {.selected = true}) == Lines{"fill 10,20,210,40 #C08040", "text 'Plain' 31,20,192,40 sys14"});
    CHECK(plan(kEject, {.selected = true}, {.rightToLeft = true, .selectColor = kSelect})[3] ==
          "fill 10,20,191,40 #C08040");
}

TEST_CASE("marks: a glyph on a dither in a sunken frame, only when checked; headings; hidden items") {
    CHECK(plan(kMark, {}, kFlatMarks) == Lines{"text 'Mark' 31,20,192,40 sys7"});
    CHECK(plan(kMark, {.checked = true}, kFlatMarks) ==
          Lines{"dither 10,20,28,40 sys4/sys20", "glyph a 10,20,28,40 sys7 37", "edge 10,20,28,40 2/15",
                "text 'Mark' 31,20,192,40 sys7"});
    // Selected: a plain ground under a bullet (a checked item without "#"), the bar beside it.
    CHECK(plan(kPlain, {.selected = true, .checked = true}, kFlatMarks) ==
          Lines{"fill 10,20,28,40 sys4", "glyph h 10,20,28,40 sys7 37", "edge 10,20,28,40 2/15",
                "fill 29,20,210,40 #C08040", "text 'Plain' 31,20,192,40 sys14"});
    CHECK(plan(kMark, {.grayed = true, .checked = true}, kFlatMarks) ==
          Lines{"dither 10,20,28,40 sys4/sys20", "glyph a 11,21,29,41 sys20 37", "glyph a 10,20,28,40 sys17 37",
                "edge 10,20,28,40 2/15", "text 'Mark' 32,21,193,41 sys20", "text 'Mark' 31,20,192,40 sys17"});
    CHECK(plan(kMark, {.grayed = true, .checked = true})[1] == "box 39,0 at 13,23");  // the system's cell

    // Headings: an etched line and engraved text; hidden items paint nothing.
    CHECK(plan({.text = "CD Drives", .heading = true}, {.selected = true}) ==
          Lines{"edge 25,29,195,40 6/2", "heading ' CD Drives ' 11,21,211,41 sys22 opaque",
                "heading ' CD Drives ' 10,20,210,40 sys16"});
    CHECK(plan({.heading = true}, {}) == Lines{"edge 25,29,195,40 6/2"});
    CHECK(plan({.text = "!Hidden", .trueSub = true, .image = 1}, {.selected = true, .checked = true}).empty());
}
