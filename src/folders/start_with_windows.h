#pragma once
#include "platform/registry.h"

#include <string>
#include <vector>

// Start with Windows: the Run value "Lumivane" in the machine's Run key or in
// the user's, and the caption of the popup item that switches it.
namespace lumivane::start_with_windows {

inline constexpr const char* kRunSubkey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Lumivane";

// The Run value of one root: present with a text, and not switched off in
// Windows's list (the StartupApproved mark of the same root).
struct RootState {
    bool present = false;
    bool runs = false;
};

// Both roots. The machine's value is written where Windows allows it; a user
// without administrator rights gets a value of their own.
struct StartupState {
    RootState machine;
    RootState user;
    bool runs() const { return machine.runs || user.runs; }
};

StartupState readState(platform::Registry& registry);

// The keys whose change can change the state: both Run keys and both keys of marks.
std::vector<platform::KeyPlace> watchedKeys(platform::Registry& registry);

// Writes the machine's value, or the user's where Windows refuses the
// machine's, and turns a "switched off" mark of that root back on. Returns the
// system's status code of the last step that ran.
long switchOn(platform::Registry& registry, const std::string& data);

// What switching off left behind.
struct SwitchOffResult {
    long machineStatus = platform::kRegSuccess;
    long userStatus = platform::kRegSuccess;
};
// Removes the value from each root where `before` found it.
SwitchOffResult switchOff(platform::Registry& registry, const StartupState& before);

// The setting in force now, not the action the item performs.
std::string startupCaption(bool runAtStartup);

// The data of the Run value: the directory, "\", the file name without its
// extension, all in double quotes so that a directory with blanks is not cut
// at its first blank when Windows runs it.
std::string runValueData(const std::string& exeDirectory, const std::string& exeFileName);

// What the user is told when switching to `wanted` did not take effect.
std::string changeFailedText(bool wanted, long status);
// What the user is told when a value an administrator set for every user stays.
std::string machineValueStaysText();

} // namespace lumivane::start_with_windows
