#pragma once
#include <string>
#include <string_view>

namespace lumivane::coolmenu {

// The name an open owner-drawn item carries as its menu string, which is what
// screen readers announce for it: the words the user sees. text is what the
// item draws (its caption without markers and help part); heading says it is
// drawn as a section heading.
// - "&&" stays as written: as a menu string it shows one "&", as drawn.
// - A single "&" only underlines the letter after it, so it is left out: the
//   window system would otherwise match typed letters against the string
//   itself instead of asking the engine (WM_MENUCHAR).
// - "!" at the start hides an item; the name leaves the marker out.
// - A heading loses its surrounding blanks and its letter spacing:
//   " F o l d e r s " is named "Folders", "C D  D r i v e s" "CD Drives".
std::string accessibleName(std::string_view text, bool heading);

// Words spaced out letter by letter ("L u m i v a n e", two or more blanks
// between words) as plain words; any other text only without its
// surrounding blanks.
std::string withoutLetterSpacing(std::string_view text);

} // namespace lumivane::coolmenu
