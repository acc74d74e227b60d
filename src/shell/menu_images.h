#pragma once
#include "coolmenu/image_source.h"

#include <array>
#include <span>
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

// The sizes each picture's icon resource holds, one for each common display
// scale (100, 125, 150 and 200 %).
inline constexpr std::array<int, 4> kMenuPictureSizes{16, 20, 24, 32};

// Makes the table's pictures at a size, as the platform keeps them.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // Picture `index` of the table (from 0), `size` pixels square; owned by
    // the loader, null when it cannot be made.
    virtual void* load(int index, int size) = 0;
};

// The menu's images: keyed and tagged icons, numbered from 1. The icons belong to
// whoever loaded them and must outlive this list.
class ImageList final : public coolmenu::MenuImages {
public:
    // An image with one icon, whatever size is asked for.
    void add(std::string key, std::string tag, void* icon);
    // The table's nineteen images, each made by the loader at a size when
    // that size is first asked for; the loader must outlive the list.
    void fill(PictureLoader& loader);
    void clear() {
        images_.clear();
        loader_ = nullptr;
    }

    int count() const override { return static_cast<int>(images_.size()); }
    std::string tag(int n) const override;
    void* icon(int n) const override { return icon(n, 16); }
    std::span<const int> sizes() const override;
    void* icon(int n, int size) const override;
    std::string key(int n) const;
    // Keys compare without regard to case, as in a keyed collection; 0 when
    // no image has the key.
    int indexOfKey(std::string_view key) const;
    void* iconOf(std::string_view key, int size = 16) const { return icon(indexOfKey(key), size); }

private:
    struct Image {
        std::string key;
        std::string tag;
        void* icon;  // an added image's only icon
    };
    const Image* at(int n) const;
    std::vector<Image> images_;
    PictureLoader* loader_ = nullptr;
};

} // namespace lumivane
