#pragma once
#include "shell/hub.h"
#include "shell/hub_dialog.h"
#include "shell/menu_icons.h"

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

namespace lumivane::win32 {

inline constexpr const wchar_t* kHubClassName = L"LumivaneHub";
// A command handed over by a second copy: WM_COPYDATA with this dwData and
// the command's text (command_line::handOverText); the hub answers
// kHandOverAccepted once it has taken the command.
inline constexpr ULONG_PTR kHandOverTag = 0x4C56434D;
inline constexpr LRESULT kHandOverAccepted = 0x4C56;

// The hub's real window: owns the path boxes and routes every
// message of the window to the hub's logic.
class HubWindow final : public HubHost {
public:
    explicit HubWindow(Services& services);
    ~HubWindow() override;
    HubWindow(const HubWindow&) = delete;
    HubWindow& operator=(const HubWindow&) = delete;

    bool create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }
    Hub& logic() { return logic_; }

    std::string slotText(int slot) const override;
    void setSlotText(int slot, const std::string& text) override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void unload() override;
    void* windowHandle() const override { return hwnd_; }
    ShortcutKey shownShortcutKey() const override { return shortcutShown_; }
    void showShortcutKey(ShortcutKey shortcut) override;
    void sayBesideShortcutKey(const std::string& text) override;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The customize dialog (hub_dialog.cpp). Its controls are made when it is
    // first shown: most runs never show it.
    void createDialogControls();
    void layoutDialog(int dpi);
    // WM_DPICHANGED: the window is now on a monitor of another resolution.
    void onDpiChanged(int dpi, const RECT& suggested);
    void showDialog();
    bool handleDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static LRESULT CALLBACK shortcutBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onShortcutBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool handleTrayMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onCopyData(const COPYDATASTRUCT& data);

    Services& services_;
    Hub logic_;
    HWND hwnd_ = nullptr;
    std::array<HWND, kFolderSlotCount> pathBoxes_{};  // the ten path boxes, children of hwnd_, once the dialog was shown
    FolderList slots_{};                           // the slots' texts until then
    DialogControls dialog_;
    ShortcutKey shortcutShown_;       // what the shortcut-key box shows, made or not
    std::string shortcutSaid_;        // and what is said beside it
    MenuIcons menuIcons_;             // makes the pictures of logic_.menuImages
    UINT taskbarCreated_ = 0;         // the shell's broadcast when its taskbar (re)appears
};

} // namespace lumivane::win32
