#pragma once
#include "platform/tray.h"

#include <cstdint>
#include <string_view>

namespace lumivane::tray_icon {

// The program owns one icon, identified by its window and this number.
inline constexpr std::uint32_t kIconId = 1;
inline constexpr std::uint32_t kIconFlags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
// A private message, so that real mouse moves over the shown dialog are never
// taken for clicks on the icon: WM_APP + 1. The mouse message that happened
// over the icon arrives in the low word of lParam.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x8000 + 1;

// The record with the given values; the tip is placed into its fixed field,
// NUL-terminated and padded with blanks, and cut to 63 characters so the NUL
// always survives.
platform::TrayRecord makeTrayRecord(void* window, std::uint32_t id, std::uint32_t flags, std::uint32_t callbackMessage,
                                  void* icon, std::string_view tip);

// Adds the program's icon; true when the shell accepted it.
bool addToTray(platform::Tray& tray, std::string_view tip, void* window, void* icon);
// Gives the shown icon another picture, and changes nothing else of it (its
// tip, and how the shell shows it, stay); false when the shell refused.
bool changeTrayPicture(platform::Tray& tray, void* window, void* icon);
// Removes it; a failure is of no consequence, the icon is gone either way.
void removeFromTray(platform::Tray& tray, void* window);

} // namespace lumivane::tray_icon
