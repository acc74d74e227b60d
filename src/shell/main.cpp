#include "about/about_dialog.h"
#include "platform/win32/background.h"
#include "actions/win32_cover_window.h"
#include "platform/win32/desktop.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/files.h"
#include "platform/win32/folder_picker.h"
#include "platform/win32/hot_keys.h"
#include "platform/win32/instance.h"
#include "platform/win32/media_control.h"
#include "coolmenu/win32/menu_engine.h"
#include "platform/win32/process.h"
#include "platform/win32/registry.h"
#include "platform/win32/system_info.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/timing.h"
#include "platform/win32/tray.h"
#include "platform/win32/wide.h"
#include "folders/settings_file.h"
#include "shell/command_line.h"
#include "shell/hand_over.h"
#include "shell/hub_window.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace lumivane;

struct LocalFreeDeleter {
    void operator()(LPWSTR* words) const { ::LocalFree(words); }
};

// The words after the program's name, split by the system's own rules.
std::vector<std::string> commandWords() {
    int count = 0;
    std::unique_ptr<LPWSTR, LocalFreeDeleter> words(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> args;
    for (int i = 1; words && i < count; ++i) args.push_back(win32::narrow(words.get()[i]));
    return args;
}

// Runs the hub window's messages while keepGoing says so and the window lives.
template <class KeepGoing>
void runMessages(win32::HubWindow& hub, KeepGoing keepGoing) {
    MSG msg;
    while (hub.hwnd() && keepGoing() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        timing::countMessage();
        if (!::IsDialogMessageW(hub.hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

// Exit codes: 0 done, handed over, or a second start refused; 1 nothing could
// be done (no copy for /exit to end, a copy that took no command); 2 bad input.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    timing::mark(timing::Mark::entered);
    win32::Win32MessageBoxes boxes;
    // Work on the thread pool uses these and may still run while the program
    // ends (Exit waits for nothing): they are never destroyed.
    auto& files = *new win32::Win32FileSystem;
    auto& mci = *new win32::Win32MediaControl;
    win32::Win32Background background;
    win32::AnsiCodePage codec;
    win32::Win32Tray tray;
    win32::Win32MenuEngine menuEngine;
    win32::Win32Processes processes;
    win32::Win32DesktopWindow desktop;
    win32::Win32OsVersion osVersion;
    win32::Win32DriveInfo drives;
    win32::Win32CoverWindow cover(instance);
    win32::Win32Registry registry;
    win32::ShellFolderPicker folderPicker;
    win32::Win32HotKeys hotKeys;
    // The About box says a failed start in its own words, or not at all.
    win32::Win32Processes aboutStarts(win32::Win32Processes::OnFailure::Silent);
    about::SysInfoServices sysInfo{registry, files, aboutStarts, boxes, win32::systemProgramDirectory()};
    win32::AboutDialog aboutBox(instance, sysInfo, aboutStarts);
    Services services{boxes, files, codec, win32::moduleDirectory(), tray, menuEngine,
                      processes, desktop, osVersion, drives, mci, cover,
                      registry, folderPicker, win32::moduleFileName(), aboutBox, background, hotKeys};

    // What was asked, before any window exists.
    const std::vector<std::string> words = commandWords();
    const command_line::Request request = command_line::parse(words);
    if (std::holds_alternative<command_line::ShowHelp>(request)) {
        boxes.show(std::string(command_line::kUsage), kAppTitle, platform::kMbOk | platform::kMbIconInformation);
        return 0;
    }
    const Action* action = std::get_if<Action>(&request);
    std::string settingsPath;
    std::optional<FolderList> folders;
    std::optional<std::string> problem;
    if (const auto* bad = std::get_if<command_line::BadInput>(&request)) problem = bad->problem;
    if (action) {
        // A command reads the settings file a start would read and creates
        // nothing; the dialog's OK saves where a start would.
        const auto location = settings_file::settingsFileLocation(settingsPathFor(services.exeDirectory), files);
        settingsPath = location.path;
        folders = settings_file::readFolders(settings_file::fileToRead(location, files), files, codec);
        problem = command_line::problemOnThisComputer(*action, drives, folders);
    }
    if (problem) {
        boxes.show(*problem + "\n\n" + std::string(command_line::kUsage), kAppTitle,
                   platform::kMbOk | platform::kMbIconExclamation);
        return 2;
    }

    // Whether a copy already runs: it gets the command, or the start is refused.
    win32::NamedMutexInstanceLock instanceLock;
    if (instanceLock.anotherInstanceRunning()) {
        if (!action) {
            boxes.show("Already running", kAppTitle, platform::kMbOk | platform::kMbIconStop);
            return 0;
        }
        if (win32::handOver(words)) return 0;
        boxes.show("Lumivane is running, but it did not take the command.", kAppTitle,
                   platform::kMbOk | platform::kMbIconExclamation);
        return 1;
    }
    if (action && std::holds_alternative<Exit>(*action)) return 1;  // no copy to end

    win32::HubWindow hub(services);
    if (!hub.create(instance)) return 1;
    background.postTo(hub.hwnd());
    if (action) {
        // The command alone, then the end once what it opened is closed (the
        // customize dialog, the cover window) and what was handed over
        // meanwhile has run. The lock goes with the process.
        hub.logic().prepareForCommand(settingsPath, folders);
        hub.logic().run(*action);
        runMessages(hub, [&] { return hub.isVisible() || cover.hwnd() || hub.logic().hasHandedOver() || hub.logic().waiting();
        });
        return 0;
    }
    timing::mark(timing::Mark::windowCreated);
    hub.logic().start();
    timing::mark(timing::Mark::loaded);
    runMessages(hub, [] { return true; });
    return 0;
}
