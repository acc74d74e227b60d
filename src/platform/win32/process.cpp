#include "platform/win32/process.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

bool Win32Processes::start(const std::string& commandLine, int showCommand) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    if (!line.empty() &&
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        // Not waited for: the program runs on its own.
        UniqueHandle process(info.hProcess);
        UniqueHandle thread(info.hThread);
        return true;
    }
    if (onFailure_ == OnFailure::Report) {
        std::wstring text = L"Cannot start " + widen(commandLine);
        ::MessageBoxW(nullptr, text.c_str(), L"Lumivane", MB_OK | MB_SETFOREGROUND);
    }
    return false;
}

} // namespace lumivane::win32
