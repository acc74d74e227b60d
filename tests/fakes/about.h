#pragma once
// The About box's tests reach the registry and program starts through the
// same fakes as the hub's.
#include "fakes/recording.h"

namespace lumivane::fakes {
using FakeProcessStarter = FakeProcesses;
} // namespace lumivane::fakes
