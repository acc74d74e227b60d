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
    mouseMoves_ = 0;
    heldChecks_ = 0;
    powerOffOnceReleased();
}

void CoverWindow::powerOffOnceReleased() {
    if (host_.inputHeld()) {
        offPending_ = true;
        host_.startHeldCheck(kHeldCheckMilliseconds);
        return;
    }
    powerOff();
}

void CoverWindow::powerOff() {
    offPending_ = false;
    host_.sendMonitorPower(platform::kMonitorOff);
}

void CoverWindow::onInputReleased() {
    if (offPending_ && !host_.inputHeld()) powerOff();
}

void CoverWindow::onHeldCheck() {
    if (!offPending_) return;
    // Something held for good (a stuck key, a weight on the keyboard) does not keep the display on.
    if (++heldChecks_ >= kHeldChecksAtMost) {
        powerOff();
        return;
    }
    powerOffOnceReleased();
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
    offPending_ = false;
    host_.sendMonitorPower(platform::kMonitorOn);
    host_.closeWindow();
}

} // namespace lumivane
