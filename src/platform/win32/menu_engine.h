#pragma once
#include "platform/menu_engine.h"

namespace lumivane::win32 {

class CoolMenuEngine final : public platform::MenuEngine {
public:
    bool attach(void* hwnd, bool subClass, const coolmenu::HelpCallback* help,
                        const coolmenu::MenuImages* images) override;
    bool setComplexChecks(void* hwnd, bool value) override;
};

} // namespace lumivane::win32
