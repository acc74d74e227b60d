#pragma once
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/process.h"

#include <string_view>

// Starting the screen saver now.
namespace lumivane::screen_saver {

inline constexpr std::string_view kDisplaySettingsCommand = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
inline constexpr int kSwShowMinimized = 2;

// True only when the system's answer is exactly 1; a failed query reads 0.
bool isScreenSaverActive(platform::DesktopWindow& desktop);
void runScreenSaver(platform::DesktopWindow& desktop);

// "Run Screen Saver": the screen saver when one is active; otherwise the user
// is told, and after the box is closed the Display settings open minimized on
// their screen saver page.
void runScreenSaverCommand(platform::DesktopWindow& desktop, platform::MessageBoxes& boxes,
                           platform::Processes& processes);

} // namespace lumivane::screen_saver
