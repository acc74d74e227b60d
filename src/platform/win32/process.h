#pragma once
#include "platform/process.h"

namespace lumivane::win32 {

class Win32Processes final : public platform::Processes {
public:
    // Whether a failed start is said in a message box naming the command, or
    // left to a caller that reports the failure in its own words.
    enum class OnFailure { Report, Silent };
    explicit Win32Processes(OnFailure onFailure = OnFailure::Report) : onFailure_(onFailure) {}

    bool start(const std::string& commandLine, int showCommand) override;

private:
    OnFailure onFailure_;
};

} // namespace lumivane::win32
