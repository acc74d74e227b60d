#pragma once
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::about {

inline constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kSysInfoValue = "PATH";
inline constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSysInfoLocationValue = "MSINFO";
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The text a stored value yields, or nothing for a type whose text is left
// unchanged. A last stored character that is NUL is dropped; REG_SZ gives the
// text, REG_DWORD "&h" and the number's hexadecimal digits.
std::optional<std::string> keyValueText(std::uint32_t type, const std::vector<unsigned char>& data);

// Reads one value as text; nothing when it cannot be read. A value of a type
// that has no text reads as "".
std::optional<std::string> readKeyText(platform::Registry& registry, platform::RegistryRoot root,
                                       const std::string& keyPath, const std::string& valueName);

struct SysInfoServices {
    platform::Registry& registry;
    platform::FileSystem& files;
    platform::Processes& processes;
    platform::MessageBoxes& boxes;
    // Where current systems keep the system information program.
    std::string systemDirectory;
};

// Finds and starts the system information program, or says it is unavailable.
void startSysInfo(SysInfoServices& os);

// A program path as a command line: quoted when it holds a blank, so the
// system cannot take a shorter path for the program.
std::string programCommandLine(const std::string& path);

} // namespace lumivane::about
