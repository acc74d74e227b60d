#include "coolmenu/window_state.h"

#include <algorithm>

namespace lumivane::coolmenu {

WindowState::~WindowState() {
    dropFont(menuFont_);
    dropFont(headingFont_);
}

void WindowState::dropFont(FontHandle font) const {
    if (font && deleteFont_) deleteFont_(font);
}

void WindowState::addHead(std::uintptr_t hMenu) {
    // The trailing slot holds 0, so adding 0 finds it and changes nothing.
    if (std::find(heads_.begin(), heads_.end(), hMenu) != heads_.end()) return;
    heads_.back() = hMenu;
    heads_.push_back(0);
}

void WindowState::removeHead(std::uintptr_t hMenu) {
    if (hMenu == 0) return;  // the trailing slot stays
    heads_.erase(std::remove(heads_.begin(), heads_.end(), hMenu), heads_.end());
}

std::uintptr_t WindowState::head(int headIndex) const {
    if (headIndex < 0 || headIndex > headCount()) return 0;
    return heads_[static_cast<size_t>(headIndex)];
}

void WindowState::setFontSize(int points) {
    fontSize_ = points;
    if (buildFont_) buildFont_(*this);
}

void WindowState::setFontName(std::string name) {
    fontName_ = std::move(name);
    if (buildFont_) buildFont_(*this);
}

void WindowState::setMenuFont(FontHandle font) {
    if (font == menuFont_) return;
    dropFont(menuFont_);
    menuFont_ = font;
}

void WindowState::setHeadingFont(FontHandle font) {
    if (font == headingFont_) return;
    dropFont(headingFont_);
    headingFont_ = font;
}

} // namespace lumivane::coolmenu
