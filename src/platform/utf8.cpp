#include "platform/utf8.h"

namespace lumivane {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool isSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

// The code point of the well-formed sequence at `at`, and its length; 0 for none.
std::size_t decodeUtf8(std::string_view s, std::size_t at, char32_t& cp) {
    const auto c = static_cast<unsigned char>(s[at]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    const std::size_t length = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > s.size()) return 0;
    cp = c & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[at + k]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and numbers beyond Unicode are not characters.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[length] || cp > 0x10FFFF || isSurrogate(cp)) return 0;
    return length;
}

template <class Unit>
std::string fromUnits(std::size_t count, Unit unit) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            const char32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, isSurrogate(u) ? kReplacement : u);
    }
    return out;
}
} // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = kReplacement;
        const std::size_t length = decodeUtf8(utf8, i, cp);
        i += length ? length : 1;
        if (!length) cp = kReplacement;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return fromUnits(utf16.size(), [&](std::size_t i) { return static_cast<char32_t>(utf16[i]); });
}

std::string utf16LeToUtf8(std::string_view bytes) {
    return fromUnits(bytes.size() / 2, [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    });
}

std::string utf16BeToUtf8(std::string_view bytes) {
    return fromUnits(bytes.size() / 2, [&](std::size_t i) {
        return static_cast<char32_t>((static_cast<unsigned char>(bytes[2 * i]) << 8) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]));
    });
}

} // namespace lumivane
