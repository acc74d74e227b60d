#pragma once
#include "about/about_box.h"
#include "about/about_layout.h"
#include "about/sys_info.h"

#include <windows.h>

#include <string>

namespace lumivane::win32 {

// The About box: a fixed modal dialog without an owner, laid out from its twips at
// the system's dpi. Every opening creates a fresh dialog.
class AboutDialog final : public about::AboutBox {
public:
    // links starts the web link's command line; sysInfo finds and starts the
    // system information program. Both report their own failures, if at all.
    AboutDialog(HINSTANCE instance, about::SysInfoServices& sysInfo, platform::Processes& links)
        : instance_(instance), sysInfo_(sysInfo), links_(links) {}

    // The tray stays live while the box is shown; choosing About again brings
    // the open box forward rather than stacking a second one on it.
    void show(int& aboutCount) override;

private:
    struct Opening;
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    about::SysInfoServices& sysInfo_;
    platform::Processes& links_;
    HWND open_ = nullptr;  // the box while it is shown
};

// The etched rule: the grey line and the white line below it.
void drawRule(HDC dc, const about::AboutLayout& layout);

// The folder that holds the system's own programs as this process can reach
// it: a 32-bit process on 64-bit Windows sees another folder under the name.
std::string systemProgramDirectory();

// The system's dots per inch, as the About box is laid out for.
int systemDpi();

} // namespace lumivane::win32
