#pragma once
#include <string>
#include <string_view>

namespace lumivane::win32 {

// The boundary between the program's UTF-8 strings and the W functions.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// Full path of the running exe, its directory (no trailing backslash unless a
// drive root reports one) and its file name.
std::string modulePath();
std::string moduleDirectory();
std::string moduleFileName();

} // namespace lumivane::win32
