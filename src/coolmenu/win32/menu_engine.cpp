#include "coolmenu/win32/menu_engine.h"

#include "coolmenu/win32/cool_menu.h"

namespace lumivane::win32 {

bool Win32MenuEngine::attach(void* hwnd, bool subclass, const coolmenu::HelpCallback* help,
                             const coolmenu::MenuImages* images) {
    return coolmenu::attach(static_cast<HWND>(hwnd), subclass, help, images);
}

bool Win32MenuEngine::setComplexChecks(void* hwnd, bool value) {
    return coolmenu::setComplexChecks(static_cast<HWND>(hwnd), value);
}

} // namespace lumivane::win32
