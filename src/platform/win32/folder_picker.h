#pragma once
#include "platform/folder_picker.h"

namespace lumivane::win32 {

// The shell's folder picker. It needs COM, which only it uses: the calling
// thread joins a single-threaded apartment before the first picker, and leaves
// it when the picker is destroyed. Create, use and destroy it on the UI thread.
class ShellFolderPicker final : public platform::FolderPicker {
public:
    ShellFolderPicker() = default;
    ~ShellFolderPicker() override;
    ShellFolderPicker(const ShellFolderPicker&) = delete;
    ShellFolderPicker& operator=(const ShellFolderPicker&) = delete;

    std::string browseForFolder(void* owner) override;

private:
    void enterApartment();

    bool tried_ = false;    // one attempt per run
    bool entered_ = false;  // this object's initialisation succeeded and must be undone
};

} // namespace lumivane::win32
