// The hub's popup menu and tray icon: folder items, the tray's mouse dispatch,
// "Customize" and "Exit".
#include "shell/hub.h"
#include "shell/menu_text.h"
#include "shell/tray_icon.h"
#include "shell/popup_lines.h"

namespace lumivane {

namespace {
constexpr unsigned kWmRButtonUp = 0x0205;
} // namespace

void Hub::updateFolderItems() {
    int number = 1;
    for (int slot = 0; slot < kFolderSlotCount; ++slot) {
        MenuItem& item = popupMenu.folder(slot);
        std::string text = host_.slotText(slot);
        if (text.empty()) {
            // The caption stays as it was; a hidden item shows nothing.
            item.enabled = false;
            item.visible = false;
            continue;
        }
        item.enabled = true;
        item.visible = true;
        if (auto shortened = menu_text::shortenedPath(text)) text = std::move(*shortened);
        // The number counts visible items only; it also picks the picture "F<n>".
        item.caption = std::to_string(number) + ". " + menu_text::doubleAmpersands(text);
        ++number;
    }
}

void Hub::addTrayIcon() {
    trayWanted_ = true;
    trayShown_ = tray_icon::addToTray(os_.tray, kAppTitle, host_.windowHandle(), menuImages.iconOf("TURN"));
}

void Hub::onTaskbarCreated() {
    // Also the moment to retry an icon the shell refused because its taskbar
    // was not up yet when the program started.
    if (!trayWanted_) return;
    if (tray_icon::addToTray(os_.tray, kAppTitle, host_.windowHandle(), menuImages.iconOf("TURN"))) trayShown_ = true;
}

void Hub::onWindowGone() {
    // Otherwise the shell keeps a dead icon until the pointer passes over it.
    if (!trayShown_) return;
    tray_icon::removeFromTray(os_.tray, host_.windowHandle());
    trayShown_ = false;
    trayWanted_ = false;
}

void Hub::onTrayMessage(unsigned mouseMessage) {
    // Only the release of the right button opens the menu; moves, left clicks,
    // double clicks and the right button's press do nothing.
    if (mouseMessage != kWmRButtonUp) return;
    // Start-up can be switched in Windows's own list while the program runs.
    readStartWithWindows();
    updateStartWithWindowsCaption();
    unsigned chosen = os_.tray.popupAtPointer(host_.windowHandle(), visibleLines(popupMenu));
    onMenuCommand(chosen);
}

void Hub::onCustomize() {
    host_.setVisible(true);
}

void Hub::onExit() {
    tray_icon::removeFromTray(os_.tray, host_.windowHandle());
    trayShown_ = false;
    trayWanted_ = false;
    host_.unload();
}

} // namespace lumivane
