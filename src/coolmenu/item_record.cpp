#include "coolmenu/item_record.h"

#include <algorithm>

namespace lumivane::coolmenu {

// A linear search is enough: the registry holds the items of one menu bar and
// of the popups open at one time.

CMyItemData* CMyItemDatas::Add(std::string_view sKey) {
    if (Item(sKey)) return nullptr;
    items_.emplace_back(std::string(sKey), std::make_unique<CMyItemData>());
    return items_.back().second.get();
}

CMyItemData* CMyItemDatas::Item(std::string_view key) const {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e.first == key; });
    return it == items_.end() ? nullptr : it->second.get();
}

CMyItemData* CMyItemDatas::Item(int position) const {
    if (position < 1 || position > Count()) return nullptr;
    return items_[static_cast<size_t>(position - 1)].second.get();
}

bool CMyItemDatas::Remove(std::string_view key) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e.first == key; });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}

bool CMyItemDatas::Remove(int position) {
    if (position < 1 || position > Count()) return false;
    items_.erase(items_.begin() + (position - 1));
    return true;
}

} // namespace lumivane::coolmenu
