#pragma once
#include "coolmenu/help_callback.h"
#include "coolmenu/image_source.h"

namespace lumivane::platform {

// The owner-drawn menu engine as the hub attaches it to its window.
class MenuEngine {
public:
    virtual ~MenuEngine() = default;
    virtual bool attach(void* hwnd, bool subClass, const coolmenu::HelpCallback* help,
                                const coolmenu::MenuImages* images) = 0;
    virtual bool setComplexChecks(void* hwnd, bool value) = 0;
};

} // namespace lumivane::platform
