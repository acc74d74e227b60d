#include "coolmenu/window_state.h"

#include <algorithm>
#include <charconv>

namespace lumivane::coolmenu {

WndCoolMenu::~WndCoolMenu() {
    dropFont(menuFont_);
    dropFont(menuFontSep_);
}

void WndCoolMenu::dropFont(FontHandle font) const {
    if (font && deleteFont_) deleteFont_(font);
}

void WndCoolMenu::AddMenuHead(std::uintptr_t hMenu) {
    // The trailing slot holds 0, so adding 0 finds it and changes nothing.
    if (std::find(heads_.begin(), heads_.end(), hMenu) != heads_.end()) return;
    heads_.back() = hMenu;
    heads_.push_back(0);
}

void WndCoolMenu::RemoveMenuHead(std::uintptr_t hMenu) {
    if (hMenu == 0) return;  // the trailing slot stays
    heads_.erase(std::remove(heads_.begin(), heads_.end(), hMenu), heads_.end());
}

std::uintptr_t WndCoolMenu::GetMenuHead(int headIndex) const {
    if (headIndex < 0 || headIndex > CountMenuHeads()) return 0;
    return heads_[static_cast<size_t>(headIndex)];
}

void WndCoolMenu::MainPopedIndex(std::string_view text) {
    int value = 0;
    auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (err != std::errc() || end != text.data() + text.size()) return;
    if (value < INT16_MIN || value > INT16_MAX) return;
    mainPopedIndex_ = static_cast<std::int16_t>(value);
}

void WndCoolMenu::FontSize(int points) {
    fontSize_ = points;
    if (buildFont_) buildFont_(*this);
}

void WndCoolMenu::FontName(std::string name) {
    fontName_ = std::move(name);
    if (buildFont_) buildFont_(*this);
}

void WndCoolMenu::MenuFont(FontHandle font) {
    if (font == menuFont_) return;
    dropFont(menuFont_);
    menuFont_ = font;
}

void WndCoolMenu::MenuFontSep(FontHandle font) {
    if (font == menuFontSep_) return;
    dropFont(menuFontSep_);
    menuFontSep_ = font;
}

} // namespace lumivane::coolmenu
