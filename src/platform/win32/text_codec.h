#pragma once
#include "platform/text_codec.h"

namespace lumivane::win32 {

class AnsiCodePage final : public platform::AnsiCodec {
public:
    std::optional<std::string> toAnsi(std::string_view utf8) const override;
    std::string fromAnsi(std::string_view ansi) const override;
};

} // namespace lumivane::win32
