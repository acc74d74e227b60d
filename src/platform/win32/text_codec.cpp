#include "platform/win32/text_codec.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

std::optional<std::string> AnsiCodePage::toAnsi(std::string_view utf8) const {
    std::wstring wide = widen(utf8);
    if (wide.empty()) return std::string{};
    BOOL usedDefault = FALSE;
    // No best-fit mapping: "ü" must not quietly become "u" in a path.
    int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                  nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

std::string AnsiCodePage::fromAnsi(std::string_view ansi) const {
    if (ansi.empty()) return {};
    int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return narrow(wide);
}

} // namespace lumivane::win32
