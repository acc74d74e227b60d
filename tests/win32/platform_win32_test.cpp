// Starting programs, the lazily loaded multimedia library, and the GDI object
// count the leak tests rely on.
#include "about/about_dialog.h"
#include "bench/gdi_objects.h"
#include "platform/win32/files.h"
#include "platform/win32/media_control.h"
#include "platform/win32/process.h"
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

// First in this file: nothing before it may have loaded the library.
TEST_CASE("the multimedia library is loaded by the first door command, not before") {
    CHECK(::GetModuleHandleW(L"winmm.dll") == nullptr);
    win32::Win32MediaControl mci;
    // No such device here: the command fails quietly, as every MCI error does.
    mci.sendString("Set NoSuchAlias Door Open");
    CHECK(::GetModuleHandleW(L"winmm.dll") != nullptr);
}

namespace {
struct SeenBox {
    std::wstring title;
    std::wstring text;
    int count = 0;
};
SeenBox g_box;

// Reads each message box as it comes up and closes it with OK.
LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[32] = {}, buffer[512] = {};
        ::GetClassNameW(box, cls, 32);
        if (std::wstring(cls) == L"#32770") {
            ::GetWindowTextW(box, buffer, 512);
            g_box.title = buffer;
            ::GetDlgItemTextW(box, 0xFFFF, buffer, 512);
            g_box.text = buffer;
            ++g_box.count;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST_CASE("starting programs: not waited for; a failure reported once, naming the command, or silently") {
    g_box = {};
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, ::GetCurrentThreadId());
    win32::Win32Processes processes;
    CHECK_FALSE(processes.start("lumivane-no-such-program.exe C:\\", SW_SHOWNORMAL));
    CHECK(g_box.count == 1);
    CHECK(g_box.title == L"Lumivane");
    CHECK(g_box.text.find(L"lumivane-no-such-program.exe C:\\") != std::wstring::npos);

    // A program that runs until it is told to stop: start returns anyway.
    ULONGLONG before = ::GetTickCount64();
    CHECK(processes.start("cmd.exe /c ping -n 30 127.0.0.1 >NUL", SW_SHOWMINIMIZED));
    CHECK(::GetTickCount64() - before < 5000);

    win32::Win32Processes quiet(win32::Win32Processes::OnFailure::Silent);
    CHECK_FALSE(quiet.start("C:\\nowhere\\missing.exe", SW_SHOWNORMAL));
    CHECK_FALSE(quiet.start("", SW_SHOWNORMAL));
    CHECK(g_box.count == 1);
    ::UnhookWindowsHookEx(hook);

    // The system information program is found where this process can reach it.
    win32::Win32FileSystem files;
    std::string dir = win32::systemProgramDirectory();
    REQUIRE_FALSE(dir.empty());
    CHECK(files.fileExists(dir + "\\msinfo32.exe"));
}

TEST_CASE("GDI objects of a process are counted from its handle table") {
    win32::UniqueHandle self(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ::GetCurrentProcessId()));
    REQUIRE(self);
    long start = bench::gdiObjects(self.get());
    REQUIRE(start > 0);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 25; ++i) brushes.push_back(::CreateSolidBrush(RGB(i, 0, 0)));
    HFONT font = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    CHECK(bench::gdiObjects(self.get()) == start + 26);
    for (HBRUSH b : brushes) ::DeleteObject(b);
    ::DeleteObject(font);
    CHECK(bench::gdiObjects(self.get()) == start);
}
