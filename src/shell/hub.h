#pragma once
#include "about/about_box.h"
#include "platform/background.h"
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

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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

// A busy taskbar's refused icon is tried again after this long.
inline constexpr unsigned kTrayRetryMilliseconds = 1000;

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
    platform::Background& background;  // what may wait on a disc, the network or a drive
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
    // Work sent to the background has not answered yet (a command run alone
    // ends only after it).
    bool waiting() const;
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
    // The shell (re)created its taskbar: any icon it had is gone. Or the
    // display scale changed, and Windows says so with the same message while
    // the icon stays.
    void onTaskbarCreated();
    // The time to try a refused icon again has come.
    void onTrayRetry();
    // The window is going away without Exit.
    void onWindowGone();
    // WM_ENDSESSION. The session ends: the icon goes, and the system ends the
    // process. An installer or update asks the program to close (the Restart
    // Manager's closeApp): it ends as Exit does.
    void onSessionEnd(bool ending, bool closeApp);
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

    // An "Open" and a "Close" item for every drive that is a CD drive now,
    // behind the CD heading; called as the popup opens.
    void refreshCdDriveItems();
    // WM_DEVICECHANGE: a volume came or went; the next opening asks every drive.
    void onDevicesChanged() { devicesChanged_ = true; }
    // The drive's door moves in the background: the drive may take seconds.
    void moveCdDoor(const CdDoor& door);
    // The folder's existence is asked in the background (a share may take a
    // minute to answer); Explorer or the message comes with the answer. The
    // row chosen again meanwhile starts nothing more.
    void openFolder(int slot);
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

    // The customize dialog's buttons (hub_customize.cpp; Browse in hub_background.cpp); a row is a slot.
    // Browse opens the picker once the nearest existing folder is known, or
    // after kPickerPatience at the picker's own choice; pressed again
    // meanwhile, it does nothing more.
    void onBrowse(int row);
    static constexpr unsigned kPickerPatience = 2000;  // milliseconds
    // The answers of the background's work, on the window's thread.
    void onFolderChecked(int slot, const std::string& path, bool exists);
    void onDoorMoved() { --doorsMoving_; }
    // For Browse's press `ticket`: the walk's answer, or "" once the patience is over.
    void openPicker(int row, unsigned ticket, const std::string& start);
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
    // Adds the icon with the picture at the notification area's size; true
    // when the shell took it.
    bool showTrayIcon();
    // Tries the refused icon again later when the taskbar exists: a busy one
    // sends no "TaskbarCreated" after it.
    void retryTrayIconLater();
    bool trayRetryPending_ = false;  // one try at a time, however often the shell refuses

    Services& os_;
    bool trayWanted_ = false;  // the icon should be in the notification area
    bool trayShown_ = false;   // the shell accepted it and it was not removed since
    int trayIconSize_ = 0;     // the size of the picture the shell last took
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

    // Work in the background and its answers (hub_background.cpp).
    std::array<bool, kFolderSlotCount> folderChecks_{};  // rows whose existence check has not answered
    int doorsMoving_ = 0;
    // The drives as the last opening found them, and which of them were CD drives.
    std::vector<std::string> driveRoots_, cdRoots_;
    bool devicesChanged_ = true;
    bool browseWaiting_ = false;  // Browse pressed, its picker not open yet
    unsigned browseTicket_ = 0;   // which press the walk's answer and the timer belong to
    bool gone_ = false;           // Exit, or the window went: answers are dropped
    // Answers that came while the popup was open: a box or a picker must not
    // open inside its loop, so they wait for it to close.
    struct HeldFolder {
        std::string path;
        bool exists;
    };
    std::vector<HeldFolder> heldFolders_;
    std::optional<std::pair<int, std::string>> heldPicker_;  // row, start folder
    void runAnswersHeldForMenu();
    void showPicker(int row, const std::string& start);
};

} // namespace lumivane
