#pragma once
#include "platform/win32/unique.h"
#include "shell/menu_images.h"

#include <windows.h>

#include <vector>

namespace lumivane::win32 {

// Makes the menu's pictures from the exe's icon resources, each at a size
// only when first asked for it, and owns them for as long as the image list
// that names them is in use. A popup at 150 % thus loads the 24 pixel images
// and no others; the tray icon loads its own size.
class MenuIcons final : public PictureLoader {
public:
    // Fills the list with the table's pictures, made by this loader.
    void attach(HINSTANCE instance, ImageList& list);
    void* load(int index, int size) override;
    // How many icons have been made so far.
    int loaded() const { return static_cast<int>(icons_.size()); }

private:
    struct Loaded {
        int index;
        int size;
        UniqueIcon icon;
    };
    HINSTANCE instance_ = nullptr;
    std::vector<Loaded> icons_;
};

} // namespace lumivane::win32
