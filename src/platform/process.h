#pragma once
#include <functional>
#include <optional>
#include <string>

namespace lumivane::platform {

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the command line with the given window style (a Win32 SW_ value)
    // and does not wait for it; false when it could not be started. A program
    // named without a folder (Explorer, rundll32.exe) is a system program,
    // started from the Windows or the system folder, never found through the
    // search path.
    virtual bool start(const std::string& commandLine, int showCommand) = 0;
};

// The file a command line starts: its first word (quoted, or up to the first
// blank), with ".exe" added to a bare name that has no extension. A name
// without a folder is looked for in the Windows folder, then the system
// folder, as exists answers; nullopt when it is in neither.
std::optional<std::string> programToStart(const std::string& commandLine, const std::string& windowsFolder,
                                          const std::string& systemFolder,
                                          const std::function<bool(const std::string&)>& exists);

} // namespace lumivane::platform
