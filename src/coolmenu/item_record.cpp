#include "coolmenu/item_record.h"

#include <algorithm>

namespace lumivane::coolmenu {

// A linear search is enough: the registry holds the items of one menu bar and
// of the popups open at one time.

ItemRecord* ItemRecords::add(std::string_view key) {
    if (find(key)) return nullptr;
    items_.emplace_back(std::string(key), std::make_unique<ItemRecord>());
    return items_.back().second.get();
}

ItemRecord* ItemRecords::find(std::string_view key) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e.first == key; });
    return it == items_.end() ? nullptr : it->second.get();
}

ItemRecord* ItemRecords::at(int position) const {
    if (position < 1 || position > count()) return nullptr;
    return items_[static_cast<size_t>(position - 1)].second.get();
}

bool ItemRecords::remove(std::string_view key) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e.first == key; });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}

bool ItemRecords::remove(int position) {
    if (position < 1 || position > count()) return false;
    items_.erase(items_.begin() + (position - 1));
    return true;
}

} // namespace lumivane::coolmenu
