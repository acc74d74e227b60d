#pragma once
#include "platform/tray.h"
#include "shell/popup_menu.h"

#include <vector>

namespace lumivane {

// The lines of the popup menu the user sees: visible items only, in order, with
// their stored captions. Headings ("- ...") stay text lines for the menu
// engine to convert; "-" alone is a separator line.
std::vector<platform::PopupLine> visibleLines(const PopupMenu& menu);

} // namespace lumivane
