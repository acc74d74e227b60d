#include "shell/shortcut_key.h"


namespace lumivane::shortcut_key {

namespace {

struct Modifier {
    unsigned bit;
    unsigned hotKeyFlag;  // MOD_CONTROL, MOD_ALT, MOD_SHIFT, MOD_WIN
    std::string_view name;
};
// In the order they are written.
constexpr Modifier kModifiers[] = {{kCtrl, 0x2, "Ctrl"}, {kAlt, 0x1, "Alt"}, {kShift, 0x4, "Shift"}, {kWin, 0x8, "Win"}};

struct NamedKey {
    unsigned virtualKey;
    std::string_view name;
};
constexpr NamedKey kNamedKeys[] = {{0x20, "Space"}, {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "End"},
                                   {0x24, "Home"},  {0x25, "Left"},   {0x26, "Up"},       {0x27, "Right"},
                                   {0x28, "Down"},  {0x2D, "Insert"}, {0x2E, "Delete"}};
constexpr unsigned kBackspace = 0x08, kDelete = 0x2E, kF1 = 0x70, kF24 = 0x87;

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view word) {
    while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    return word;
}

std::optional<unsigned> keyCalled(std::string_view name) {
    for (unsigned key = 1; key < 256; ++key)
        if (const std::string known = keyName(key); !known.empty() && sameIgnoringCase(known, name)) return key;
    return std::nullopt;
}

} // namespace

unsigned toHotKeyFlags(unsigned modifiers) {
    unsigned flags = 0;
    for (const Modifier& m : kModifiers)
        if (modifiers & m.bit) flags |= m.hotKeyFlag;
    return flags;
}

unsigned fromHotKeyFlags(unsigned flags) {
    unsigned modifiers = 0;
    for (const Modifier& m : kModifiers)
        if (flags & m.hotKeyFlag) modifiers |= m.bit;
    return modifiers;
}

std::string keyName(unsigned virtualKey) {
    for (const NamedKey& named : kNamedKeys)
        if (named.virtualKey == virtualKey) return std::string(named.name);
    if (virtualKey >= kF1 && virtualKey <= kF24) return "F" + std::to_string(virtualKey - kF1 + 1);
    // Letters and digits: their code is their character.
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return std::string(1, static_cast<char>(virtualKey));
    return {};
}

std::string format(ShortcutKey shortcut) {
    if (shortcut.key == 0) return "None";
    std::string text;
    for (const Modifier& m : kModifiers)
        if (shortcut.modifiers & m.bit) (text += m.name) += '+';
    return text += keyName(shortcut.key);
}

std::optional<ShortcutKey> parse(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || sameIgnoringCase(text, "None")) return ShortcutKey{};
    ShortcutKey shortcut;
    while (true) {
        const size_t plus = text.find('+');
        const std::string_view word = trimmed(text.substr(0, plus));
        const Modifier* modifier = nullptr;
        for (const Modifier& m : kModifiers)
            if (sameIgnoringCase(m.name, word)) modifier = &m;
        if (modifier) {
            shortcut.modifiers |= modifier->bit;
        } else {
            auto key = keyCalled(word);
            if (!key || shortcut.key != 0) return std::nullopt;  // unknown, or a second key
            shortcut.key = *key;
        }
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    if (!usable(shortcut)) return std::nullopt;
    return shortcut;
}

bool usable(ShortcutKey shortcut) {
    return !keyName(shortcut.key).empty() && (shortcut.modifiers & (kCtrl | kAlt | kWin)) != 0;
}

std::optional<ShortcutKey> pressedInBox(unsigned modifiers, unsigned virtualKey) {
    if (modifiers == 0 && (virtualKey == kBackspace || virtualKey == kDelete)) return ShortcutKey{};
    ShortcutKey shortcut{modifiers, virtualKey};
    if (!usable(shortcut)) return std::nullopt;
    return shortcut;
}

std::string inUseText(ShortcutKey shortcut) {
    return format(shortcut) + " is in use by another program.";
}

std::string inUseAtStartText(ShortcutKey shortcut) {
    return "The shortcut key " + inUseText(shortcut) + " Choose another in Customize.";
}

} // namespace lumivane::shortcut_key
