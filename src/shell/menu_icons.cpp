#include "shell/menu_icons.h"

#include "resource.h"

#include <string>

namespace lumivane::win32 {

static_assert(kFirstMenuIconResource == IDI_MENU_FIRST);

int MenuIcons::load(HINSTANCE instance, ImageList& list) {
    list.clear();
    icons_.clear();
    int loaded = 0;
    int resource = kFirstMenuIconResource;
    for (const MenuImageEntry& entry : kMenuImageTable) {
        HICON icon = static_cast<HICON>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(resource++), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        if (icon) ++loaded;
        icons_.emplace_back(icon);
        list.add(std::string(entry.key), std::string(entry.tag), icon);
    }
    return loaded;
}

} // namespace lumivane::win32
