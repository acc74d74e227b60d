#pragma once
// Menus held in memory, behaving like the window system's for the calls the
// menu engine makes: an owner-drawn or separator item reads back with no
// caption.
#include "coolmenu/menu_access.h"

#include <map>
#include <string>
#include <vector>

namespace lumivane::fakes {

struct MemoryItem {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t state = 0;
    std::uintptr_t data = 0;
    std::string caption;
    coolmenu::MenuHandle submenu = 0;
};

class MemoryMenus final : public coolmenu::MenuAccess {
public:
    coolmenu::MenuHandle create() {
        coolmenu::MenuHandle h = next_++;
        menus_[h];
        return h;
    }
    coolmenu::MenuHandle create(std::vector<MemoryItem> items) {
        coolmenu::MenuHandle h = create();
        menus_[h] = std::move(items);
        return h;
    }
    // As DestroyMenu: the handle no longer names a menu.
    void destroy(coolmenu::MenuHandle h) { menus_.erase(h); }
    std::vector<MemoryItem>& items(coolmenu::MenuHandle h) { return menus_.at(h); }
    MemoryItem& at(coolmenu::MenuHandle h, int position) { return menus_.at(h).at(static_cast<size_t>(position)); }

    int writes = 0;
    // A write to this position fails, once.
    int failWriteAt = -1;

    int count(coolmenu::MenuHandle menu) const override {
        auto it = menus_.find(menu);
        return it == menus_.end() ? -1 : static_cast<int>(it->second.size());
    }
    bool readAt(coolmenu::MenuHandle menu, int position, coolmenu::MenuItemView& out) const override {
        auto it = menus_.find(menu);
        if (it == menus_.end() || position < 0 || position >= static_cast<int>(it->second.size())) return false;
        fill(it->second[static_cast<size_t>(position)], out);
        return true;
    }
    bool readCommand(coolmenu::MenuHandle menu, std::uint32_t id, coolmenu::MenuItemView& out) const override {
        auto it = menus_.find(menu);
        if (it == menus_.end()) return false;
        for (const auto& item : it->second) {
            if (item.id == id && item.submenu == 0) {
                fill(item, out);
                return true;
            }
            if (item.submenu && readCommand(item.submenu, id, out)) return true;
        }
        return false;
    }
    bool write(coolmenu::MenuHandle menu, int position, std::uint32_t type, const std::string& caption, bool setData,
               std::uintptr_t data) override {
        auto it = menus_.find(menu);
        if (it == menus_.end() || position < 0 || position >= static_cast<int>(it->second.size())) return false;
        if (position == failWriteAt) {
            failWriteAt = -1;
            return false;
        }
        ++writes;
        auto& item = it->second[static_cast<size_t>(position)];
        item.type = type;
        item.caption = nonText(type) ? std::string() : caption;
        if (setData) item.data = data;
        return true;
    }

private:
    static bool nonText(std::uint32_t type) {
        return (type & (coolmenu::kTypeOwnerDraw | coolmenu::kTypeSeparator)) != 0;
    }
    static void fill(const MemoryItem& item, coolmenu::MenuItemView& out) {
        out.id = item.id;
        out.type = item.type;
        out.state = item.state;
        out.data = item.data;
        out.caption = nonText(item.type) ? std::string() : item.caption;
        out.submenu = item.submenu;
    }

    std::map<coolmenu::MenuHandle, std::vector<MemoryItem>> menus_;
    coolmenu::MenuHandle next_ = 0x100;
};

} // namespace lumivane::fakes
