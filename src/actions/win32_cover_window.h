#pragma once
#include "actions/cover_window.h"
#include "platform/win32/unique.h"

#include <windows.h>

namespace lumivane::win32 {

inline constexpr const wchar_t* kTurnMonOffClassName = L"LumivaneTurnMonOff";
inline constexpr int kCancelButtonId = IDCANCEL;

// The real frmTurnMonOff: a small window without a title bar, created when it
// is shown and destroyed when it closes, so there is never more than one.
class TurnMonOffWindow final : public TurnMonOffForm, private TurnMonOffHost {
public:
    explicit TurnMonOffWindow(HINSTANCE instance) : instance_(instance) {}
    ~TurnMonOffWindow() override;
    TurnMonOffWindow(const TurnMonOffWindow&) = delete;
    TurnMonOffWindow& operator=(const TurnMonOffWindow&) = delete;

    // Loads the window when it is not loaded. Shown again while open, it comes
    // forward and switches the display off again with the counter back at 0.
    void Show() override;

    HWND hwnd() const { return hwnd_; }
    HWND cancelButton() const { return cancel_; }
    const frmTurnMonOff& form() const { return form_; }

private:
    TwipsRect outerRectTwips() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    void setCursorPos(int x, int y) override;
    void sendMonitorPower(std::intptr_t lParam) override;
    void closeWindow() override;

    bool create();
    void createChildren();
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The Cancel button's own keys and moves; the rest goes on to buttonProc_.
    static LRESULT CALLBACK CancelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    frmTurnMonOff form_{*this};
    HWND hwnd_ = nullptr;
    HWND cancel_ = nullptr;
    WNDPROC buttonProc_ = nullptr;  // the button class's procedure, under CancelProc
    UniqueFont labelFont_;
    UniqueFont buttonFont_;
    int dpiX_ = 96;
    int dpiY_ = 96;
};

} // namespace lumivane::win32
