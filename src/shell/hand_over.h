#pragma once
#include "shell/action.h"

namespace lumivane::win32 {

// Hands the action to the running copy's hub window: a window of the hub's
// class whose process runs this same exe file (another program's window of
// that name gets nothing). True once that copy has taken it; it runs the
// action after this returns.
bool handOver(const Action& action);

} // namespace lumivane::win32
