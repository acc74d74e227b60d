// probe: a small console program that end-to-end tests run inside the test's
// Wine prefix to look at and drive the desktop from within, where windows,
// keyboard focus and process lists are visible as a user's programs see them.
#include <windows.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
    // Tabs and line breaks would break the one-record-a-line output.
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

std::string windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    // With a timeout: a hung window must not hang the probe.
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &got);
    return utf8(buffer);
}

std::string className(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return utf8(buffer);
}

HWND parseHwnd(const char* s) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(s, nullptr, 0)));
}

BOOL CALLBACK listTop(HWND hwnd, LPARAM) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    std::printf("0x%llx\t%lu\t%d\t%ld\t%ld\t%ld\t%ld\t%s\t%s\n",
                static_cast<unsigned long long>(reinterpret_cast<INT_PTR>(hwnd)), pid, IsWindowVisible(hwnd) ? 1 : 0,
                r.left, r.top, r.right - r.left, r.bottom - r.top, className(hwnd).c_str(), windowText(hwnd).c_str());
    return TRUE;
}

BOOL CALLBACK listChild(HWND hwnd, LPARAM) {
    std::printf("%d\t%s\t%s\n", GetDlgCtrlID(hwnd), className(hwnd).c_str(), windowText(hwnd).c_str());
    return TRUE;
}

// A named key, or the key that types a single character; 0 when unknown.
WORD keyCode(const char* name) {
    const struct {
        const char* name;
        WORD vk;
    } named[] = {{"Escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"Tab", VK_TAB},   {"Up", VK_UP},
                   {"Down", VK_DOWN},     {"space", VK_SPACE},   {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU},
                   {"Shift", VK_SHIFT},   {"F9", VK_F9}};
    for (const auto& k : named)
        if (std::strcmp(k.name, name) == 0) return k.vk;
    SHORT scan = std::strlen(name) == 1 ? VkKeyScanA(name[0]) : -1;
    return scan == -1 ? 0 : static_cast<WORD>(scan & 0xFF);
}

// A combination such as "Ctrl+Alt+L": each key down in order, then up in reverse.
bool pressChord(const char* chord) {
    std::vector<WORD> keys;
    std::string rest = chord;
    for (size_t plus; !rest.empty(); rest = plus == std::string::npos ? "" : rest.substr(plus + 1)) {
        plus = rest.find('+');
        WORD vk = keyCode(rest.substr(0, plus).c_str());
        if (!vk) return false;
        keys.push_back(vk);
    }
    std::vector<INPUT> input(keys.size() * 2);
    for (size_t i = 0; i < keys.size(); ++i) {
        input[i].type = input[input.size() - 1 - i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = input[input.size() - 1 - i].ki.wVk = keys[i];
        input[input.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) == input.size();
}

void pressAndRelease(WORD vk, wchar_t unicode) {
    INPUT input[2]{};
    for (int i = 0; i < 2; ++i) {
        input[i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = vk;
        input[i].ki.wScan = unicode;
        input[i].ki.dwFlags = (unicode ? KEYEVENTF_UNICODE : 0) | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, input, sizeof(INPUT));
}

// Drops files as the shell does on a program that accepts them the classic
// way: on the window under the point, or its nearest ancestor, that has
// WS_EX_ACCEPTFILES, with a DROPFILES block in that program's memory (an
// HDROP is a pointer there). The point is the centre of control `id` of
// `window`, or a corner of its client area for id 0.
int dropFiles(HWND window, int id, char** paths, int count) {
    HWND control = id ? GetDlgItem(window, id) : window;
    RECT r{};
    if (!control || !GetWindowRect(control, &r)) return 1;
    POINT at = id ? POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2} : POINT{4, 4};
    if (!id) ClientToScreen(window, &at);
    HWND target = WindowFromPoint(at);
    while (target && !(GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) target = GetAncestor(target, GA_PARENT);
    if (!target) return 1;

    std::wstring names;
    for (int i = 0; i < count; ++i) {
        wchar_t name[1024] = {};
        MultiByteToWideChar(CP_UTF8, 0, paths[i], -1, name, 1023);
        names.append(name).push_back(L'\0');
    }
    names.push_back(L'\0');
    // Zeros before the block: the receiver's DragFinish hands it to the heap,
    // which looks just in front of it and finds it none of its own.
    constexpr size_t kLead = 64;
    std::string block(kLead + sizeof(DROPFILES) + names.size() * sizeof(wchar_t), '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(block.data() + kLead);
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    ScreenToClient(target, &drop->pt);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));

    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    bool sent = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr) &&
                PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote + kLead), 0);
    CloseHandle(process);
    return sent ? 0 : 1;
}

// Adds drive `letter` as a CD drive whose disc is the Unix folder `unixPath`,
// or, without a path, takes the letter away, while programs run: what Wine's
// own drive settings do through its mount manager. Answers 0 only when the
// system then reports the drive as wanted.
int defineCdDrive(char letter, const char* unixPath) {
    // Wine's extension of the mount manager (IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE)
    // and its input, followed by the Unix path.
    constexpr DWORD kDefineUnixDrive = 0x6DC080;
    struct UnixDrive {
        ULONG size, type, fs_type;
        DWORD serial;
        ULONGLONG unix_dev;
        WCHAR letter;
        USHORT mount_point_offset, device_offset, label_offset;
    };
    if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');  // the manager wants lower case
    if (letter < 'a' || letter > 'z') return 2;
    std::string block(sizeof(UnixDrive), '\0');
    if (unixPath) block.append(unixPath).push_back('\0');
    UnixDrive drive{};
    drive.size = static_cast<ULONG>(block.size());
    drive.type = unixPath ? DRIVE_CDROM : DRIVE_UNKNOWN;
    drive.letter = static_cast<WCHAR>(letter);
    drive.mount_point_offset = unixPath ? static_cast<USHORT>(sizeof(UnixDrive)) : 0;
    std::memcpy(block.data(), &drive, sizeof drive);
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return 1;
    DWORD returned = 0;
    BOOL defined = DeviceIoControl(manager, kDefineUnixDrive, block.data(), static_cast<DWORD>(block.size()), nullptr,
                                   0, &returned, nullptr);
    CloseHandle(manager);
    const char root[] = {letter, ':', '\\', '\0'};
    return defined && (GetDriveTypeA(root) == DRIVE_CDROM) == (unixPath != nullptr) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string cmd = argc >= 2 ? argv[1] : "";
    if (cmd == "windows") {
        EnumWindows(listTop, 0);
    } else if (cmd == "children" && argc == 3) {
        EnumChildWindows(parseHwnd(argv[2]), listChild, 0);
    } else if (cmd == "click" && argc == 4) {
        HWND button = GetDlgItem(parseHwnd(argv[2]), std::atoi(argv[3]));
        // Posted, so a modal loop started by the click does not block the probe.
        return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
    } else if (cmd == "click-until" && argc == 6) {
        // Clicks, then waits up to MS milliseconds for a visible dialog of that
        // title; prints how long it took from the click, measured here rather
        // than through the probe's own start-up.
        HWND button = GetDlgItem(parseHwnd(argv[2]), std::atoi(argv[3]));
        wchar_t title[256] = {};
        MultiByteToWideChar(CP_UTF8, 0, argv[4], -1, title, 255);
        const ULONGLONG clicked = GetTickCount64(), limit = std::strtoull(argv[5], nullptr, 0);
        if (!button || !PostMessageW(button, BM_CLICK, 0, 0)) return 1;
        HWND shown = nullptr;
        while (!shown && GetTickCount64() - clicked < limit) {
            HWND found = FindWindowW(L"#32770", title);
            if (found && IsWindowVisible(found)) shown = found;
            else Sleep(10);
        }
        std::printf("%llu\n", GetTickCount64() - clicked);
        return shown ? 0 : 1;
    } else if (cmd == "drop" && argc >= 5) {
        return dropFiles(parseHwnd(argv[2]), std::atoi(argv[3]), argv + 4, argc - 4);
    } else if (cmd == "keys") {
        for (int i = 2; i < argc; ++i) {
            if (std::strchr(argv[i], '+') && argv[i][1]) {
                if (pressChord(argv[i])) continue;
                std::fprintf(stderr, "unknown keys %s\n", argv[i]);
                return 2;
            }
            WORD vk = keyCode(argv[i]);
            if (!vk) {
                std::fprintf(stderr, "unknown key %s\n", argv[i]);
                return 2;
            }
            pressAndRelease(vk, 0);
        }
    } else if (cmd == "type" && argc == 3) {
        wchar_t text[1024] = {};
        MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, text, 1023);
        for (const wchar_t* ch = text; *ch; ++ch) pressAndRelease(0, *ch);
    } else if (cmd == "answers" && argc == 4) {
        // Whether the window's thread takes a message within the time (ms);
        // prints how long it took.
        LARGE_INTEGER frequency{}, before{}, after{};
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        DWORD_PTR result = 0;
        LRESULT answered = SendMessageTimeoutW(parseHwnd(argv[2]), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                               static_cast<UINT>(std::atoi(argv[3])), &result);
        QueryPerformanceCounter(&after);
        std::printf("%.1f\n", 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
        return answered ? 0 : 1;
    } else if (cmd == "close" && argc == 3) {
        return PostMessageW(parseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    } else if (cmd == "processes") {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry))
            std::printf("%lu\t%s\n", entry.th32ProcessID, utf8(entry.szExeFile).c_str());
        CloseHandle(snap);
    } else if (cmd == "taskbar-created") {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000,
                            &result);
    } else if (cmd == "setting-change" && argc == 3) {
        // What the system broadcasts when the user changes a setting, e.g.
        // "ImmersiveColorSet" for the apps' light or dark theme.
        wchar_t area[256] = {};
        MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, area, 255);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area), SMTO_ABORTIFHUNG,
                            5000, &result);
    } else if (cmd == "system-colour" && argc == 3) {
        COLORREF c = GetSysColor(std::atoi(argv[2]));
        std::printf("%d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
    } else if (cmd == "tray-delete" && argc == 4) {
        // Takes another program's tray icon away, as a restarting shell does.
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = parseHwnd(argv[2]);
        data.uID = static_cast<UINT>(std::atoi(argv[3]));
        return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    } else if (cmd == "tray-notify" && argc == 8) {
        // A tray notification as a shell of version 4 sends it, without waiting:
        // the event in the low word of lParam, the icon in the high word, the
        // point in wParam.
        HWND owner = parseHwnd(argv[2]);
        UINT callback = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        WORD event = static_cast<WORD>(std::strtoul(argv[4], nullptr, 0));
        WORD icon = static_cast<WORD>(std::strtoul(argv[5], nullptr, 0));
        int x = std::atoi(argv[6]), y = std::atoi(argv[7]);
        return SendNotifyMessageW(owner, callback, MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y)),
                                  MAKELPARAM(event, icon))
                   ? 0
                   : 1;
    } else if (cmd == "end-session" && argc == 3) {
        // What the Restart Manager sends a program it closes for an installer.
        // Answers 0 when the program agreed to go.
        HWND window = parseHwnd(argv[2]);
        DWORD_PTR agreed = 0, ignored = 0;
        if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &agreed) ||
            !agreed)
            return 1;
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &ignored);
    } else if (cmd == "read-only-key" && argc == 3) {
        // A machine key as a user without administrator rights meets it: a
        // protected DACL that lets everyone read and no one write. Answers 0
        // only when a write is then refused.
        wchar_t subkey[512] = {};
        MultiByteToWideChar(CP_UTF8, 0, argv[2], -1, subkey, 511);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        HKEY key = nullptr;
        bool set = ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                         &readOnly, nullptr) &&
                   RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
                   RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        if (key) RegCloseKey(key);
        LocalFree(readOnly);
        HKEY writable = nullptr;
        LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_SET_VALUE, &writable);
        if (writable) RegCloseKey(writable);
        return set && status == ERROR_ACCESS_DENIED ? 0 : 1;
    } else if (cmd == "cd-drive" && (argc == 3 || argc == 4)) {
        return defineCdDrive(argv[2][0], argc == 4 ? argv[3] : nullptr);
    } else if (cmd == "idle") {
        // Keeps the Wine desktop open while a test restarts the program.
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    } else {
        std::fprintf(stderr, "usage: probe windows | children HWND | click HWND ID | click-until HWND ID TITLE MS | drop HWND ID PATH... | keys KEY... |\n"
                             "       type TEXT |\n"
                             "       answers HWND MS | close HWND | processes | taskbar-created | setting-change AREA | system-colour INDEX |\n"
                             "       tray-delete HWND ID | tray-notify HWND MESSAGE EVENT ICON X Y | end-session HWND |\n"
                             "       read-only-key SUBKEY | cd-drive LETTER [UNIX_PATH] | idle\n");
        return 2;
    }
    return 0;
}
