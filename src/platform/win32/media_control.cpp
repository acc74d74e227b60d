#include "platform/win32/media_control.h"

#include "platform/win32/wide.h"

#include <windows.h>

#include <string>

namespace lumivane::win32 {

namespace {

using SendStringW = DWORD(WINAPI*)(LPCWSTR command, LPWSTR answer, UINT answerLength, HWND callback);

// winmm is loaded the first time a door moves, not at every start of the
// program: it is needed only then, and loading it lengthens the start-up.
// Loaded from the system folder by its full path, never from the search path.
SendStringW mciSendString() {
    static const SendStringW send = []() -> SendStringW {
        wchar_t folder[MAX_PATH];
        UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        std::wstring path(folder, length);
        path += L"\\winmm.dll";
        HMODULE winmm = ::LoadLibraryW(path.c_str());
        if (!winmm) return nullptr;
        // Kept loaded for the rest of the run: every later door uses it.
        return reinterpret_cast<SendStringW>(reinterpret_cast<void*>(::GetProcAddress(winmm, "mciSendStringW")));
    }();
    return send;
}

} // namespace

void Win32MediaControl::sendString(const std::string& command) {
    // Errors (no disc, alias already open, no multimedia library) have no
    // visible effect by design.
    if (SendStringW send = mciSendString()) send(widen(command).c_str(), nullptr, 0, nullptr);
}

} // namespace lumivane::win32
