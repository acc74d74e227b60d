#pragma once
#include "coolmenu/theme_source.h"

#include <windows.h>

namespace lumivane::coolmenu {

// The user's choice as the system keeps it: high contrast from
// SPI_GETHIGHCONTRAST, the apps' dark theme from AppsUseLightTheme under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize (absent
// before Windows 10, which means light).
class SystemThemeSource final : public ThemeSource {
public:
    ThemeSettings read() const override;
};

// Whether a message says the user's look may have changed: the apps' theme
// (WM_SETTINGCHANGE "ImmersiveColorSet"), high contrast turned on or off, or
// the system colours.
bool isLookChange(UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace lumivane::coolmenu
