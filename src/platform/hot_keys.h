#pragma once

namespace lumivane::platform {

// Keys registered with the system for a window, which then receives WM_HOTKEY
// for them from whichever program has the keyboard.
class HotKeys {
public:
    virtual ~HotKeys() = default;
    // RegisterHotKey: false when Windows refuses, as it does for a combination
    // another program holds.
    virtual bool add(void* window, int id, unsigned hotKeyFlags, unsigned virtualKey) = 0;
    virtual void remove(void* window, int id) = 0;
};

} // namespace lumivane::platform
