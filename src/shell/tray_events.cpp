#include "shell/tray_events.h"

namespace lumivane {

TrayAction TrayEvents::onNotification(unsigned event) {
    TrayAction action = TrayAction::ignore;
    switch (event) {
    case tray_event::kRightButtonUp:
        contextMenuOwed_ = true;
        action = TrayAction::openAtPointer;
        break;
    case tray_event::kContextMenu:
        if (contextMenuOwed_) {
            contextMenuOwed_ = false;
            return TrayAction::ignore;
        }
        action = TrayAction::openAtIcon;
        break;
    case tray_event::kKeySelect:
        contextMenuOwed_ = false;
        action = TrayAction::openAtIcon;
        break;
    default:
        // The mouse moved or clicked again: that click sent no WM_CONTEXTMENU.
        // The shell's other notifications (tips, balloons) say nothing of it.
        if ((event >= tray_event::kMouseFirst && event <= tray_event::kMouseLast) || event == tray_event::kSelect)
            contextMenuOwed_ = false;
        return TrayAction::ignore;
    }
    return menuOpen_ ? TrayAction::ignore : action;
}

} // namespace lumivane
