#pragma once
#include <string>

namespace lumivane::coolmenu {

// The image list a host hands to the engine: images are numbered from 1 in
// list order, each with a tag matched against item captions.
class MenuImages {
public:
    virtual ~MenuImages() = default;
    virtual int count() const = 0;
    virtual std::string tag(int n) const = 0;
    // The HICON of image n, owned by the image list.
    virtual void* icon(int n) const = 0;
};

} // namespace lumivane::coolmenu
