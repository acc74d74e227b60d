#pragma once
#include <cstdint>

namespace lumivane::coolmenu {

// The looks a popup is drawn in: the classic light one, a dark one for users
// whose apps use the dark theme, and the user's own high-contrast colours.
enum class Theme { light, dark, highContrast };

// System colour indices, as GetSysColor numbers them.
namespace syscolor {
inline constexpr int kMenu = 4;
inline constexpr int kMenuText = 7;
inline constexpr int kHighlight = 13;
inline constexpr int kHighlightText = 14;
inline constexpr int kButtonShadow = 16;
inline constexpr int kGrayText = 17;
inline constexpr int kHilight3D = 20;
inline constexpr int kLight3D = 22;
} // namespace syscolor

// Either a system colour index or a fixed 0x00BBGGRR value.
struct Colour {
    bool system = true;
    std::uint32_t value = 0;
    static Colour sys(int index) { return {true, static_cast<std::uint32_t>(index)}; }
    static Colour rgb(std::uint32_t bgr) { return {false, bgr}; }
    bool operator==(const Colour&) const = default;
};

// 0x00BBGGRR from its three channels, as the RGB macro makes it.
constexpr std::uint32_t bgr(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

// The relative luminance of an sRGB colour (0x00BBGGRR), 0 for black to 1
// for white, as the Web Content Accessibility Guidelines define it.
double relativeLuminance(std::uint32_t colour);

// The contrast ratio of two colours, from 1 (the same) to 21 (black on
// white); the order does not matter. WCAG AA asks 4.5 for text and 3 for
// lines and other non-text marks.
double contrastRatio(std::uint32_t a, std::uint32_t b);

} // namespace lumivane::coolmenu
