#pragma once
#include "coolmenu/menu_engine.h"

namespace lumivane::win32 {

class Win32MenuEngine final : public coolmenu::MenuEngine {
public:
    bool attach(void* hwnd, bool subclass, const coolmenu::HelpCallback* help,
                const coolmenu::MenuImages* images) override;
    bool setComplexChecks(void* hwnd, bool value) override;
};

} // namespace lumivane::win32
