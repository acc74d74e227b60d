#include "platform/win32/menu_engine.h"

#include "coolmenu/win32/cool_menu.h"

namespace lumivane::win32 {

bool CoolMenuEngine::AttachCoolMenu(void* hwnd, bool subClass, const coolmenu::HelpCallBack* helpObj,
                                    const coolmenu::MenuImages* images) {
    return coolmenu::AttachCoolMenu(static_cast<HWND>(hwnd), subClass, helpObj, images);
}

bool CoolMenuEngine::CoolMenuComplexChecks(void* hwnd, bool value) {
    return coolmenu::CoolMenuComplexChecks(static_cast<HWND>(hwnd), value);
}

} // namespace lumivane::win32
