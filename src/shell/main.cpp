#include "about/about_dialog.h"
#include "actions/win32_cover_window.h"
#include "platform/win32/desktop.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/files.h"
#include "platform/win32/folder_picker.h"
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
#include "shell/hub_window.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace lumivane;
    timing::mark(timing::Mark::entered);
    win32::NamedMutexInstanceLock instanceLock;
    win32::Win32MessageBoxes boxes;
    win32::Win32FileSystem files;
    win32::AnsiCodePage codec;
    win32::Win32Tray tray;
    win32::Win32MenuEngine menuEngine;
    win32::Win32Processes processes;
    win32::Win32DesktopWindow desktop;
    win32::Win32OsVersion osVersion;
    win32::Win32DriveInfo drives;
    win32::Win32MediaControl mci;
    win32::Win32CoverWindow cover(instance);
    win32::Win32Registry registry;
    win32::ShellFolderPicker folderPicker;
    // The About box says a failed start in its own words, or not at all.
    win32::Win32Processes aboutStarts(win32::Win32Processes::OnFailure::Silent);
    about::SysInfoServices sysInfo{registry, files, aboutStarts, boxes, win32::systemProgramDirectory()};
    win32::AboutDialog aboutBox(instance, sysInfo, aboutStarts);
    Services services{instanceLock, boxes, files, codec, win32::moduleDirectory(), tray, menuEngine,
                      processes, desktop, osVersion, drives, mci, cover,
                      registry, folderPicker, win32::moduleFileName(), aboutBox};

    win32::HubWindow hub(services);
    if (!hub.create(instance)) return 1;
    timing::mark(timing::Mark::windowCreated);
    hub.logic().start();
    timing::mark(timing::Mark::loaded);

    MSG msg;
    while (hub.hwnd() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        timing::countMessage();
        if (!::IsDialogMessageW(hub.hwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return 0;
}
