#include "shell/shortcut_key.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>
#include <vector>

using namespace lumivane;
using namespace lumivane::shortcut_key;

TEST_CASE("shortcut key names: read in any case and order, written in one, with RegisterHotKey's flags") {
    constexpr unsigned kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8;
    struct Row {
        std::string stored;
        std::optional<std::string> shown;  // nothing: not a key the program takes
        unsigned hotKeyFlags = 0;
        unsigned virtualKey = 0;
    };
    const std::vector<Row> table = {
        {"Ctrl+Alt+L", "Ctrl+Alt+L", kModControl | kModAlt, 'L'},
        {"alt+CTRL+l", "Ctrl+Alt+L", kModControl | kModAlt, 'L'},
        {"Win+Shift+F9", "Shift+Win+F9", kModShift | kModWin, 0x78},
        {" Alt + PAGEDOWN ", "Alt+PageDown", kModAlt, 0x22},
        {"Shift+Win+Ctrl+Alt+f24", "Ctrl+Alt+Shift+Win+F24", kModControl | kModAlt | kModShift | kModWin, 0x87},
        {"Ctrl+0", "Ctrl+0", kModControl, '0'},
        {"Win+9", "Win+9", kModWin, '9'},
        {"Ctrl+F1", "Ctrl+F1", kModControl, 0x70},
        {"win+space", "Win+Space", kModWin, 0x20},
        {"Ctrl+PageUp", "Ctrl+PageUp", kModControl, 0x21},
        {"Ctrl+End", "Ctrl+End", kModControl, 0x23},
        {"Ctrl+Home", "Ctrl+Home", kModControl, 0x24},
        {"Alt+Left", "Alt+Left", kModAlt, 0x25},
        {"Alt+Up", "Alt+Up", kModAlt, 0x26},
        {"Alt+Right", "Alt+Right", kModAlt, 0x27},
        {"Alt+Down", "Alt+Down", kModAlt, 0x28},
        {"Ctrl+Insert", "Ctrl+Insert", kModControl, 0x2D},
        {"Ctrl+Alt+Delete", "Ctrl+Alt+Delete", kModControl | kModAlt, 0x2E},
        // No shortcut key.
        {"", "None"},
        {"none", "None"},
        {" None ", "None"},
        // Not taken: left alone where stored.
        {"L", std::nullopt},
        {"Shift+L", std::nullopt},
        {"Shift+F9", std::nullopt},
        {"Ctrl+Alt", std::nullopt},
        {"Ctrl+L+K", std::nullopt},
        {"Ctrl+F25", std::nullopt},
        {"Ctrl+F0", std::nullopt},
        {"Ctrl+Alt+", std::nullopt},
        {"+Ctrl+L", std::nullopt},
        {"Hyper+L", std::nullopt},
        {"Ctrl+Tab", std::nullopt},
        {"Ctrl+;", std::nullopt},
        {"Ctrl+Alt+L;", std::nullopt},
        {"Control+L", std::nullopt},
        {"None+Ctrl+L", std::nullopt},
    };
    for (const Row& row : table) {
        CAPTURE(row.stored);
        const std::optional<ShortcutKey> read = parse(row.stored);
        REQUIRE(read.has_value() == row.shown.has_value());
        if (!read) continue;
        CHECK(format(*read) == *row.shown);
        CHECK(read->key == row.virtualKey);
        CHECK(toHotKeyFlags(read->modifiers) == row.hotKeyFlags);
        CHECK(fromHotKeyFlags(row.hotKeyFlags) == read->modifiers);
        CHECK(parse(format(*read)) == read);  // as stored, read back the same
    }
}

TEST_CASE("the box: a combination with Ctrl, Alt or Win is recorded, Backspace or Delete alone clears it") {
    const unsigned kBackspace = 0x08, kDelete = 0x2E, kControlKey = 0x11, kLeftWin = 0x5B, kTab = 0x09;
    const struct {
        unsigned modifiers;
        unsigned virtualKey;
        std::optional<std::string> shown;  // nothing: the box keeps what it showed
    } presses[] = {
        {kCtrl | kAlt, 'L', "Ctrl+Alt+L"},
        {kWin | kShift, 0x78, "Shift+Win+F9"},
        {0, kBackspace, "None"},
        {0, kDelete, "None"},
        {kCtrl, kDelete, "Ctrl+Delete"},
        {kShift, kBackspace, std::nullopt},
        {0, 'L', std::nullopt},
        {kShift, 'L', std::nullopt},
        {kCtrl, kControlKey, std::nullopt},  // a modifier alone, still held
        {kWin, kLeftWin, std::nullopt},
        {kAlt, kTab, std::nullopt},
    };
    for (const auto& press : presses) {
        CAPTURE(press.modifiers);
        CAPTURE(press.virtualKey);
        const auto shown = pressedInBox(press.modifiers, press.virtualKey);
        CHECK((shown ? std::optional<std::string>(format(*shown)) : std::nullopt) == press.shown);
    }
    CHECK(inUseText({kCtrl | kAlt, 'L'}) == "Ctrl+Alt+L is in use by another program.");
    CHECK(inUseAtStartText({kCtrl | kAlt, 'L'}) ==
          "The shortcut key Ctrl+Alt+L is in use by another program. Choose another in Customize.");
}
