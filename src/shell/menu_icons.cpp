#include "shell/menu_icons.h"

#include "resource.h"

namespace lumivane::win32 {

static_assert(kFirstMenuIconResource == IDI_MENU_FIRST);

void MenuIcons::attach(HINSTANCE instance, ImageList& list) {
    instance_ = instance;
    icons_.clear();
    list.fill(*this);
}

void* MenuIcons::load(int index, int size) {
    if (index < 0 || index >= static_cast<int>(kMenuImageTable.size()) || size <= 0) return nullptr;
    for (const Loaded& kept : icons_)
        if (kept.index == index && kept.size == size) return kept.icon.get();
    // An icon that cannot be made is remembered too, so it is not tried again at every paint.
    HICON icon = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(kFirstMenuIconResource + index),
                                                 IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    icons_.push_back(Loaded{index, size, UniqueIcon(icon)});
    return icon;
}

} // namespace lumivane::win32
