#include "platform/tray.h"

#include <cstddef>
#include <cstdint>

namespace lumivane::platform {

namespace {

void put(std::vector<unsigned char>& out, std::size_t offset, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[offset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

std::size_t alignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

} // namespace

std::vector<unsigned char> trayRecordBytes(const TrayRecord& record, TrayRecordForm form) {
    const auto pointer = static_cast<std::size_t>(form.pointerBytes);
    const auto character = static_cast<std::size_t>(form.charBytes);
    // Handles are aligned to their own size, as the C layout of the record has them.
    const std::size_t window = alignUp(4, pointer);
    const std::size_t id = window + pointer;
    const std::size_t flags = id + 4;
    const std::size_t callback = flags + 4;
    const std::size_t icon = alignUp(callback + 4, pointer);
    const std::size_t tip = icon + pointer;
    const std::size_t size = tip + record.tip.size() * character;

    std::vector<unsigned char> out(size, 0);
    put(out, 0, size, 4);
    put(out, window, reinterpret_cast<std::uintptr_t>(record.window), form.pointerBytes);
    put(out, id, record.id, 4);
    put(out, flags, record.flags, 4);
    put(out, callback, record.callbackMessage, 4);
    put(out, icon, reinterpret_cast<std::uintptr_t>(record.icon), form.pointerBytes);
    for (std::size_t i = 0; i < record.tip.size(); ++i) {
        char16_t c = record.tip[i];
        // The single-byte form only ever carries the program's ASCII tip.
        if (character == 1 && c >= 0x80) c = u'?';
        put(out, tip + i * character, c, form.charBytes);
    }
    return out;
}

} // namespace lumivane::platform
