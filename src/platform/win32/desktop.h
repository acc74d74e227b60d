#pragma once
#include "platform/desktop.h"

namespace lumivane::win32 {

class Win32DesktopWindow final : public platform::DesktopWindow {
public:
    std::uint32_t screenSaveActiveValue() override;
    void sendSysCommand(unsigned command, std::intptr_t lParam) override;
};

} // namespace lumivane::win32
