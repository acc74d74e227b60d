#include "about/about_layout.h"

#include "about/about_links.h"

namespace lumivane::about {

const std::vector<DesignedControl>& aboutControls() {
    using K = ControlKind;
    namespace id = control_id;
    static const std::vector<DesignedControl> controls{
        {"ok", id::kOk, K::Button, "OK", {4245, 2625, 1260, 345}},
        {"icon", id::kIcon, K::Picture, "", {240, 240, 480, 480}},
        {"systemInfo", id::kSystemInfo, K::Button, "&System Info...", {4260, 3075, 1245, 345}},
        {"thanks", id::kThanks, K::Label, "Thanks to: ", {255, 2625, 3630, 225}},
        {"title", id::kTitle, K::Label, "Lumivane By Orrindale", {1080, 240, 3795, 240}},
        {"version", id::kVersion, K::Label, "Version 1.0", {1080, 600, 3885, 225}},
        {"webLink", id::kWebLink, K::Label, kWebPageAddress, {1080, 1440, 2295, 255}},
        {"mailLink", id::kMailLink, K::Label, std::string("email: ") + kMailAddress, {1080, 1739, 2295, 255}},
        {"credit1", id::kCredit1, K::Label, kCreditLine1, {255, 2850, 3630, 225}},
        {"credit2", id::kCredit2, K::Label, kCreditLine2, {255, 3075, 3630, 225}},
        {"secret", id::kSecret, K::Label, "This is The Secret", {3720, 1680, 1575, 495}},
    };
    return controls;
}

const DesignedControl* findControl(int id) {
    for (const auto& c : aboutControls())
        if (c.id == id) return &c;
    return nullptr;
}

AboutLayout layOutAbout(int dpi) {
    if (dpi <= 0) dpi = 96;
    AboutLayout layout;
    layout.clientWidth = twipsToPixels(kClientWidthTwips, dpi);
    layout.clientHeight = twipsToPixels(kClientHeightTwips, dpi);
    for (const auto& c : aboutControls()) layout.controls.push_back({&c, twipsToPixels(c.twips, dpi)});

    Rect rule = twipsToPixels(kRuleTwips, dpi);
    int thickness = dpi >= 192 ? dpi / 96 : 1;
    layout.greyLine = {rule.left, rule.top, rule.width, thickness};
    layout.whiteLine = {rule.left, rule.top + thickness, rule.width, thickness};
    layout.labelFontHeight = -pointsToPixels(kLabelFontPointsX100, dpi);
    layout.secretFontHeight = -pointsToPixels(kSecretFontPointsX100, dpi);
    return layout;
}

} // namespace lumivane::about
