// probe: a small console program that end-to-end tests run inside the test's
// Wine prefix to look at and drive the desktop from within, where windows,
// keyboard focus and process lists are visible as a user's programs see them.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring wide(const char* s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    return w;
}

// Tabs and line breaks would break the one-record-a-line output.
std::string clean(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

std::string windowText(HWND hwnd) {
    wchar_t buffer[1024] = {};
    // WM_GETTEXT with a timeout: a hung window must not hang the probe.
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &got);
    return clean(utf8(buffer));
}

std::string className(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return utf8(buffer);
}

HWND parseHwnd(const char* s) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(s, nullptr, 0)));
}

void printWindow(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    std::printf("0x%llx\t%lu\t%d\t%ld\t%ld\t%ld\t%ld\t%s\t%s\n",
                static_cast<unsigned long long>(reinterpret_cast<INT_PTR>(hwnd)), pid, IsWindowVisible(hwnd) ? 1 : 0,
                r.left, r.top, r.right - r.left, r.bottom - r.top, className(hwnd).c_str(), windowText(hwnd).c_str());
}

BOOL CALLBACK listTop(HWND hwnd, LPARAM) {
    printWindow(hwnd);
    return TRUE;
}

BOOL CALLBACK listChild(HWND hwnd, LPARAM) {
    std::printf("%d\t%s\t%s\t%d\n", GetDlgCtrlID(hwnd), className(hwnd).c_str(), windowText(hwnd).c_str(),
                IsWindowVisible(hwnd) ? 1 : 0);
    return TRUE;
}

struct KeyName {
    const char* name;
    WORD vk;
};
const KeyName kKeys[] = {
    {"Escape", VK_ESCAPE}, {"Return", VK_RETURN}, {"Tab", VK_TAB},     {"Space", VK_SPACE},
    {"Up", VK_UP},         {"Down", VK_DOWN},     {"Left", VK_LEFT},   {"Right", VK_RIGHT},
    {"Home", VK_HOME},     {"End", VK_END},       {"Back", VK_BACK},   {"Delete", VK_DELETE},
    {"Shift", VK_SHIFT},   {"Control", VK_CONTROL}, {"Alt", VK_MENU}, {"F1", VK_F1}, {"F10", VK_F10},
};

WORD keyCode(const char* name) {
    for (const auto& k : kKeys)
        if (_stricmp(k.name, name) == 0) return k.vk;
    if (std::strlen(name) == 1) {
        SHORT scan = VkKeyScanA(name[0]);
        if (scan != -1) return static_cast<WORD>(scan & 0xFF);
    }
    return 0;
}

void sendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

int usage() {
    std::fprintf(stderr,
                 "usage: probe windows | children HWND | click HWND ID | keys KEY... | type TEXT |\n"
                 "       foreground | activate HWND | close HWND | processes | taskbar-created | tray-delete HWND ID |\n"
                 "       gui-resources PID | memory PID | idle\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string cmd = argv[1];
    if (cmd == "windows") {
        EnumWindows(listTop, 0);
        return 0;
    }
    if (cmd == "children" && argc == 3) {
        EnumChildWindows(parseHwnd(argv[2]), listChild, 0);
        return 0;
    }
    if (cmd == "click" && argc == 4) {
        HWND button = GetDlgItem(parseHwnd(argv[2]), std::atoi(argv[3]));
        if (!button) return 1;
        // Posted, so a modal loop started by the click does not block the probe.
        PostMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (cmd == "keys") {
        for (int i = 2; i < argc; ++i) {
            // "Shift+Tab": hold the modifiers while the last key is pressed.
            std::string chord = argv[i];
            WORD codes[4] = {};
            int count = 0;
            size_t start = 0;
            while (count < 4) {
                size_t plus = chord.find('+', start);
                std::string part = chord.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
                WORD vk = keyCode(part.c_str());
                if (!vk) {
                    std::fprintf(stderr, "unknown key %s\n", part.c_str());
                    return 2;
                }
                codes[count++] = vk;
                if (plus == std::string::npos) break;
                start = plus + 1;
            }
            for (int k = 0; k < count; ++k) sendKey(codes[k], false);
            for (int k = count - 1; k >= 0; --k) sendKey(codes[k], true);
        }
        return 0;
    }
    if (cmd == "type" && argc == 3) {
        std::wstring text = wide(argv[2]);
        for (wchar_t ch : text) {
            INPUT in[2]{};
            in[0].type = in[1].type = INPUT_KEYBOARD;
            in[0].ki.wScan = in[1].ki.wScan = ch;
            in[0].ki.dwFlags = KEYEVENTF_UNICODE;
            in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
            SendInput(2, in, sizeof(INPUT));
        }
        return 0;
    }
    if (cmd == "foreground") {
        HWND fg = GetForegroundWindow();
        if (fg) printWindow(fg);
        return 0;
    }
    if (cmd == "activate" && argc == 3) {
        return SetForegroundWindow(parseHwnd(argv[2])) ? 0 : 1;
    }
    if (cmd == "close" && argc == 3) {
        return PostMessageW(parseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (cmd == "processes") {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{sizeof(entry)};
        for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry))
            std::printf("%lu\t%s\n", entry.th32ProcessID, utf8(entry.szExeFile).c_str());
        CloseHandle(snap);
        return 0;
    }
    if (cmd == "taskbar-created") {
        UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        return 0;
    }
    if (cmd == "tray-delete" && argc == 4) {
        // Takes another program's tray icon away, as a restarting shell does.
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = parseHwnd(argv[2]);
        data.uID = static_cast<UINT>(std::atoi(argv[3]));
        return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    }
    if (cmd == "gui-resources" && argc == 3) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(std::atoi(argv[2])));
        if (!process) return 1;
        std::printf("%lu\t%lu\n", GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS));
        CloseHandle(process);
        return 0;
    }
    if (cmd == "memory" && argc == 3) {
        // Private bytes, commit charge, working set. Wine 8 reports 0 private
        // bytes; its commit charge is the nearest figure there.
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                     static_cast<DWORD>(std::atoi(argv[2])));
        if (!process) return 1;
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
        CloseHandle(process);
        if (!ok) return 1;
        std::printf("%llu\t%llu\t%llu\n", static_cast<unsigned long long>(counters.PrivateUsage),
                    static_cast<unsigned long long>(counters.PagefileUsage),
                    static_cast<unsigned long long>(counters.WorkingSetSize));
        return 0;
    }
    if (cmd == "idle") {
        // Keeps the Wine desktop open while a test restarts the program.
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    }
    return usage();
}
