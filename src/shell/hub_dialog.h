#pragma once
#include "folders/folder_slots.h"
#include "platform/win32/unique.h"

#include <windows.h>

#include <array>

namespace lumivane::win32 {

// Child identifiers of the customize dialog. OK and Cancel carry the standard
// identifiers, so Enter and Escape reach them through IsDialogMessage.
namespace dialog_id {
inline constexpr int kOK = IDOK;
inline constexpr int kCancel = IDCANCEL;
inline constexpr int kPathBoxBase = 100;   // + slot
inline constexpr int kNumberBase = 120;    // + slot
inline constexpr int kBrowseBase = 140;    // + slot
inline constexpr int kClearBase = 160;     // + slot
inline constexpr int kFrame = 180;
inline constexpr int kShortcutLabel = 190;
inline constexpr int kShortcutBox = 191;
inline constexpr int kShortcutSaid = 192;
} // namespace dialog_id

// The customize dialog's controls besides the path boxes, and its fonts.
struct DialogControls {
    UniqueFont formFont;  // Tahoma 8.25 pt
    UniqueFont rowFont;   // Tahoma 9.75 pt
    UniqueFont numberFont;  // Tahoma 9.75 pt bold
    HWND frame = nullptr;
    std::array<HWND, kFolderSlotCount> label{};
    std::array<HWND, kFolderSlotCount> browse{};
    std::array<HWND, kFolderSlotCount> clear{};
    HWND shortcutLabel = nullptr;
    HWND shortcutBox = nullptr;  // an edit, read-only, that records the keys pressed in it
    HWND shortcutSaid = nullptr;
    WNDPROC editProc = nullptr;  // the shortcut-key box's own procedure
    HWND ok = nullptr;
    HWND cancel = nullptr;
    HWND focus = nullptr;  // the control that had the focus when the window was last deactivated
    bool placed = false;   // centred once; later showings keep where the user left it
    int dpi = 0;           // the resolution the controls are laid out for
};

} // namespace lumivane::win32
