#pragma once
#include "coolmenu/palette.h"

namespace lumivane::coolmenu {

// Where the engine learns the user's choice of look: the system on Windows, a
// fixed answer in tests.
class ThemeSource {
public:
    virtual ~ThemeSource() = default;
    virtual ThemeSettings read() const = 0;
};

} // namespace lumivane::coolmenu
