#pragma once
// Menus held in memory, behaving like the window system's for the calls the
// menu engine makes: an owner-drawn or separator item reads back with no
// caption, though an owner-drawn item keeps the name written to it.
#include "coolmenu/menu_access.h"

#include <map>
#include <string>
#include <vector>

namespace lumivane::fakes {

using MemoryItem = coolmenu::MenuItemView;  // caption kept as written

struct MemoryMenus final : coolmenu::MenuAccess {
    coolmenu::MenuHandle create(std::vector<MemoryItem> items = {}) {
        menus_[next_] = std::move(items);
        return next_++;
    }
    // As DestroyMenu: the handle no longer names a menu.
    void destroy(coolmenu::MenuHandle h) { menus_.erase(h); }
    std::vector<MemoryItem>& items(coolmenu::MenuHandle h) { return menus_.at(h); }
    MemoryItem& at(coolmenu::MenuHandle h, int position) { return menus_.at(h).at(static_cast<size_t>(position)); }

    int writes = 0;
    int failWriteAt = -1;  // a write to this position fails, once

    int count(coolmenu::MenuHandle menu) const override {
        return menus_.count(menu) ? static_cast<int>(menus_.at(menu).size()) : -1;
    }
    bool readAt(coolmenu::MenuHandle menu, int position, coolmenu::MenuItemView& out) const override {
        if (position < 0 || position >= count(menu)) return false;
        out = view(menus_.at(menu)[static_cast<size_t>(position)]);
        return true;
    }
    bool readCommand(coolmenu::MenuHandle menu, std::uint32_t id, coolmenu::MenuItemView& out) const override {
        if (!menus_.count(menu)) return false;
        for (const auto& item : menus_.at(menu)) {
            if (item.id == id && item.submenu == 0) {
                out = view(item);
                return true;
            }
            if (item.submenu && readCommand(item.submenu, id, out)) return true;
        }
        return false;
    }
    bool write(coolmenu::MenuHandle menu, int position, std::uint32_t type, const std::string& caption, bool setData,
               std::uintptr_t data) override {
        if (position < 0 || position >= count(menu)) return false;
        if (position == failWriteAt) {
            failWriteAt = -1;
            return false;
        }
        ++writes;
        auto& item = menus_.at(menu)[static_cast<size_t>(position)];
        item.type = type;
        item.caption = nonText(type) && !(type & coolmenu::kTypeOwnerDraw) ? std::string() : caption;
        if (setData) item.data = data;
        return true;
    }

private:
    static bool nonText(std::uint32_t type) { return type & (coolmenu::kTypeOwnerDraw | coolmenu::kTypeSeparator); }
    static MemoryItem view(MemoryItem item) {
        if (nonText(item.type)) item.caption.clear();
        return item;
    }

    std::map<coolmenu::MenuHandle, std::vector<MemoryItem>> menus_;
    coolmenu::MenuHandle next_ = 0x100;
};

} // namespace lumivane::fakes
