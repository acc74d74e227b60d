#pragma once
#include "actions/cover_window.h"
#include "platform/win32/unique.h"

#include <windows.h>

namespace lumivane::win32 {

inline constexpr const wchar_t* kCoverClassName = L"LumivaneTurnMonOff";
inline constexpr int kCancelButtonId = IDCANCEL;

// The real cover window: a small window without a title bar, created when it
// is shown and destroyed when it closes, so there is never more than one.
class Win32CoverWindow final : public CoverOpener, private CoverWindowHost {
public:
    explicit Win32CoverWindow(HINSTANCE instance) : instance_(instance) {}
    ~Win32CoverWindow() override;
    Win32CoverWindow(const Win32CoverWindow&) = delete;
    Win32CoverWindow& operator=(const Win32CoverWindow&) = delete;

    // Loads the window when it is not loaded. Shown again while open, it comes
    // forward and switches the display off again with the counter back at 0.
    void show() override;

    HWND hwnd() const { return hwnd_; }
    HWND cancelButton() const { return cancel_; }
    const CoverWindow& logic() const { return logic_; }

private:
    TwipsRect outerRectTwips() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    void setCursorPos(int x, int y) override;
    void sendMonitorPower(std::intptr_t lParam) override;
    bool inputHeld() const override;
    void startHeldCheck(unsigned milliseconds) override;
    void closeWindow() override;

    bool create();
    void createChildren();
    // The window's and its controls' sizes and fonts at dpiX_ and dpiY_.
    SIZE outerSize() const;
    void layOutChildren();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The Cancel button's own keys and moves; the rest goes on to buttonProc_.
    static LRESULT CALLBACK cancelButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    CoverWindow logic_{*this};
    HWND hwnd_ = nullptr;
    HWND label_ = nullptr;
    HWND cancel_ = nullptr;
    WNDPROC buttonProc_ = nullptr;  // the button class's procedure, under cancelButtonProc
    UniqueFont labelFont_;
    UniqueFont buttonFont_;
    int dpiX_ = 96;
    int dpiY_ = 96;
};

} // namespace lumivane::win32
