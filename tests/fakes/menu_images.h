#pragma once
#include "coolmenu/image_source.h"

#include <string>
#include <vector>

namespace lumivane::fakes {

// An image list of tags only; icon n is the number n itself.
struct TagImages final : coolmenu::MenuImages {
    explicit TagImages(std::vector<std::string> tags) : tags_(std::move(tags)) {}
    int count() const override { return static_cast<int>(tags_.size()); }
    std::string tag(int n) const override { return tags_.at(static_cast<size_t>(n - 1)); }
    void* icon(int n) const override { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(n)); }

private:
    std::vector<std::string> tags_;
};

} // namespace lumivane::fakes
