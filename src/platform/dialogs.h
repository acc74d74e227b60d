#pragma once
#include <string>

namespace lumivane::platform {

// Message box styles, with their Win32 values.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal; returns when the user has closed the box.
    virtual void show(const std::string& text, const std::string& title, unsigned style) = 0;
};

} // namespace lumivane::platform
