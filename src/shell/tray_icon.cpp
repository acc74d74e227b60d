#include "shell/tray_icon.h"

#include <cstddef>
#include <string>

namespace lumivane::tray_icon {

namespace {

// UTF-8 to UTF-16 for the tip; a malformed byte stands for itself.
std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
        if (i + length > utf8.size()) length = 1;
        char32_t cp = length == 1 ? c : length == 2 ? (c & 0x1Fu) : length == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return out;
}

} // namespace

platform::TrayRecord makeTrayRecord(void* window, std::uint32_t id, std::uint32_t flags, std::uint32_t callbackMessage,
                                  void* icon, std::string_view tip) {
    platform::TrayRecord record;
    record.window = window;
    record.id = id;
    record.flags = flags;
    record.callbackMessage = callbackMessage;
    record.icon = icon;
    std::u16string text = toUtf16(tip);
    const std::size_t room = record.tip.size() - 1;
    if (text.size() > room) text.resize(room);
    record.tip.fill(u' ');
    text.copy(record.tip.data(), text.size());
    record.tip[text.size()] = u'\0';
    return record;
}

bool addToTray(platform::Tray& tray, std::string_view tip, void* window, void* icon) {
    return tray.add(makeTrayRecord(window, kIconId, kIconFlags, kTrayCallbackMessage, icon, tip));
}

bool changeTrayPicture(platform::Tray& tray, void* window, void* icon) {
    return tray.modify(makeTrayRecord(window, kIconId, platform::kNifIcon, 0, icon, ""));
}

void removeFromTray(platform::Tray& tray, void* window) {
    // Failure ignored: the icon may already be gone with a restarted shell.
    tray.remove(makeTrayRecord(window, kIconId, 0, 0, nullptr, ""));
}

} // namespace lumivane::tray_icon
