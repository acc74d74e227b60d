#pragma once
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"

#include <string_view>

// Starting the screen saver now.
namespace lumivane::screen_saver {

inline constexpr std::string_view kDisplaySettingsCommand = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
inline constexpr int kSwShowMinimized = 2;
// Where the chosen screen saver is named: a policy first, then the user's choice.
inline constexpr const char* kPolicyDesktopKey = "Software\\Policies\\Microsoft\\Windows\\Control Panel\\Desktop";
inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";
inline constexpr const char* kScreenSaverValue = "SCRNSAVE.EXE";

// True only when the system's answer is exactly 1; a failed query reads 0.
bool isScreenSaverActive(platform::DesktopWindow& desktop);
// Active, and SCRNSAVE.EXE (the policy's when it has one, else the user's)
// names a file that exists. Windows answers "active" for "(None)", the
// choice of a new installation, and then starts nothing.
bool isScreenSaverSelected(platform::DesktopWindow& desktop, platform::Registry& registry,
                           platform::FileSystem& files);
void runScreenSaver(platform::DesktopWindow& desktop);

struct ScreenSaverServices {
    platform::DesktopWindow& desktop;
    platform::Registry& registry;
    platform::FileSystem& files;
    platform::MessageBoxes& boxes;
    platform::Processes& processes;
};

// "Run Screen Saver": the screen saver when one is selected; otherwise the
// user is told, and after the box is closed the Display settings open
// minimized on their screen saver page.
void runScreenSaverCommand(const ScreenSaverServices& os);

} // namespace lumivane::screen_saver
