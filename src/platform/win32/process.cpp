#include "platform/win32/process.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

namespace {
std::string folderPath(UINT (WINAPI* get)(LPWSTR, UINT)) {
    wchar_t path[MAX_PATH];
    UINT length = get(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? narrow(std::wstring(path, length)) : std::string();
}

bool isFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool Win32Processes::start(const std::string& commandLine, int showCommand) {
    // Named by its full path, the program sees the command line as given
    // ("Explorer C:\") while no search takes place.
    const std::optional<std::string> program = platform::programToStart(
        commandLine, folderPath(&::GetSystemWindowsDirectoryW), folderPath(&::GetSystemDirectoryW), isFile);
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring line = widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION info{};
    if (program &&
        ::CreateProcessW(widen(*program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info)) {
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
