#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumivane::platform {

// Converts between the program's UTF-8 strings and the system's ANSI code page,
// the byte form of the settings file.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    // The ANSI bytes of a UTF-8 text, or nothing when a character has no ANSI
    // form (it would otherwise be written as '?').
    virtual std::optional<std::string> toAnsi(std::string_view utf8) const = 0;
    virtual std::string fromAnsi(std::string_view ansi) const = 0;
};

} // namespace lumivane::platform
