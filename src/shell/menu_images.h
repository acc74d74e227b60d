#pragma once
#include "coolmenu/image_source.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

// One picture of the menu's images: its key, the tag the menu engine matches against
// the beginning of an item's caption, and the file stem of its icon resource.
struct MenuImageEntry {
    std::string_view key;
    std::string_view tag;
    std::string_view file;
};

// The nineteen pictures in their fixed order; image n (from 1) is entry n - 1
// and is loaded from icon resource kFirstMenuIconResource + n - 1.
extern const std::array<MenuImageEntry, 19> kMenuImageTable;
inline constexpr int kFirstMenuIconResource = 101;

// The menu's images: keyed and tagged icons, numbered from 1. The icons belong to
// whoever loaded them and must outlive this list.
class ImageList final : public coolmenu::MenuImages {
public:
    void add(std::string key, std::string tag, void* icon);
    void clear() { images_.clear(); }

    int count() const override { return static_cast<int>(images_.size()); }
    std::string tag(int n) const override;
    void* icon(int n) const override;
    std::string key(int n) const;
    // Keys compare without regard to case, as in a keyed collection; 0 when
    // no image has the key.
    int indexOfKey(std::string_view key) const;
    void* iconOf(std::string_view key) const { return icon(indexOfKey(key)); }

private:
    struct Image {
        std::string key;
        std::string tag;
        void* icon;
    };
    const Image* at(int n) const;
    std::vector<Image> images_;
};

} // namespace lumivane
