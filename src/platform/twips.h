#pragma once

// Windows are designed in twips (1440 to the inch, 15 to a pixel at 96 dots
// per inch) and fonts in points; both become pixels at the screen's
// resolution so that the windows keep their proportions at any dpi.
namespace lumivane {

inline constexpr int kTwipsPerInch = 1440;

// To the nearest pixel, a half away from zero as MulDiv rounds.
inline int twipsToPixels(int twips, int dpi) {
    long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                        : (scaled - kTwipsPerInch / 2) / kTwipsPerInch);
}

// Character height in pixels of a font given in hundredths of a point
// (8.25 pt = 825); a LOGFONT asks for it negated.
inline int pointsToPixels(int hundredthsOfPoint, int dpi) {
    return static_cast<int>((static_cast<long long>(hundredthsOfPoint) * dpi + 3600) / 7200);
}

// A control's place: its corner and size, in twips or in pixels.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Edges are converted rather than sizes, so that neighbouring controls never
// drift apart when the resolution is not a multiple of 96.
inline LayoutRect twipsToPixels(const LayoutRect& twips, int dpi) {
    int left = twipsToPixels(twips.left, dpi);
    int top = twipsToPixels(twips.top, dpi);
    return {left, top, twipsToPixels(twips.left + twips.width, dpi) - left,
            twipsToPixels(twips.top + twips.height, dpi) - top};
}

} // namespace lumivane
