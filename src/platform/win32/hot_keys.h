#pragma once
#include "platform/hot_keys.h"

namespace lumivane::win32 {

class Win32HotKeys final : public platform::HotKeys {
public:
    bool add(void* window, int id, unsigned hotKeyFlags, unsigned virtualKey) override;
    void remove(void* window, int id) override;
};

} // namespace lumivane::win32
