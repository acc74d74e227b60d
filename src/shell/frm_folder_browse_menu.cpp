// The hub's popup menu and tray icon: folder items, the tray's mouse dispatch,
// "Customize" and "Exit".
#include "shell/frm_folder_browse.h"
#include "shell/mod_string.h"
#include "shell/mod_systray.h"
#include "shell/popup_lines.h"

namespace lumivane {

namespace {
constexpr unsigned kWmRButtonUp = 0x0205;
} // namespace

void frmFolderBrowse::InitMenu() {
    int number = 1;
    for (int slot = 0; slot < kFolderSlotCount; ++slot) {
        MenuItem& item = mnuPopup.folder(slot);
        std::string text = host_.slotText(slot);
        if (text.empty()) {
            // The caption stays as it was; a hidden item shows nothing.
            item.enabled = false;
            item.visible = false;
            continue;
        }
        item.enabled = true;
        item.visible = true;
        modString::ShortenPath(text);
        // The number counts visible items only; it also picks the picture "F<n>".
        item.caption = std::to_string(number) + ". " + modString::DoubleAmpersands(text);
        ++number;
    }
}

void frmFolderBrowse::SetTrayIcon() {
    trayWanted_ = true;
    trayShown_ = modSystray::AddToTray(os_.tray, kAppTitle, host_.hWnd(), ilsMenu.iconOf("TURN"));
}

void frmFolderBrowse::onTaskbarCreated() {
    // Also the moment to retry an icon the shell refused because its taskbar
    // was not up yet when the program started.
    if (!trayWanted_) return;
    if (modSystray::AddToTray(os_.tray, kAppTitle, host_.hWnd(), ilsMenu.iconOf("TURN"))) trayShown_ = true;
}

void frmFolderBrowse::onWindowGone() {
    // Otherwise the shell keeps a dead icon until the pointer passes over it.
    if (!trayShown_) return;
    modSystray::RemoveFromTray(os_.tray, host_.hWnd());
    trayShown_ = false;
    trayWanted_ = false;
}

void frmFolderBrowse::onTrayMessage(unsigned mouseMessage) {
    // Only the release of the right button opens the menu; moves, left clicks,
    // double clicks and the right button's press do nothing.
    if (mouseMessage != kWmRButtonUp) return;
    // Start-up can be switched in Windows's own list while the program runs.
    LoadSettings();
    UpdateStartupCaption();
    unsigned chosen = os_.tray.popupAtPointer(host_.hWnd(), VisibleLines(mnuPopup));
    onMenuCommand(chosen);
}

void frmFolderBrowse::mnuCustomize_Click() {
    host_.setVisible(true);
}

void frmFolderBrowse::mnuExit_Click() {
    modSystray::RemoveFromTray(os_.tray, host_.hWnd());
    trayShown_ = false;
    trayWanted_ = false;
    host_.unload();
}

} // namespace lumivane
