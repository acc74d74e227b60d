#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumivane::menu_text {

// Cuts a folder path down to its last component for a menu caption: texts of
// 4 characters or more become the part behind the last backslash, and that is
// cut to 20 characters plus "..." when it has 20 or more. Shorter texts (drive
// roots such as "C:\") are not shortened: nothing is returned. Characters are
// counted as characters, not UTF-8 bytes.
std::optional<std::string> shortenedPath(std::string_view path);

// Menu item texts are drawn with mnemonic prefixes; doubling every "&" makes a
// name such as "Tom & Jerry" read as it is instead of underlining the blank.
std::string doubleAmpersands(std::string_view text);

} // namespace lumivane::menu_text
