#pragma once
#include <cstdint>
#include <string_view>

namespace lumivane {

// The cover window's design, in twips (15 to a pixel at 96 dots per inch).
namespace cover_layout {
inline constexpr int kClientWidth = 3555;
inline constexpr int kClientHeight = 2070;
inline constexpr int kLabelLeft = 330, kLabelTop = 360, kLabelWidth = 2865, kLabelHeight = 375;
inline constexpr int kCancelLeft = 2520, kCancelTop = 1560, kCancelWidth = 855, kCancelHeight = 375;
inline constexpr std::string_view kLabelText = "Turning Monitor Off";
inline constexpr std::string_view kCancelText = "Cancel";
inline constexpr std::string_view kFontFace = "MS Sans Serif";
inline constexpr int kFontPointsX100 = 1350;
inline constexpr int kFontWeight = 700;
} // namespace cover_layout

// Rounds to the nearest integer, a half to the even neighbour (2.5 gives 2,
// 3.5 gives 4), as the cursor formula asks.
int roundHalfEven(double value);

struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Where the cover window puts the cursor: a little right of and below the
// centre of its outer rectangle (4 and about 17 pixels at 15 twips a pixel).
PixelPoint coverCursorPoint(const TwipsRect& outer, double twipsPerPixelX, double twipsPerPixelY);

// What the cover window's logic needs of its real window.
class CoverWindowHost {
public:
    virtual ~CoverWindowHost() = default;
    virtual TwipsRect outerRectTwips() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    virtual void setCursorPos(int x, int y) = 0;
    // WM_SYSCOMMAND / SC_MONITORPOWER with this lParam, sent to the window's own handle.
    virtual void sendMonitorPower(std::intptr_t lParam) = 0;
    // Whether any key or mouse button is down now.
    virtual bool inputHeld() const = 0;
    // Calls CoverWindow::onHeldCheck once, after the given time.
    virtual void startHeldCheck(unsigned milliseconds) = 0;
    // Closes and unloads the window.
    virtual void closeWindow() = 0;
};

// While a key or button is held, the display's power-off waits: its release
// is input, and would wake the display at once. Looked at again this often,
// and at most this many times (5 s), besides at every release.
inline constexpr unsigned kHeldCheckMilliseconds = 250;
inline constexpr int kHeldChecksAtMost = 20;

// The cover window: switches the display off while it is shown and wakes it at the
// first real input. The window's own arrival produces mouse moves, so the first
// two are absorbed and the third counts as input.
class CoverWindow {
public:
    explicit CoverWindow(CoverWindowHost& host) : host_(host) {}

    // Runs before the window becomes visible.
    void onShow();
    // A key or mouse button went up, over the window or its button.
    void onInputReleased();
    void onHeldCheck();
    void onKeyDown() { wakeAndClose(); }
    void onMouseDown() { wakeAndClose(); }
    void onMouseMove() { countMove(); }
    void onCancel() { wakeAndClose(); }
    void onCancelKeyDown() { wakeAndClose(); }
    void onCancelMouseMove() { countMove(); }

    int mouseMoves() const { return mouseMoves_; }

private:
    void wakeAndClose();
    void countMove();
    void powerOffOnceReleased();
    void powerOff();

    CoverWindowHost& host_;
    int mouseMoves_ = 0;  // shared by the window and its button
    bool offPending_ = false;  // the power-off waits for keys and buttons to go up
    int heldChecks_ = 0;
};

// How the menu shows the cover window: loads it when it is not loaded. Only
// one exists at a time.
class CoverOpener {
public:
    virtual ~CoverOpener() = default;
    virtual void show() = 0;
};

} // namespace lumivane
