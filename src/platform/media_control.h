#pragma once
#include <string>

namespace lumivane::platform {

// Media control command strings, sent without return text or callback window.
class MediaControl {
public:
    virtual ~MediaControl() = default;
    // Waits for the command to finish; its result is of no use to the program.
    virtual void sendString(const std::string& command) = 0;
};

} // namespace lumivane::platform
