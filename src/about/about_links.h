#pragma once
// The addresses and credits the About box shows. A release sets them here and
// nowhere else; example.org is reserved, so nothing real is reached by accident.

namespace lumivane::about {

inline constexpr const char* kWebPageAddress = "https://example.org/lumivane";
inline constexpr const char* kMailAddress = "lumivane@example.org";

// What the program really builds on: its menu icons and the system it is
// tested on.
inline constexpr const char* kCreditLine1 = "The Tango Desktop Project (icons)";
inline constexpr const char* kCreditLine2 = "The Wine project (testing)";

} // namespace lumivane::about
