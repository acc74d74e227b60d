#pragma once
#include "platform/registry.h"

#include <cstddef>
#include <string>
#include <string_view>

// Start-up switched off in Windows's own list of start-up programs (Task
// Manager, Settings): Windows leaves the Run value in place and marks it, in a
// StartupApproved key of the same root, with a REG_BINARY value of the same
// name. The mark is a flag word whose first byte is 2 or 6 while the program
// may start and 3 or 7 once the user switched it off, then the FILETIME of
// that switch (zero while on).
namespace lumivane::startup_approval {

// The mark of a value under the native view's Run key.
inline constexpr const char* kApprovedRunSubkey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
// The mark of a value under the 32-bit view's Run key on 64-bit Windows.
inline constexpr const char* kApprovedRun32Subkey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";

// The flag word and the FILETIME, the only layout Windows writes.
inline constexpr std::size_t kApprovalMarkSize = 12;

// True only for a mark that says "switched off": REG_BINARY of exactly 12
// bytes whose first byte is 3 or 7. Any other type, length or first byte is
// not a mark Windows wrote, and like a missing value it leaves start-up on.
bool marksDisabled(unsigned type, std::string_view data);

// What a mark says of a query's answer: only a value read whole can say "off".
bool marksDisabled(const platform::ValueQuery& answer);

// The mark that lets the program start: 2, then zeros.
std::string enabledMark();

// The key that holds the mark of the program's Run value in this root, in the
// native view. The Run value sits in the program's own view; the marks all
// sit in the native one, those of the machine's 32-bit view's Run values in a
// key of their own. The user's Run key is one for both views.
const char* markSubkeyFor(platform::RegistryRoot root, bool ownViewIs32BitOn64);

// Whether the program's Run value is marked "switched off".
bool runValueMarkedDisabled(platform::Registry& registry, platform::RegistryRoot root,
                            const std::string& valueName);

// Turns a "switched off" mark back to enabled; a missing or other mark is left
// alone. Returns the system's status code of the write, or success when none
// was needed.
long clearDisabledMark(platform::Registry& registry, platform::RegistryRoot root, const std::string& valueName);

} // namespace lumivane::startup_approval
