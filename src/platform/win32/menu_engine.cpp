#include "platform/win32/menu_engine.h"

#include "coolmenu/win32/cool_menu.h"

namespace lumivane::win32 {

bool CoolMenuEngine::attach(void* hwnd, bool subClass, const coolmenu::HelpCallback* help,
                                    const coolmenu::MenuImages* images) {
    return coolmenu::attach(static_cast<HWND>(hwnd), subClass, help, images);
}

bool CoolMenuEngine::setComplexChecks(void* hwnd, bool value) {
    return coolmenu::setComplexChecks(static_cast<HWND>(hwnd), value);
}

} // namespace lumivane::win32
