#include "coolmenu/win32/system_theme.h"

namespace lumivane::coolmenu {

ThemeSettings SystemThemeSource::read() const {
    ThemeSettings settings;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0))
        settings.highContrast = (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    DWORD light = 1, size = sizeof light;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                       L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) == ERROR_SUCCESS)
        settings.appsUseLightTheme = light != 0;
    return settings;
}

bool isLookChange(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED) return true;
    if (msg != WM_SETTINGCHANGE) return false;
    if (wParam == SPI_SETHIGHCONTRAST) return true;
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return area && ::lstrcmpiW(area, L"ImmersiveColorSet") == 0;
}

} // namespace lumivane::coolmenu
