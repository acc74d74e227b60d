// meter: the benchmark's stopwatch. It runs inside the Wine prefix, beside the
// programs it measures, so every time is taken with one clock (the performance
// counter) and every input goes through the same window system a user's does.
//
//   meter startup COUNT EXE...      start each program COUNT times, alternating
//   meter launch EXE                start one and leave it running
//   meter popups PID COUNT [SLOT]   open and close its tray popup COUNT times
//   meter resources PID             memory, GDI objects and windows of a process
//   meter counters PID              the LUMIVANE_TIMING counters of a process
//   meter close PID                 close a program and wait for its end
//
// "Started" means: the taskbar has the program's tray icon (explorer's tooltip
// control gains a tool for every icon added) and the program is idle (it
// answers a message sent to its window, which it can only do from its message
// loop). "Popup painted" means: the popup window is visible and its thread has
// gone back to reading messages (Wine paints a popup synchronously when it
// shows it, so a message sent to the popup is answered only after the paint).
#include "bench/gdi_objects.h"
#include "platform/win32/timing.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace timing = lumivane::timing;

namespace {

LONGLONG now() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double milliseconds(LONGLONG from, LONGLONG to) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to - from) * 1000.0 / frequency;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "meter: %s\n", what);
    std::fflush(stdout);
    std::exit(3);
}

// Polls until done() holds, a millisecond apart: finer polling would take the
// window server from the program being measured.
template <typename F>
bool waitUntil(F done, DWORD timeoutMs) {
    LONGLONG start = now();
    for (;;) {
        if (done()) return true;
        if (milliseconds(start, now()) > timeoutMs) return false;
        ::Sleep(1);
    }
}

HWND trayWindow() {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr);
}

// Tools of the taskbar's tooltip controls: one for every tray icon added.
LONGLONG trayToolCount() {
    DWORD explorer = 0;
    ::GetWindowThreadProcessId(trayWindow(), &explorer);
    LONGLONG total = 0;
    for (HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(tip, &owner);
        DWORD_PTR count = 0;
        if (owner == explorer && ::SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count))
            total += static_cast<LONGLONG>(count);
    }
    return total;
}

struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;  // nullptr: any class but the input-method windows
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK findWindowOf(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid) return TRUE;
    if (search->visibleOnly && !::IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (search->cls ? lstrcmpW(cls, search->cls) != 0 : (lstrcmpW(cls, L"IME") == 0 || lstrcmpW(cls, L"#32768") == 0))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND windowOf(DWORD pid, const wchar_t* cls = nullptr, bool visibleOnly = false) {
    WindowSearch search{pid, cls, visibleOnly, nullptr};
    ::EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Returns once the window's thread has taken a sent message: it is in its
// message loop (or a modal one), not busy.
bool answers(HWND hwnd) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

std::wstring wide(const char* s) {
    int n = ::MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

struct Started {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    double iconMs = 0;
    double idleMs = 0;
    double markMs[timing::kMarkCount] = {-1, -1, -1};  // timing builds only
};

const timing::Counters* openCounters(DWORD pid);

Started start(const char* exe) {
    std::wstring path = wide(exe);
    std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + path + L"\"";
    LONGLONG toolsBefore = trayToolCount();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    Started s;
    LONGLONG t0 = now();
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &s.process))
        fail("cannot start the program");
    if (!waitUntil([&] { return trayToolCount() > toolsBefore; }, 30000)) fail("no tray icon within 30 s");
    LONGLONG tIcon = now();
    ::WaitForInputIdle(s.process.hProcess, 10000);
    if (!waitUntil([&] { return (s.window = windowOf(s.process.dwProcessId)) != nullptr; }, 10000))
        fail("the program has no window");
    if (!answers(s.window)) fail("the program does not answer");
    LONGLONG tIdle = now();
    s.iconMs = milliseconds(t0, tIcon);
    s.idleMs = milliseconds(t0, tIdle);
    // The program's marks share this clock: one performance counter a machine.
    if (const timing::Counters* c = openCounters(s.process.dwProcessId)) {
        for (int m = 0; m < timing::kMarkCount; ++m)
            if (c->marks[m]) s.markMs[m] = milliseconds(t0, c->marks[m]);
        ::UnmapViewOfFile(c);
    }
    return s;
}

bool close(DWORD pid, HANDLE process) {
    for (HWND w = windowOf(pid); w; w = nullptr) ::PostMessageW(w, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0) return true;
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 10000);
    return false;
}

int startupCommand(int count, int argc, char** argv) {
    for (int round = 0; round < count; ++round) {
        for (int i = 0; i < argc; ++i) {
            Started s = start(argv[i]);
            bool closed = close(s.process.dwProcessId, s.process.hProcess);
            std::printf("startup\t%s\t%d\t%.2f\t%.2f\t%s\t%.2f\t%.2f\t%.2f\n", argv[i], round, s.iconMs,
                        s.idleMs, closed ? "closed" : "terminated", s.markMs[0], s.markMs[1], s.markMs[2]);
            std::fflush(stdout);
            ::CloseHandle(s.process.hThread);
            ::CloseHandle(s.process.hProcess);
            // The taskbar drops the closed program's icon; let it settle.
            ::Sleep(300);
        }
    }
    return 0;
}

int launchCommand(const char* exe) {
    Started s = start(exe);
    wchar_t cls[64] = {};
    ::GetClassNameW(s.window, cls, 64);
    std::printf("launch\t%lu\t%.2f\t%.2f\t%ls\n", s.process.dwProcessId, s.iconMs, s.idleMs, cls);
    ::CloseHandle(s.process.hThread);
    ::CloseHandle(s.process.hProcess);
    return 0;
}

const timing::Counters* openCounters(DWORD pid) {
    std::wstring name = L"LumivaneTiming." + std::to_wstring(pid);
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping) return nullptr;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(timing::Counters));
    // The view keeps the section alive.
    ::CloseHandle(mapping);
    return static_cast<const timing::Counters*>(view);
}

void sendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

void sendKey(WORD vk) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Tray icons sit in 20-pixel slots counted from the taskbar's right end.
POINT trayIconPoint(int slot) {
    RECT r{};
    if (!::GetWindowRect(trayWindow(), &r)) fail("no taskbar");
    return POINT{r.right - 10 - 20 * slot, (r.top + r.bottom) / 2};
}

int popupsCommand(DWORD pid, int count, int slot) {
    HWND main = windowOf(pid);
    if (!main) fail("no window of that process");
    const timing::Counters* counters = openCounters(pid);
    POINT at = trayIconPoint(slot);
    for (int i = 0; i < count; ++i) {
        ::SetCursorPos(at.x, at.y);
        sendMouse(MOUSEEVENTF_RIGHTDOWN);
        ::Sleep(20);
        if (!answers(main)) fail("the program does not answer");
        timing::Counters before{};
        if (counters) before = *counters;
        LONGLONG t0 = now();
        sendMouse(MOUSEEVENTF_RIGHTUP);
        HWND popup = nullptr;
        if (!waitUntil([&] { return (popup = windowOf(pid, L"#32768", true)) != nullptr; }, 10000)) {
            HWND other = ::FindWindowW(L"#32768", nullptr);
            DWORD otherPid = 0;
            ::GetWindowThreadProcessId(other, &otherPid);
            std::fprintf(stderr, "popup %d at (%ld, %ld): a popup of process %lu is %s\n", i, at.x, at.y, otherPid,
                         other && ::IsWindowVisible(other) ? "visible" : "hidden");
            fail("no popup within 10 s");
        }
        LONGLONG tVisible = now();
        if (!answers(popup)) fail("the popup does not answer");
        LONGLONG tPainted = now();
        double engineMs = -1;
        long long messages = -1, windowMessages = -1;
        if (counters) {
            engineMs = static_cast<double>(counters->engineTicks - before.engineTicks) * 1000.0 /
                       static_cast<double>(counters->frequency);
            messages = counters->messages - before.messages;
            windowMessages = counters->windowMessages - before.windowMessages;
        }
        sendKey(VK_ESCAPE);
        if (!waitUntil([&] { return !::IsWindowVisible(popup); }, 2000)) {
            // The key went elsewhere: cancel the menu through its owner instead.
            ::PostMessageW(main, WM_CANCELMODE, 0, 0);
            if (!waitUntil([&] { return !::IsWindowVisible(popup); }, 5000)) fail("the popup does not close");
        }
        if (!answers(main)) fail("the program does not answer after the popup");
        std::printf("popup\t%d\t%.3f\t%.3f\t%.3f\t%lld\t%lld\n", i, milliseconds(t0, tVisible),
                    milliseconds(t0, tPainted), engineMs, messages, windowMessages);
        std::fflush(stdout);
        ::Sleep(30);
    }
    return 0;
}

struct WindowCount {
    DWORD pid;
    int count;
};

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK countTop(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid) {
        ++c->count;
        ::EnumChildWindows(hwnd, countChild, param);
    }
    return TRUE;
}

int resourcesCommand(DWORD pid) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) fail("cannot open the process");
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    WindowCount windows{pid, 0};
    ::EnumWindows(countTop, reinterpret_cast<LPARAM>(&windows));
    std::printf("resources\t%llu\t%llu\t%llu\t%lu\t%lu\t%ld\t%d\n",
                static_cast<unsigned long long>(memory.PrivateUsage),
                static_cast<unsigned long long>(memory.PagefileUsage),
                static_cast<unsigned long long>(memory.WorkingSetSize),
                ::GetGuiResources(process, GR_GDIOBJECTS), ::GetGuiResources(process, GR_USEROBJECTS),
                lumivane::bench::gdiObjects(process), windows.count);
    ::CloseHandle(process);
    return 0;
}

int countersCommand(DWORD pid) {
    const timing::Counters* c = openCounters(pid);
    if (!c) {
        std::printf("counters\tnone\n");
        return 1;
    }
    std::printf("counters\t%lld\t%lld\t%lld\t%lld", c->frequency, c->messages, c->windowMessages, c->engineTicks);
    for (int s = 0; s < timing::kSectionCount; ++s) std::printf("\t%lld\t%lld", c->sectionTicks[s], c->sectionCalls[s]);
    std::printf("\n");
    return 0;
}

int closeCommand(DWORD pid) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (!process) fail("cannot open the process");
    bool closed = close(pid, process);
    ::CloseHandle(process);
    std::printf("close\t%s\n", closed ? "closed" : "terminated");
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: meter startup COUNT EXE... | launch EXE | popups PID COUNT |\n"
                         "       resources PID | counters PID | close PID\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string cmd = argv[1];
    if (cmd == "startup" && argc >= 4) return startupCommand(std::atoi(argv[2]), argc - 3, argv + 3);
    if (cmd == "launch" && argc == 3) return launchCommand(argv[2]);
    if (cmd == "popups" && (argc == 4 || argc == 5))
        return popupsCommand(static_cast<DWORD>(std::atoi(argv[2])), std::atoi(argv[3]), argc == 5 ? std::atoi(argv[4]) : 0);
    if (cmd == "resources" && argc == 3) return resourcesCommand(static_cast<DWORD>(std::atoi(argv[2])));
    if (cmd == "counters" && argc == 3) return countersCommand(static_cast<DWORD>(std::atoi(argv[2])));
    if (cmd == "close" && argc == 3) return closeCommand(static_cast<DWORD>(std::atoi(argv[2])));
    return usage();
}
