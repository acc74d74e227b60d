#pragma once
#include "platform/folder_picker.h"

namespace lumivane::win32 {

// The shell's folder picker. The calling thread must have COM initialised as
// a single-threaded apartment.
class ShellFolderPicker final : public platform::FolderPicker {
public:
    std::string BrowseForFolder(void* owner) override;
};

} // namespace lumivane::win32
