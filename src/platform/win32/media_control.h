#pragma once
#include "platform/media_control.h"

namespace lumivane::win32 {

class Win32MediaControl final : public platform::MediaControl {
public:
    void sendString(const std::string& command) override;
};

} // namespace lumivane::win32
