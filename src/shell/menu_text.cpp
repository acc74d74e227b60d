#include "shell/menu_text.h"

#include <cstddef>

namespace lumivane::menu_text {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t characterCount(std::string_view s) {
    std::size_t count = 0;
    for (char c : s)
        if (!isContinuationByte(c)) ++count;
    return count;
}

// Byte length of the first n characters of s.
std::size_t bytesOfFirst(std::string_view s, std::size_t n) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!isContinuationByte(s[i])) {
            if (seen == n) return i;
            ++seen;
        }
    }
    return s.size();
}

constexpr std::size_t kShortestShortened = 4;
constexpr std::size_t kLongestName = 20;

} // namespace

std::optional<std::string> shortenedPath(std::string_view path) {
    if (characterCount(path) < kShortestShortened) return std::nullopt;
    std::string_view name = path;
    std::size_t slash = name.rfind('\\');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    std::string shortened;
    if (characterCount(name) >= kLongestName)
        shortened = std::string(name.substr(0, bytesOfFirst(name, kLongestName))) + "...";
    else
        shortened = std::string(name);
    return shortened;
}

std::string doubleAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

} // namespace lumivane::menu_text
