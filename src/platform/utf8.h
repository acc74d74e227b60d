#pragma once
#include <string>
#include <string_view>

namespace lumivane {

// Appends one code point in UTF-8; registry texts arrive as UTF-16 and travel
// as UTF-8 inside the program.
void appendUtf8(std::string& out, char32_t cp);

// UTF-16LE bytes as UTF-8, whatever a program stored: an odd last byte is
// dropped and a lone surrogate becomes U+FFFD.
std::string utf16LeToUtf8(std::string_view bytes);

} // namespace lumivane
