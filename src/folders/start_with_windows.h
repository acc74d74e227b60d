#pragma once
#include <string>

// Start with Windows: the machine's Run value "Lumivane" and the caption of the
// popup item that switches it.
namespace lumivane::start_with_windows {

inline constexpr const char* kRunSubkey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Lumivane";

// The setting in force now, not the action the item performs.
std::string startupCaption(bool runAtStartup);

// The data of the Run value: the directory, "\", the file name without its
// extension, all in double quotes so that a directory with blanks is not cut
// at its first blank when Windows runs it.
std::string runValueData(const std::string& exeDirectory, const std::string& exeFileName);

// What the user is told when switching to `wanted` did not take effect.
std::string changeFailedText(bool wanted, long status);

} // namespace lumivane::start_with_windows
