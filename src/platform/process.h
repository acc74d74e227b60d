#pragma once
#include <string>

namespace lumivane::platform {

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the command line with the given window style (a Win32 SW_ value)
    // and does not wait for it; false when it could not be started.
    virtual bool start(const std::string& commandLine, int showCommand) = 0;
};

} // namespace lumivane::platform
