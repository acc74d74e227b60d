#pragma once
#include "coolmenu/image_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane::coolmenu {

// What a caption's markers say about an item.
struct ParsedCaption {
    std::string text;        // what is drawn
    std::string help;        // between the two "|"
    bool heading = false;    // "-": drawn as a section heading
    bool asMark = false;     // "#", "*" or "&" + digit + blank
    bool asCheck = false;    // "#"
};

// Reads the marker language of a caption. Empty when the caption opens a help
// part with "|" and never closes it.
std::optional<ParsedCaption> parseCaption(std::string_view caption);

// The caption that parses back to the same item: marker, help part, text.
std::string rebuildCaption(const std::string& text, const std::string& help, bool asMark, bool asCheck,
                           bool heading);

// The 0-based index of the first image whose tag begins the text (or that the
// text begins), compared without regard to case; -1 without a match or list.
int imageIndexFor(const MenuImages* images, std::string_view text);

// Upper case of one code point, for ASCII and Latin-1 letters.
char32_t upperCase(char32_t c);

// Decodes the code point at i and moves i past it; malformed bytes come out
// one at a time as themselves.
char32_t nextCodePoint(std::string_view s, size_t& i);

} // namespace lumivane::coolmenu
