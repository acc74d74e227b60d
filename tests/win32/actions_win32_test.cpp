#include "actions/screen_saver.h"
#include "actions/turn_mon_off_window.h"
#include "fakes/recording.h"
#include "platform/win32/desktop.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/files.h"
#include "platform/win32/process.h"
#include "platform/win32/system_info.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {
std::vector<std::string> g_events;

// Records each message box as it comes up and closes it with OK.
LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[32] = {}, title[256] = {}, text[256] = {};
        ::GetClassNameW(box, cls, 32);
        if (std::wstring(cls) == L"#32770") {
            ::GetWindowTextW(box, title, 256);
            ::GetDlgItemTextW(box, 0xFFFF, text, 256);
            HWND icon = ::GetDlgItem(box, 1088);
            auto shown = icon ? reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)) : nullptr;
            std::string mark = !shown ? "" : shown == ::LoadIconW(nullptr, IDI_HAND) ? "|stop" : "|other icon";
            g_events.push_back("box(" + win32::narrow(text) + "|" + win32::narrow(title) + mark + ")");
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct BoxWatcher {
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, ::GetCurrentThreadId());
    BoxWatcher() { g_events.clear(); }
    ~BoxWatcher() { ::UnhookWindowsHookEx(hook); }
};

// Starts for real and notes each start among the boxes, to see the order.
class NotedProcesses final : public platform::Processes {
public:
    bool start(const std::string& commandLine, int showCommand) override {
        bool started = real_.start(commandLine, showCommand);
        g_events.push_back("start(" + commandLine + "|" + std::to_string(showCommand) + (started ? ")" : "|failed)"));
        return started;
    }

private:
    win32::Win32Processes real_;
};

// The hub's logic on the real system, with a fake window for its path boxes.
struct RealHub {
    fakes::FakeOs os;
    win32::Win32MessageBoxes boxes;
    win32::Win32FileSystem files;
    NotedProcesses processes;
    win32::Win32DesktopWindow desktop;
    win32::Win32OsVersion version;
    win32::TurnMonOffWindow cover{::GetModuleHandleW(nullptr)};
    Services services{os.instance, boxes, files, os.codec, "C:\\Tools", os.tray, os.menuEngine, processes, desktop,
                      version, os.drives, os.mci, cover, os.registry, os.folderPicker, "lumivane.exe", os.aboutBox};
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, services};
};

HWND waitForWindow(const wchar_t* cls, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (HWND w = ::FindWindowW(cls, nullptr)) return w;
        ::Sleep(100);
    }
    return nullptr;
}

// One line per event, so a failed check shows what happened.
std::string events() {
    std::string out;
    for (const auto& e : g_events) out += e + "\n";
    return out;
}

} // namespace

TEST_CASE("a folder item opens the file manager on an existing folder and names a missing one") {
    BoxWatcher watcher;
    RealHub hub;
    ::CreateDirectoryW(L"C:\\Lumivane Test", nullptr);
    hub.host.boxes[2] = "C:\\Lumivane Test";
    hub.host.boxes[3] = "C:\\No Such Folder";
    hub.host.boxes[4] = "C:\\windows\\win.ini";

    hub.form.onMenuCommand(menu_id::kFolderBase + 2);
    REQUIRE(events() == "start(Explorer C:\\Lumivane Test|1)\n");
    HWND explorer = waitForWindow(L"ExplorerWClass", 15000);
    CHECK(explorer != nullptr);
    if (explorer) ::PostMessageW(explorer, WM_CLOSE, 0, 0);

    g_events.clear();
    hub.form.onMenuCommand(menu_id::kFolderBase + 3);
    hub.form.onMenuCommand(menu_id::kFolderBase + 4);
    CHECK(events() == "box(Folder Does Not Exist|Lumivane|stop)\nbox(Folder Does Not Exist|Lumivane|stop)\n");
}

TEST_CASE("with the screen saver off: the message without icon, then the control panel command minimized") {
    BoxWatcher watcher;
    RealHub hub;
    // The answer comes from the display's screen saver once a window exists.
    HWND anchor = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    REQUIRE_FALSE(modSS::IsScreenSaverActive(hub.desktop));

    hub.form.onMenuCommand(menu_id::kRunScr);
    CHECK(events() == "box(No Screen Saver is selected.|Lumivane)\n"
                      "start(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1|2)\n");
    ::DestroyWindow(anchor);
}

TEST_CASE("with the screen saver on, the command goes to the desktop and returns without a message") {
    BoxWatcher watcher;
    RealHub hub;
    HWND anchor = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    if (!modSS::IsScreenSaverActive(hub.desktop)) {
        MESSAGE("this display has no screen saver to switch on; case not checked");
        ::DestroyWindow(anchor);
        return;
    }
    ULONGLONG before = ::GetTickCount64();
    hub.form.onMenuCommand(menu_id::kRunScr);
    CHECK(::GetTickCount64() - before < 10000);
    CHECK(events() == "");
    ::DestroyWindow(anchor);
}
