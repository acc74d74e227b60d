#pragma once
#include <string>
#include <string_view>

// The program's one conversion between its UTF-8 strings and the UTF-16 of
// the system's W functions, its registry texts and its tray record.
namespace lumivane {

// Appends one code point in UTF-8.
void appendUtf8(std::string& out, char32_t cp);

// A byte that does not begin or continue a well-formed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

// UTF-16LE bytes as UTF-8, whatever a program stored: an odd last byte is
// dropped and a lone surrogate becomes U+FFFD.
std::string utf16LeToUtf8(std::string_view bytes);
// The same for UTF-16BE bytes (Notepad's "Unicode big endian").
std::string utf16BeToUtf8(std::string_view bytes);

} // namespace lumivane
