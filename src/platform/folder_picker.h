#pragma once
#include <string>

namespace lumivane::platform {

class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // Modal over the owner window (a native window handle, or null), opening
    // in startFolder ("": where the picker itself chooses). The chosen
    // folder's file-system path, or "" when the user cancelled or the choice
    // has no file-system path.
    virtual std::string browseForFolder(void* owner, const std::string& startFolder) = 0;
};

} // namespace lumivane::platform
