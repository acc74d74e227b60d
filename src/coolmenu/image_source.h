#pragma once
#include <span>
#include <string>

namespace lumivane::coolmenu {

// The image list a host hands to the engine: images are numbered from 1 in
// list order, each with a tag matched against item captions.
class MenuImages {
public:
    virtual ~MenuImages() = default;
    virtual int count() const = 0;
    virtual std::string tag(int n) const = 0;
    // The HICON of image n at 16 by 16 pixels, owned by the image list.
    virtual void* icon(int n) const = 0;

    // The square sizes the list can give its images in. The engine draws the
    // largest that fits the menu's picture cell at the popup's resolution.
    virtual std::span<const int> sizes() const {
        static constexpr int kSixteen[] = {16};
        return kSixteen;
    }
    // The HICON of image n at one of those sizes, owned by the image list;
    // a list may load it only when first asked.
    virtual void* icon(int n, int size) const { return size == 16 ? icon(n) : nullptr; }
};

} // namespace lumivane::coolmenu
