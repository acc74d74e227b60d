#pragma once
#include "about/about_box.h"
#include "actions/cover_window.h"
#include "folders/folder_slots.h"
#include "folders/start_with_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/desktop.h"
#include "platform/folder_picker.h"
#include "platform/hot_keys.h"
#include "platform/app_title.h"
#include "platform/media_control.h"
#include "coolmenu/menu_engine.h"
#include "platform/process.h"
#include "platform/system_info.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "platform/tray.h"
#include "shell/action.h"
#include "shell/menu_images.h"
#include "shell/popup_menu.h"
#include "shell/shortcut_key.h"
#include "shell/tray_events.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {

// What the hub's logic needs of its window: the ten path boxes, being shown or
// hidden, and being unloaded (which ends the program).
class HubHost : public FolderSlots {
public:
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void unload() = 0;
    // The window's handle as the shell knows it (tray record, popup owner).
    virtual void* windowHandle() const = 0;
    // The customize dialog's shortcut-key box, and the words beside it ("" for none).
    virtual ShortcutKey shownShortcutKey() const = 0;
    virtual void showShortcutKey(ShortcutKey shortcut) = 0;
    virtual void sayBesideShortcutKey(const std::string& text) = 0;
};

// The operating system as the hub reaches it.
struct Services {
    platform::MessageBoxes& boxes;
    platform::FileSystem& files;
    const platform::AnsiCodec& codec;
    std::string exeDirectory;  // as the platform reports it, with or without a trailing backslash
    platform::Tray& tray;
    coolmenu::MenuEngine& menuEngine;
    platform::Processes& processes;
    platform::DesktopWindow& desktop;
    platform::OsVersionSource& osVersion;
    platform::DriveInfo& drives;
    platform::MediaControl& mci;
    CoverOpener& cover;
    platform::Registry& registry;
    platform::FolderPicker& folderPicker;
    std::string exeFileName;  // with its extension, as the platform reports it
    about::AboutBox& aboutBox;
    platform::HotKeys& hotKeys;
};

// The copy beside the exe: the program's directory followed by
// "\lumivane.ini"; the backslash is always inserted, even for a drive root.
// Whether it is the file used is settings_file::settingsFileLocation's answer.
std::string settingsPathFor(const std::string& exeDirectory);

// Where the popup menu opens: at the tray icon (the keyboard opened it there),
// or at the mouse pointer.
enum class MenuPlacement { atIcon, atPointer };

// The hub of the program. It is the customize dialog, owns the
// tray icon and the popup menu, and handles every command of the menu.
class Hub {
public:
    Hub(HubHost& host, Services& services) : host_(host), os_(services) {}

    // The start-up sequence of the tray; ends by hiding the window. Whether
    // another copy runs was decided before the window existed.
    void start();
    // Instead of start, in a process that runs one command and ends: the
    // folders as the settings file at path holds them (nothing when it could
    // not be read), no file created, no tray icon, no menu engine.
    void prepareForCommand(const std::string& path, const std::optional<FolderList>& folders);
    // Does what the action asks, as its popup item does.
    void run(const Action& action);
    // Never cancels: the window always goes.
    void onClose() {}

    // Runs the action of the popup item with this command identifier, after
    // the popup has closed.
    void onMenuCommand(unsigned id);
    // The one way the popup menu opens, whoever asks: nothing when it is open
    // already. The chosen item runs once it has closed, then what was handed
    // over meanwhile. anchor: the point the tray reported, for atIcon.
    void openMenu(MenuPlacement placement, std::optional<platform::ScreenPoint> anchor = std::nullopt);
    // A command handed over by a second copy, kept until runHandedOver.
    void queueHandedOver(const Action& action) { handedOver_.push_back(action); }
    // Runs what was handed over, in order; while the menu is open it waits for
    // the menu to close, as the item chosen in it does.
    void runHandedOver();
    bool hasHandedOver() const { return !handedOver_.empty(); }

    // Captions, visibility and enabled state of the ten folder items.
    void updateFolderItems();
    // Adds the tray icon, the picture keyed "TURN" at the size the
    // notification area shows.
    void addTrayIcon();
    // The tray icon's callback: the notification (a mouse message, or the
    // keyboard's NIN_KEYSELECT and WM_CONTEXTMENU) and, where the shell gives
    // one, the point it concerns.
    void onTrayMessage(unsigned notification, std::optional<platform::ScreenPoint> anchor = std::nullopt);
    // The popup menu is open (its loop runs).
    bool menuOpen() const { return trayEvents_.menuOpen(); }
    // The shell (re)created its taskbar: any icon it had is gone.
    void onTaskbarCreated();
    // The window is going away, or the session ends, without Exit.
    void onWindowGone();
    // The display's resolution or layout changed: a shown icon is replaced by
    // the picture at the notification area's new size.
    void onDisplayChange();

    // The shortcut key (hub_shortcut_key.cpp). Loading registers the stored
    // key for the window; a refusal is said in a balloon when sayRefusal.
    void loadShortcutKey(bool sayRefusal);
    // WM_HOTKEY: the menu at the pointer, unless the dialog or the menu is open.
    void onShortcutKey();
    // The key in force: registered for the window.
    ShortcutKey shortcutKey() const { return shortcutKey_; }
    // Unregisters the key in force.
    void dropShortcutKey();

    void onCustomize();
    void onExit();
    // Shows the About box modally, with no owner; returns when it is closed.
    void onAbout();

    // An "Open" and a "Close" item for every CD drive, behind the CD heading.
    void addCdDriveItems();
    void onRunScreenSaver();
    void onTurnMonitorOff();
    // Start with Windows (hub_start_with_windows.cpp). Reading also starts
    // watching the keys it read.
    start_with_windows::StartupState readStartWithWindows();
    // Reads again only when a watched key changed since the last read.
    void refreshStartWithWindows();
    void updateStartWithWindowsCaption();
    void onStartWithWindows();
    // On: the machine's Run value, or the user's where Windows refuses the
    // machine's. Off: the value goes from both roots. A change that did not
    // take effect is said once; the caption shows what the registry holds.
    void setStartWithWindows(bool on);

    // The customize dialog's buttons (hub_customize.cpp); a row is a slot.
    void onBrowse(int row);
    // Files or folders dropped on the dialog, on a row's path box or elsewhere.
    void onDrop(std::optional<int> row, const std::vector<std::string>& paths);
    void onClear(int row);
    void onOk();
    void onCancel();

    std::string settingsPath;
    bool startsWithWindows = false;
    int aboutCount = 0;
    PopupMenu popupMenu;
    ImageList menuImages;
    // Kept for the whole run and handed to the menu engine; the hub handles none
    // of its events.
    coolmenu::HelpCallback menuHelp;

private:
    HubHost& host_;
    // The tray's picture at the notification area's size, noted as given.
    void* trayPicture();

    Services& os_;
    bool trayWanted_ = false;  // the icon should be in the notification area
    bool trayShown_ = false;   // the shell accepted it and it was not removed since
    int trayIconSize_ = 0;     // the size of the picture the shell was last given
    TrayEvents trayEvents_;
    std::vector<Action> handedOver_;
    // The menu engine is attached and the items are ready: at start, or at
    // the first opening of a one-command run.
    bool menuReady_ = false;
    void attachMenuEngine();
    std::unique_ptr<platform::KeyWatch> startupWatch_;  // the keys of the last start-up read
    // The folders as last read from or written to the settings file, for a
    // Cancel that finds the file gone or held.
    FolderList savedFolders_{};
    void rememberSavedFolders();
    ShortcutKey shortcutKey_;
    bool shortcutKeyLoaded_ = false;
    bool registerShortcutKey(ShortcutKey shortcut);
    // The dialog's key put in force and stored; false when Windows refused it,
    // which is said beside the box, the key in force kept.
    bool applyShortcutKey();
    void sayFoldersUnreadable();
    // The tray's run keeps the settings file in being; a one-command run
    // creates none of its own accord.
    bool keepsSettingsFile_ = false;
};

} // namespace lumivane
