#pragma once
#include "platform/win32/unique.h"
#include "shell/menu_images.h"

#include <windows.h>

#include <vector>

namespace lumivane::win32 {

// Owns the icons of the hub's menu images, loaded from the exe's icon resources at 16 by 16
// pixels, for as long as the image list that names them is in use.
class MenuIcons {
public:
    // Loads the nineteen pictures and fills the list in their order; an icon
    // that cannot be loaded leaves its image without a picture. Returns how
    // many were loaded.
    int load(HINSTANCE instance, ImageList& list);

private:
    std::vector<UniqueIcon> icons_;
};

} // namespace lumivane::win32
