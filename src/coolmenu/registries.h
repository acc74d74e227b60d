#pragma once
#include "coolmenu/item_record.h"
#include "coolmenu/window_state.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace lumivane::coolmenu {

// The side of the engine's images in pixels.
inline constexpr int kImageSize = 16;

// The engine-wide records: attached windows by handle, converted items by
// data number. They live for the whole run once the first window attaches.
class Registries {
public:
    WindowState* window(std::uintptr_t hwnd) const {
        auto it = windows_.find(hwnd);
        return it == windows_.end() ? nullptr : it->second.get();
    }
    // Stores the record under its hwnd; false when that window has one already.
    bool addWindow(std::unique_ptr<WindowState> record) {
        auto hwnd = record->hwnd;
        return windows_.emplace(hwnd, std::move(record)).second;
    }
    // Drops a window's record with its fonts and heads.
    void removeWindow(std::uintptr_t hwnd) { windows_.erase(hwnd); }
    // The record of an item data number, or null.
    ItemRecord* item(std::uintptr_t data) const {
        return data == 0 ? nullptr : items.find(std::to_string(data));
    }

    ItemRecords items;

private:
    std::map<std::uintptr_t, std::unique_ptr<WindowState>> windows_;
};

} // namespace lumivane::coolmenu
