// The hub's popup menu and tray icon: folder items, the tray's notifications,
// "Customize" and "Exit".
#include "shell/hub.h"
#include "shell/menu_text.h"
#include "shell/tray_icon.h"
#include "shell/popup_lines.h"

namespace lumivane {

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

bool Hub::showTrayIcon() {
    const int size = os_.tray.iconSize();
    if (!tray_icon::addToTray(os_.tray, kAppTitle, host_.windowHandle(), menuImages.iconOf("TURN", size)))
        return false;
    trayShown_ = true;
    trayIconSize_ = size;
    return true;
}

namespace {
struct TrayRetry final : platform::Job {
    explicit TrayRetry(Hub& hub) : hub(hub) {}
    void done() override { hub.onTrayRetry(); }
    Hub& hub;
};
} // namespace

void Hub::retryTrayIconLater() {
    // Without a taskbar, its "TaskbarCreated" says when to try.
    if (trayRetryPending_ || !os_.tray.taskbarExists()) return;
    trayRetryPending_ = true;
    os_.background.after(kTrayRetryMilliseconds, std::make_unique<TrayRetry>(*this));
}

void Hub::addTrayIcon() {
    trayWanted_ = true;
    if (!showTrayIcon()) retryTrayIconLater();
}

void Hub::onTrayRetry() {
    trayRetryPending_ = false;
    if (!trayWanted_ || trayShown_) return;
    if (!showTrayIcon()) retryTrayIconLater();
}

void Hub::onTaskbarCreated() {
    // Also the moment to retry an icon the shell refused because its taskbar
    // was not up yet when the program started.
    if (!trayWanted_ || showTrayIcon()) return;
    // The add fails for an icon the shell still shows: the scale changed, and
    // the icon takes the picture for the new one.
    const int size = os_.tray.iconSize();
    if (trayShown_ && tray_icon::changeTrayPicture(os_.tray, host_.windowHandle(), menuImages.iconOf("TURN", size))) {
        trayIconSize_ = size;
        return;
    }
    trayShown_ = false;
    retryTrayIconLater();
}

void Hub::onDisplayChange() {
    const int size = os_.tray.iconSize();
    if (!trayShown_ || size == trayIconSize_) return;
    if (tray_icon::changeTrayPicture(os_.tray, host_.windowHandle(), menuImages.iconOf("TURN", size)))
        trayIconSize_ = size;
}

void Hub::onWindowGone() {
    gone_ = true;
    dropShortcutKey();
    // Otherwise the shell keeps a dead icon until the pointer passes over it.
    if (!trayShown_) return;
    tray_icon::removeFromTray(os_.tray, host_.windowHandle());
    trayShown_ = false;
    trayWanted_ = false;
}

void Hub::onSessionEnd(bool ending, bool closeApp) {
    if (!ending) return;
    if (closeApp)
        onExit();
    else
        onWindowGone();
}

void Hub::onTrayMessage(unsigned notification, std::optional<platform::ScreenPoint> anchor) {
    TrayAction action = trayEvents_.onNotification(notification);
    if (action == TrayAction::ignore) return;
    openMenu(action == TrayAction::openAtIcon ? MenuPlacement::atIcon : MenuPlacement::atPointer, anchor);
}

void Hub::openMenu(MenuPlacement placement, std::optional<platform::ScreenPoint> anchor) {
    if (menuOpen()) return;
    trayEvents_.menuOpened();
    unsigned chosen = 0;
    {
        // Closed however the popup ends, or nothing would open it again.
        struct Closing {
            TrayEvents& events;
            ~Closing() { events.menuClosed(); }
        } closing{trayEvents_};
        if (!menuReady_) {
            // A one-command run: the items a start would have made.
            readStartWithWindows();
            updateStartWithWindowsCaption();
            updateFolderItems();
            attachMenuEngine();
        }
        refreshStartWithWindows();
        refreshCdDriveItems();
        std::vector<platform::PopupLine> lines = visibleLines(popupMenu);
        chosen = placement == MenuPlacement::atIcon
                     ? os_.tray.popupAtIcon(host_.windowHandle(), tray_icon::kIconId, anchor, lines)
                     : os_.tray.popupAtPointer(host_.windowHandle(), lines);
    }
    // The chosen item runs after the menu has closed, so a tray notification
    // during its work (a modal About box, a message) may open the menu again.
    runAnswersHeldForMenu();
    onMenuCommand(chosen);
    runHandedOver();
}

void Hub::runHandedOver() {
    while (!handedOver_.empty() && !menuOpen()) {
        Action action = handedOver_.front();
        handedOver_.erase(handedOver_.begin());
        run(action);
    }
}

void Hub::onCustomize() {
    if (!host_.isVisible()) {
        // A one-command run reads the key only for the dialog.
        if (!shortcutKeyLoaded_) loadShortcutKey(false);
        host_.showShortcutKey(shortcutKey_);
        host_.sayBesideShortcutKey("");
    }
    host_.setVisible(true);
}

void Hub::onExit() {
    gone_ = true;
    dropShortcutKey();
    tray_icon::removeFromTray(os_.tray, host_.windowHandle());
    trayShown_ = false;
    trayWanted_ = false;
    host_.unload();
}

} // namespace lumivane
