#include "platform/win32/wide.h"

#include "platform/utf8.h"

#include <windows.h>

namespace lumivane::win32 {

// wchar_t is UTF-16 on Windows: the conversion itself is the program's one pair.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring widen(std::string_view utf8) {
    std::u16string text = utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string narrow(std::wstring_view utf16) {
    return utf16ToUtf8(std::u16string(utf16.begin(), utf16.end()));
}

std::string modulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            return narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string moduleDirectory() {
    std::string path = modulePath();
    auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    std::string dir = path.substr(0, slash);
    // A drive root reports "C:" here; the caller appends the backslash itself.
    return dir;
}

std::string moduleFileName() {
    std::string path = modulePath();
    return path.substr(path.find_last_of('\\') + 1);
}

} // namespace lumivane::win32
