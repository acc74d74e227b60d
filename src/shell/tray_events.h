#pragma once

namespace lumivane {

// The notifications of the tray icon that matter to the menu, by the codes the
// shell sends (the low word of the callback's lParam).
namespace tray_event {
inline constexpr unsigned kContextMenu = 0x007B;    // WM_CONTEXTMENU: Shift+F10, the Menu key, or after a right click
inline constexpr unsigned kRightButtonUp = 0x0205;  // WM_RBUTTONUP
inline constexpr unsigned kSelect = 0x0400;         // NIN_SELECT: after a left click
inline constexpr unsigned kKeySelect = 0x0401;      // NIN_KEYSELECT: Enter or Space on the chosen icon
inline constexpr unsigned kMouseFirst = 0x0200;     // WM_MOUSEMOVE, the first mouse message
inline constexpr unsigned kMouseLast = 0x020E;      // WM_MOUSEHWHEEL, the last
} // namespace tray_event

// What one notification asks of the popup menu.
enum class TrayAction {
    ignore,
    openAtPointer,  // the mouse opened it: where the pointer is
    openAtIcon,     // the keyboard opened it: at the icon, wherever the pointer is
};

// Which notifications of the tray icon open the popup. The release of the
// right button opens it at the pointer, as it always has. Shells that speak a
// newer version of the notification protocol also report the keyboard:
// NIN_KEYSELECT for Enter and Space, WM_CONTEXTMENU for Shift+F10 and the Menu
// key; those open it at the icon. The same shells follow every right-button
// release with a WM_CONTEXTMENU of their own, and Windows may send two
// NIN_KEYSELECT for one press of Enter; one gesture opens one menu, so a
// notification that arrives while the menu is open, and the WM_CONTEXTMENU that
// belongs to a right click whose release already opened it, open nothing.
// Everything else (moves, left clicks, double clicks, presses) opens nothing.
class TrayEvents {
public:
    // The action for one notification: ignore while the menu is open.
    TrayAction onNotification(unsigned event);
    // The menu opened, however it was asked for, and closed again.
    void menuOpened() { menuOpen_ = true; }
    void menuClosed() { menuOpen_ = false; }
    bool menuOpen() const { return menuOpen_; }

private:
    bool menuOpen_ = false;
    // A right-button release was reported and its WM_CONTEXTMENU has not
    // arrived yet. The shell sends the two back to back, so mouse activity in
    // between means this shell sends none.
    bool contextMenuOwed_ = false;
};

} // namespace lumivane
