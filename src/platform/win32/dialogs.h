#pragma once
#include "platform/dialogs.h"

namespace lumivane::win32 {

class Win32MessageBoxes final : public platform::MessageBoxes {
public:
    void show(const std::string& text, const std::string& title, unsigned style) override;
};

} // namespace lumivane::win32
