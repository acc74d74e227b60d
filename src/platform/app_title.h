#pragma once

namespace lumivane {

// The title of every message box the program shows.
inline constexpr const char* kAppTitle = "Lumivane";

} // namespace lumivane
