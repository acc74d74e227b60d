#pragma once
#include <array>
#include <cstdint>
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

// The notification area and the menu it opens.
class Tray {
public:
    virtual ~Tray() = default;
    // NIM_ADD; true when the shell accepted the icon.
    virtual bool add(const TrayRecord& record) = 0;
    // NIM_DELETE of the icon named by (window, id).
    virtual bool remove(const TrayRecord& record) = 0;
    // Brings the window to the foreground and shows the lines as a popup menu
    // at the pointer; returns the chosen line's id, 0 when the menu was
    // dismissed. Returns only after the menu has closed.
    virtual unsigned popupAtPointer(void* window, const std::vector<PopupLine>& lines) = 0;
};

} // namespace lumivane::platform
