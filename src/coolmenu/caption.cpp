#include "coolmenu/caption.h"

namespace lumivane::coolmenu {

std::optional<ParsedCaption> parseCaption(std::string_view caption) {
    ParsedCaption out;
    out.text = std::string(caption);
    bool hasHelp = false;
    size_t open = caption.find('|');
    if (open != std::string_view::npos) {
        size_t close = caption.find('|', open + 1);
        if (close == std::string_view::npos) return std::nullopt;
        out.help = std::string(caption.substr(open + 1, close - open - 1));
        out.text = std::string(caption.substr(close + 1));
        hasHelp = true;
    }
    // The marker is always the caption's first character, even when the help
    // part has already cut it off the text.
    char first = caption.empty() ? '\0' : caption[0];
    if (first == '-') {
        out.heading = true;
        if (!hasHelp) out.text.erase(0, 1);
    }
    if (first == '#' || first == '*') {
        out.asMark = true;
        out.asCheck = first == '#';
        if (!hasHelp) out.text.erase(0, 1);
    } else if (caption.size() >= 3 && caption[0] == '&' && caption[1] >= '1' && caption[1] <= '9' &&
               caption[2] == ' ') {
        out.asMark = true;
        out.asCheck = false;
    }
    return out;
}

std::string rebuildCaption(const std::string& text, const std::string& help, bool asMark, bool asCheck,
                           bool heading) {
    std::string caption;
    if (asMark)
        caption.push_back(asCheck ? '#' : '*');
    else if (heading)
        caption.push_back('-');
    // Without a help part the text itself is read for a marker and for "|":
    // an empty help part keeps such a text as it is.
    bool textLooksMarked = !text.empty() && (text[0] == '-' || text[0] == '#' || text[0] == '*' ||
                                             (text.size() >= 3 && text[0] == '&' && text[1] >= '1' &&
                                              text[1] <= '9' && text[2] == ' '));
    if (!help.empty() || text.find('|') != std::string::npos || (caption.empty() && textLooksMarked)) {
        caption += '|';
        caption += help;
        caption += '|';
    }
    caption += text;
    return caption;
}

char32_t nextCodePoint(std::string_view s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    int extra = c >= 0xF8 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra > 0 && i + static_cast<size_t>(extra) < s.size()) {
        char32_t cp = c & (0x3F >> extra);
        bool ok = true;
        for (size_t k = 1; k <= static_cast<size_t>(extra) && ok; ++k) {
            ok = (byte(i + k) & 0xC0) == 0x80;
            cp = (cp << 6) | (byte(i + k) & 0x3F);
        }
        if (ok) {
            i += static_cast<size_t>(extra) + 1;
            return cp;
        }
    }
    ++i;
    return c;
}

char32_t upperCase(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    return c;
}

int imageIndexFor(const MenuImages* images, std::string_view text) {
    if (!images) return -1;
    for (int n = 1; n <= images->count(); ++n) {
        std::string tag = images->tag(n);
        if (tag.empty()) continue;
        // Walking both strings to the end of the shorter compares the first
        // min(length) characters.
        size_t i = 0, j = 0;
        bool equal = true;
        while (i < text.size() && j < tag.size()) {
            if (upperCase(nextCodePoint(text, i)) != upperCase(nextCodePoint(tag, j))) {
                equal = false;
                break;
            }
        }
        if (equal) return n - 1;
    }
    return -1;
}

} // namespace lumivane::coolmenu
