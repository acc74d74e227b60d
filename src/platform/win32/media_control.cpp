#include "platform/win32/media_control.h"

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

namespace {

using SendStringW = DWORD(WINAPI*)(LPCWSTR command, LPWSTR answer, UINT answerLength, HWND callback);

// winmm is loaded the first time a door moves, not at every start of the
// program: it is needed only then, and loading it lengthens the start-up.
SendStringW mciSendString() {
    static const SendStringW send = systemFunction<SendStringW>(loadSystemLibrary(L"winmm.dll"), "mciSendStringW");
    return send;
}

} // namespace

void Win32MediaControl::sendString(const std::string& command) {
    // Errors (no disc, alias already open, no multimedia library) have no
    // visible effect by design.
    if (SendStringW send = mciSendString()) send(widen(command).c_str(), nullptr, 0, nullptr);
}

} // namespace lumivane::win32
