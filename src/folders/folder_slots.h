#pragma once
#include <array>
#include <string>

namespace lumivane {

inline constexpr int kFolderSlotCount = 10;
using FolderList = std::array<std::string, kFolderSlotCount>;

// The ten folder slots. Their one copy is the text of the hub window's ten path
// boxes (kept by the window itself until the dialog is first shown); the
// settings file, the dialog, the menu and the open action all go through this
// interface to reach them.
class FolderSlots {
public:
    virtual ~FolderSlots() = default;
    virtual std::string slotText(int slot) const = 0;
    virtual void setSlotText(int slot, const std::string& text) = 0;
};

} // namespace lumivane
