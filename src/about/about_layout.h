#pragma once
#include "platform/twips.h"

#include <string>
#include <vector>

namespace lumivane::about {

enum class ControlKind { Button, Picture, Label };

// Control identifiers. OK is the dialog's IDOK, so Enter presses it.
namespace control_id {
inline constexpr int kOk = 1;
inline constexpr int kIcon = 101;
inline constexpr int kSystemInfo = 102;
inline constexpr int kThanks = 103;
inline constexpr int kTitle = 104;
inline constexpr int kVersion = 105;
inline constexpr int kWebLink = 106;
inline constexpr int kMailLink = 107;
inline constexpr int kCredit1 = 108;
inline constexpr int kCredit2 = 109;
inline constexpr int kSecret = 110;
} // namespace control_id

using Rect = LayoutRect;

struct DesignedControl {
    const char* name;
    int id;
    ControlKind kind;
    std::string text;
    Rect twips;
};

// The dialog's controls in tab order, placed in twips as designed.
const std::vector<DesignedControl>& aboutControls();
const DesignedControl* findControl(int id);

inline constexpr int kClientWidthTwips = 5730;
inline constexpr int kClientHeightTwips = 3555;
// The etched rule above the credits: a grey line with a white line below it.
inline constexpr Rect kRuleTwips{84, 2415, 5560, 15};
inline constexpr int kLabelFontPointsX100 = 825;   // the labels' and buttons' font
inline constexpr int kSecretFontPointsX100 = 975;  // the secret label, bold


struct PlacedControl {
    const DesignedControl* control;
    Rect pixels;
};

struct AboutLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<PlacedControl> controls;
    Rect greyLine;   // one line thick
    Rect whiteLine;  // just below the grey one, as thick
    int labelFontHeight = 0;
    int secretFontHeight = 0;
};

AboutLayout layOutAbout(int dpi);

} // namespace lumivane::about
