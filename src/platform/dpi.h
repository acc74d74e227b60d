#pragma once

// Lengths designed for 96 dots per inch (100 %) taken to another resolution.
namespace lumivane {

inline constexpr int kDefaultDpi = 96;

// To the nearest pixel, a half away from zero as MulDiv rounds, so that what
// is scaled here and what the system scales agree.
inline int scaleToDpi(int pixelsAt96, int dpi) {
    long long scaled = static_cast<long long>(pixelsAt96) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kDefaultDpi / 2) / kDefaultDpi
                                        : (scaled - kDefaultDpi / 2) / kDefaultDpi);
}

// A resolution the system reported, or 96 when it reported nothing usable
// (0 from a function older systems lack, or a failed call).
inline int usableDpi(int dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

} // namespace lumivane
