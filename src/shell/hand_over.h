#pragma once
#include <string>
#include <vector>

namespace lumivane::win32 {

// Hands a checked command line to the running copy's hub window: a window of
// the hub's class whose process runs this same exe file (another program's
// window of that name gets nothing). True once that copy has taken it; it
// runs the action after this returns.
bool handOver(const std::vector<std::string>& args);

} // namespace lumivane::win32
