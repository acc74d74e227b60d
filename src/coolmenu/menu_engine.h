#pragma once
#include "coolmenu/help_callback.h"
#include "coolmenu/image_source.h"

namespace lumivane::coolmenu {

// The engine as a host attaches it to its window; the hub's tests replace it
// with a recording fake.
class MenuEngine {
public:
    virtual ~MenuEngine() = default;
    virtual bool attach(void* hwnd, bool subclass, const HelpCallback* help, const MenuImages* images) = 0;
    virtual bool setComplexChecks(void* hwnd, bool value) = 0;
};

} // namespace lumivane::coolmenu
