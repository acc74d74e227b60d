#include "shell/tray_icon.h"

#include "platform/utf8.h"

#include <cstddef>
#include <string>

namespace lumivane::tray_icon {

platform::TrayRecord makeTrayRecord(void* window, std::uint32_t id, std::uint32_t flags, std::uint32_t callbackMessage,
                                  void* icon, std::string_view tip) {
    platform::TrayRecord record;
    record.window = window;
    record.id = id;
    record.flags = flags;
    record.callbackMessage = callbackMessage;
    record.icon = icon;
    std::u16string text = utf8ToUtf16(tip);
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
