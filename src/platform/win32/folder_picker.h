#pragma once
#include "platform/folder_picker.h"

namespace lumivane::win32 {

// The system's folder picker (the common file dialog choosing folders), in
// the UI thread's COM apartment, which the first picker enters if nothing did
// before. Where COM cannot make that dialog, the older tree of folders.
class ShellFolderPicker final : public platform::FolderPicker {
public:
    std::string browseForFolder(void* owner, const std::string& startFolder) override;
};

} // namespace lumivane::win32
