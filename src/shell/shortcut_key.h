#pragma once
#include <optional>
#include <string>
#include <string_view>

// The key combination that opens the menu from anywhere, as the user names it
// ("Ctrl+Alt+L") and as RegisterHotKey takes it (modifier flags and a
// virtual-key code).
namespace lumivane {

struct ShortcutKey {
    unsigned modifiers = 0;  // shortcut_key::kCtrl, kAlt, kShift, kWin
    unsigned key = 0;        // the virtual-key code; 0: no shortcut key
    bool operator==(const ShortcutKey&) const = default;
};

namespace shortcut_key {

inline constexpr unsigned kCtrl = 1, kAlt = 2, kShift = 4, kWin = 8;
// RegisterHotKey's MOD_NOREPEAT: a key held down opens the menu once.
inline constexpr unsigned kNoRepeat = 0x4000;
// The per-user value it is stored in.
inline constexpr std::string_view kSubkey = "Software\\Lumivane";
inline constexpr std::string_view kValueName = "MenuShortcut";

// The modifiers as RegisterHotKey's MOD_ flags, and back.
unsigned toHotKeyFlags(unsigned modifiers);
unsigned fromHotKeyFlags(unsigned flags);

// A key's name ("L", "F9", "PageUp"), "" for a key that cannot be chosen.
std::string keyName(unsigned virtualKey);
// Modifiers in the order Ctrl, Alt, Shift, Win, then the key, joined by "+";
// "None" for no key.
std::string format(ShortcutKey shortcut);
// A stored or typed name, in any case and any order of its parts: a key with
// Ctrl, Alt or Win, or no key for "", "None". Nothing for anything else.
std::optional<ShortcutKey> parse(std::string_view text);
// A key the program can take: one it can name, with Ctrl, Alt or Win (Shift
// alone would take a letter from every program's typing).
bool usable(ShortcutKey shortcut);

// What the shortcut-key box shows after a key is pressed in it with these
// modifiers down: the combination, or no key for Backspace or Delete alone;
// nothing when the key changes nothing.
std::optional<ShortcutKey> pressedInBox(unsigned modifiers, unsigned virtualKey);

// What is said when Windows refuses the key: beside the box, and at start.
std::string inUseText(ShortcutKey shortcut);
std::string inUseAtStartText(ShortcutKey shortcut);

} // namespace shortcut_key
} // namespace lumivane
