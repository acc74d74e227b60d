#pragma once
#include "platform/menu_engine.h"

namespace lumivane::win32 {

class CoolMenuEngine final : public platform::MenuEngine {
public:
    bool AttachCoolMenu(void* hwnd, bool subClass, const coolmenu::HelpCallBack* helpObj,
                        const coolmenu::MenuImages* images) override;
    bool CoolMenuComplexChecks(void* hwnd, bool value) override;
};

} // namespace lumivane::win32
