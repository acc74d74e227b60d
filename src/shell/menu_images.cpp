#include "shell/menu_images.h"

#include <algorithm>
#include <cctype>

namespace lumivane {

const std::array<MenuImageEntry, 19> kMenuImageTable = {{
    {"ABOUT", "About", "about"},
    {"F1", "1.", "f1"},
    {"F2", "2.", "f2"},
    {"F3", "3.", "f3"},
    {"F4", "4.", "f4"},
    {"F5", "5.", "f5"},
    {"F6", "6.", "f6"},
    {"F7", "7.", "f7"},
    {"F8", "8.", "f8"},
    {"F9", "9.", "f9"},
    {"F10", "10.", "f10"},
    {"YES", "Load at Startup", "yes"},
    {"Run", "Run", "run"},
    {"EXIT", "Exit", "exit"},
    {"NO", "Don't Load at Startup", "no"},
    {"TURN", "Turn", "turn"},
    {"CLOSE", "Close", "close"},
    {"OPTIONS", "Customize", "options"},
    {"OPEN", "Open", "open"},
}};

void ImageList::add(std::string key, std::string tag, void* icon) {
    images_.push_back(Image{std::move(key), std::move(tag), icon});
}

void ImageList::fill(PictureLoader& loader) {
    clear();
    for (const MenuImageEntry& entry : kMenuImageTable) add(std::string(entry.key), std::string(entry.tag), nullptr);
    loader_ = &loader;
}

std::span<const int> ImageList::sizes() const {
    if (loader_) return kMenuPictureSizes;
    return MenuImages::sizes();
}

const ImageList::Image* ImageList::at(int n) const {
    if (n < 1 || n > count()) return nullptr;
    return &images_[static_cast<size_t>(n - 1)];
}

std::string ImageList::tag(int n) const {
    const Image* image = at(n);
    return image ? image->tag : std::string();
}

void* ImageList::icon(int n, int size) const {
    const Image* image = at(n);
    if (!image) return nullptr;
    return loader_ ? loader_->load(n - 1, size) : image->icon;
}

std::string ImageList::key(int n) const {
    const Image* image = at(n);
    return image ? image->key : std::string();
}

int ImageList::indexOfKey(std::string_view key) const {
    auto same = [key](const Image& image) {
        return std::equal(image.key.begin(), image.key.end(), key.begin(), key.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    auto it = std::find_if(images_.begin(), images_.end(), same);
    return it == images_.end() ? 0 : static_cast<int>(it - images_.begin()) + 1;
}

} // namespace lumivane
