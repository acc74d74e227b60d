#include "actions/cover_window.h"

#include "platform/desktop.h"

#include <cmath>

namespace lumivane {

int roundHalfEven(double value) {
    double lower = std::floor(value);
    double fraction = value - lower;
    if (fraction > 0.5) return static_cast<int>(lower) + 1;
    if (fraction < 0.5) return static_cast<int>(lower);
    long long whole = static_cast<long long>(lower);
    return static_cast<int>(whole % 2 == 0 ? whole : whole + 1);
}

PixelPoint coverCursorPoint(const TwipsRect& outer, double twipsPerPixelX, double twipsPerPixelY) {
    double x = (outer.left + outer.width / 2 + 60) / twipsPerPixelX;
    double y = (outer.top + outer.height / 2 + 260) / twipsPerPixelY;
    return {roundHalfEven(x), roundHalfEven(y)};
}

void CoverWindow::onShow() {
    PixelPoint p = coverCursorPoint(host_.outerRectTwips(), host_.twipsPerPixelX(), host_.twipsPerPixelY());
    host_.setCursorPos(p.x, p.y);
    host_.sendMonitorPower(platform::kMonitorOff);
    mouseMoves_ = 0;
}

void CoverWindow::countMove() {
    if (mouseMoves_ < 2) {
        ++mouseMoves_;
        return;
    }
    mouseMoves_ = 0;
    wakeAndClose();
}

void CoverWindow::wakeAndClose() {
    host_.sendMonitorPower(platform::kMonitorOn);
    host_.closeWindow();
}

} // namespace lumivane
