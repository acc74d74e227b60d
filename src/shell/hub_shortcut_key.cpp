// The shortcut key that opens the menu from any program: stored per user,
// registered for the hub window, and chosen in the customize dialog.
#include "shell/hub.h"
#include "shell/tray_icon.h"

namespace lumivane {

namespace {
constexpr int kMenuHotKeyId = 1;
} // namespace

bool Hub::registerShortcutKey(ShortcutKey shortcut) {
    return os_.hotKeys.add(host_.windowHandle(), kMenuHotKeyId,
                           shortcut_key::toHotKeyFlags(shortcut.modifiers) | shortcut_key::kNoRepeat, shortcut.key);
}

void Hub::loadShortcutKey(bool sayRefusal) {
    shortcutKeyLoaded_ = true;
    // A value that does not parse is the user's to mend: no key, and the
    // value is left as it is.
    const ShortcutKey stored =
        shortcut_key::parse(platform::stringValue(os_.registry, platform::RegistryRoot::CurrentUser,
                                                  std::string(shortcut_key::kSubkey),
                                                  std::string(shortcut_key::kValueName)))
            .value_or(ShortcutKey{});
    if (stored.key == 0) return;
    if (registerShortcutKey(stored)) {
        shortcutKey_ = stored;
        return;
    }
    // Without an icon there is no balloon; the dialog shows no key in force either way.
    if (sayRefusal && trayShown_)
        os_.tray.balloon(host_.windowHandle(), tray_icon::kIconId, shortcut_key::inUseAtStartText(stored));
}

void Hub::onShortcutKey() {
    // The dialog has the keyboard, and its box may be recording this very key.
    if (host_.isVisible()) return;
    openMenu(MenuPlacement::atPointer);
}

void Hub::dropShortcutKey() {
    if (shortcutKey_.key == 0) return;
    os_.hotKeys.remove(host_.windowHandle(), kMenuHotKeyId);
    shortcutKey_ = {};
}

bool Hub::applyShortcutKey() {
    const ShortcutKey wanted = host_.shownShortcutKey();
    if (wanted == shortcutKey_) return true;
    const ShortcutKey old = shortcutKey_;
    // One key at a time: the old one goes first, and comes back if Windows
    // refuses the new one.
    dropShortcutKey();
    if (wanted.key != 0 && !registerShortcutKey(wanted)) {
        if (old.key != 0 && registerShortcutKey(old)) shortcutKey_ = old;
        host_.sayBesideShortcutKey(shortcut_key::inUseText(wanted));
        return false;
    }
    shortcutKey_ = wanted;
    if (os_.registry.setString(platform::RegistryRoot::CurrentUser, std::string(shortcut_key::kSubkey),
                               std::string(shortcut_key::kValueName),
                               shortcut_key::format(wanted)) != platform::kRegSuccess)
        os_.boxes.show("The shortcut key could not be stored. It works until Lumivane ends.", kAppTitle,
                       platform::kMbOk | platform::kMbIconExclamation);
    return true;
}

} // namespace lumivane
