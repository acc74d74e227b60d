#pragma once
#include "about/about_box.h"
#include "folders/folder_slots.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/instance.h"
#include "platform/text_codec.h"
#include "shell/popup_menu.h"

#include <cstdint>
#include <string>

namespace lumivane {

inline constexpr const char* kAppTitle = "Lumivane";

// What the hub's logic needs of its window: the ten path boxes, being shown or
// hidden, and being unloaded (which ends the program).
class FormHost : public FolderSlots {
public:
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void unload() = 0;
};

// The operating system as the hub reaches it.
struct Services {
    platform::InstanceLock& instance;
    platform::MessageBoxes& boxes;
    platform::FileSystem& files;
    const platform::AnsiCodec& codec;
    std::string exeDirectory;  // as the platform reports it, with or without a trailing backslash
    about::AboutBox& aboutBox;
};

// The program's directory followed by "\lumivane.ini"; the backslash is
// always inserted, even for a drive root.
std::string SettingsPathFor(const std::string& exeDirectory);

// frmFolderBrowse: the hub of the program. It is the customize dialog, owns the
// tray icon and the popup menu, and handles every command of the menu.
class frmFolderBrowse {
public:
    frmFolderBrowse(FormHost& host, Services& services) : host_(host), os_(services) {}

    // The start-up sequence; ends by hiding the window, or by unloading it when
    // another copy is already running.
    void Form_Load();
    // Never cancels: the window always goes.
    void Form_Unload() {}

    // Runs the click handler of the popup item with this command identifier,
    // after the popup has closed.
    void onMenuCommand(unsigned id);

    // Shows frmAbout modally, with no owner; returns when it is closed.
    void mnuAbout_Click();

    std::string SettingsPath;
    bool RunAtStartup = false;
    std::int16_t AboutCount = 0;
    PopupMenu mnuPopup;

private:
    FormHost& host_;
    Services& os_;
};

} // namespace lumivane
