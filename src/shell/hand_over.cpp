#include "shell/hand_over.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/command_line.h"
#include "shell/hub_window.h"

namespace lumivane::win32 {

namespace {
// The full path of the exe the process runs; empty when it cannot be asked.
std::wstring processImage(DWORD pid) {
    // Limited rights are enough, and are granted even for a copy run as administrator.
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
    path.resize(size);
    return path;
}
} // namespace

bool handOver(const std::vector<std::string>& args) {
    const std::wstring ownImage = widen(modulePath());
    std::string text = command_line::handOverText(args);
    COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(text.size()), text.data()};
    for (HWND hub = ::FindWindowExW(nullptr, nullptr, kHubClassName, nullptr); hub;
         hub = ::FindWindowExW(nullptr, hub, kHubClassName, nullptr)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hub, &pid);
        if (::CompareStringOrdinal(processImage(pid).c_str(), -1, ownImage.c_str(), -1, TRUE) != CSTR_EQUAL) continue;
        // Windows lets the process the user started (this one) take the
        // foreground, not the one it asks: the running copy's boxes and cover
        // window would open behind the active window. A refusal (this process
        // has no right to give) changes nothing else.
        ::AllowSetForegroundWindow(pid);
        DWORD_PTR answer = 0;
        // A copy that hangs must not hang the command with it.
        if (::SendMessageTimeoutW(hub, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000,
                                  &answer) &&
            answer == static_cast<DWORD_PTR>(kHandOverAccepted))
            return true;
    }
    return false;
}

} // namespace lumivane::win32
