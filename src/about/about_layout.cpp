#include "about/about_layout.h"

#include "about/about_links.h"

namespace lumivane::about {

const std::vector<DesignedControl>& AboutControls() {
    using K = ControlKind;
    namespace id = control_id;
    static const std::vector<DesignedControl> controls{
        {"cmdOK", id::cmdOK, K::Button, "OK", {4245, 2625, 1260, 345}},
        {"picIcon", id::picIcon, K::Picture, "", {240, 240, 480, 480}},
        {"cmdSysInfo", id::cmdSysInfo, K::Button, "&System Info...", {4260, 3075, 1245, 345}},
        {"lblDisclaimer", id::lblDisclaimer, K::Label, "Thanks to: ", {255, 2625, 3630, 225}},
        {"lblTitle", id::lblTitle, K::Label, "Lumivane By Orrindale", {1080, 240, 3795, 240}},
        {"lblVersion", id::lblVersion, K::Label, "Version 1.0", {1080, 600, 3885, 225}},
        {"lblWebPage", id::lblWebPage, K::Label, kWebPageAddress, {1080, 1440, 2295, 255}},
        {"Label2", id::Label2, K::Label, std::string("email: ") + kMailAddress, {1080, 1739, 2295, 255}},
        {"Label3", id::Label3, K::Label, kCreditLine1, {255, 2850, 3630, 225}},
        {"Label4", id::Label4, K::Label, kCreditLine2, {255, 3075, 3630, 225}},
        {"Label5", id::Label5, K::Label, "This is The Secret", {3720, 1680, 1575, 495}},
    };
    return controls;
}

const DesignedControl* FindControl(int id) {
    for (const auto& c : AboutControls())
        if (c.id == id) return &c;
    return nullptr;
}

AboutLayout LayOutAbout(int dpi) {
    if (dpi <= 0) dpi = 96;
    AboutLayout layout;
    layout.clientWidth = TwipsToPixels(kClientWidthTwips, dpi);
    layout.clientHeight = TwipsToPixels(kClientHeightTwips, dpi);
    for (const auto& c : AboutControls()) layout.controls.push_back({&c, TwipsToPixels(c.twips, dpi)});

    Rect rule = TwipsToPixels(kRuleTwips, dpi);
    int thickness = dpi >= 192 ? dpi / 96 : 1;
    layout.greyLine = {rule.left, rule.top, rule.width, thickness};
    layout.whiteLine = {rule.left, rule.top + thickness, rule.width, thickness};
    layout.labelFontHeight = -PointsToPixels(kLabelFontPointsX100, dpi);
    layout.secretFontHeight = -PointsToPixels(kSecretFontPointsX100, dpi);
    return layout;
}

} // namespace lumivane::about
