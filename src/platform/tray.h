#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::platform {

// The shell's notification-area record in its first version: which icon
// (window and identifier), how it reports, its picture and its tip.
struct TrayRecord {
    void* window = nullptr;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    void* icon = nullptr;
    std::array<char16_t, 64> tip{};  // a fixed field: text, NUL, then blanks
};

inline constexpr std::uint32_t kNifMessage = 0x1;
inline constexpr std::uint32_t kNifIcon = 0x2;
inline constexpr std::uint32_t kNifTip = 0x4;

// The shape of the record as one flavour of the shell call takes it: the
// size of a handle and of a tip character.
struct TrayRecordForm {
    int pointerBytes;
    int charBytes;
};
// The single-byte record of 32-bit programs: 88 bytes.
inline constexpr TrayRecordForm kTrayRecordAnsi32{4, 1};

// The record's bytes, little-endian, from cbSize up to the end of the tip, as
// the shell reads them. cbSize holds the size of exactly these bytes.
std::vector<unsigned char> trayRecordBytes(const TrayRecord& record, TrayRecordForm form);

// One line of a popup menu as the window system shows it.
struct PopupLine {
    unsigned id = 0;
    std::string text;  // shown as stored; "&" marks a mnemonic
    bool separator = false;
    bool enabled = true;
};

// A point on the screen, in pixels; negative on monitors left of or above
// the primary one.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The notification area and the menu it opens.
class Tray {
public:
    virtual ~Tray() = default;
    // NIM_ADD of the record; true when the shell accepted the icon. A shell
    // that knows the newer versions of the notifications is then asked to
    // report the keyboard too (Enter, Space, Shift+F10 and the Menu key on the
    // chosen icon); one that knows only the first keeps reporting the mouse.
    virtual bool add(const TrayRecord& record) = 0;
    // NIM_DELETE of the icon named by (window, id).
    virtual bool remove(const TrayRecord& record) = 0;
    // NIM_MODIFY: the icon named by (window, id) takes the record's picture and tip.
    virtual bool modify(const TrayRecord& record) = 0;
    // Whether the taskbar's window exists: then a refused add is a busy
    // taskbar, and no "TaskbarCreated" will follow.
    virtual bool taskbarExists() const = 0;
    // A warning balloon of the icon (window, iconId), titled with the program's
    // name; false when the shell did not take it.
    virtual bool balloon(void* window, std::uint32_t iconId, const std::string& text) = 0;
    // The side in pixels of the icons the notification area shows now
    // (SM_CXSMICON at the resolution of the taskbar's monitor).
    virtual int iconSize() const = 0;
    // Brings the window to the foreground and shows the lines as a popup menu
    // at the pointer; returns the chosen line's id, 0 when the menu was
    // dismissed. Returns only after the menu has closed.
    virtual unsigned popupAtPointer(void* window, const std::vector<PopupLine>& lines) = 0;
    // The same for a menu the keyboard opened: placed at the icon (window,
    // iconId), by the rectangle the shell gives for it, else at anchor, the
    // point the shell reported with the notification, else at the pointer.
    // A dismissed menu hands the keyboard back to the notification area.
    virtual unsigned popupAtIcon(void* window, std::uint32_t iconId, std::optional<ScreenPoint> anchor,
                                 const std::vector<PopupLine>& lines) = 0;
};

} // namespace lumivane::platform
