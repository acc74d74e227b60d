#include "folders/folder_dialog_layout.h"

namespace lumivane::folder_dialog {

namespace {

constexpr int kClientWidth = 5640, kClientHeight = 6135;
constexpr LayoutRect kFrame{120, 120, 5415, 4455};
constexpr int kRowTop = 360, kRowPitch = 375, kRowHeight = 375;
constexpr int kLabelLeft = 240, kLabelWidth = 375;
constexpr int kTextLeft = 720, kTextWidth = 2775;
constexpr int kBrowseLeft = 3600, kClearLeft = 4440, kRowButtonWidth = 735;
// The shortcut key's row: its box lines up with the path boxes' right edge,
// the words about it wrap onto two lines beneath.
constexpr LayoutRect kShortcutLabel{360, 4755, 1200, 255};
constexpr LayoutRect kShortcutBox{1560, 4695, 2055, 375};
constexpr LayoutRect kShortcutSaid{1560, 5100, 3975, 390};
constexpr LayoutRect kOk{3000, 5580, 975, 375};
constexpr LayoutRect kCancel{4320, 5580, 975, 375};

} // namespace

Layout layoutFor(int dpi) {
    Layout out;
    out.clientWidth = twipsToPixels(kClientWidth, dpi);
    out.clientHeight = twipsToPixels(kClientHeight, dpi);
    out.frame = twipsToPixels(kFrame, dpi);
    for (int i = 0; i < kFolderSlotCount; ++i) {
        int top = kFrame.top + kRowTop + kRowPitch * i;
        auto row = [&](int left, int width) { return twipsToPixels({kFrame.left + left, top, width, kRowHeight}, dpi); };
        size_t k = static_cast<size_t>(i);
        out.label[k] = row(kLabelLeft, kLabelWidth);
        out.text[k] = row(kTextLeft, kTextWidth);
        out.browse[k] = row(kBrowseLeft, kRowButtonWidth);
        out.clear[k] = row(kClearLeft, kRowButtonWidth);
    }
    out.shortcutLabel = twipsToPixels(kShortcutLabel, dpi);
    out.shortcutBox = twipsToPixels(kShortcutBox, dpi);
    out.shortcutSaid = twipsToPixels(kShortcutSaid, dpi);
    out.ok = twipsToPixels(kOk, dpi);
    out.cancel = twipsToPixels(kCancel, dpi);
    out.formFontHeight = pointsToPixels(825, dpi);
    out.rowFontHeight = pointsToPixels(975, dpi);
    return out;
}

std::optional<int> pathBoxAt(const Layout& layout, int x, int y) {
    for (int i = 0; i < kFolderSlotCount; ++i) {
        const Rect& box = layout.text[static_cast<size_t>(i)];
        if (x >= box.left && x < box.left + box.width && y >= box.top && y < box.top + box.height) return i;
    }
    return std::nullopt;
}

void dropInto(FolderSlots& rows, std::optional<int> onRow, const std::vector<std::string>& paths) {
    size_t next = 0;
    int row = 0;
    if (onRow && !paths.empty()) {
        rows.setSlotText(*onRow, paths[next++]);
        row = *onRow + 1;
    }
    for (; row < kFolderSlotCount && next < paths.size(); ++row)
        if (rows.slotText(row).empty()) rows.setSlotText(row, paths[next++]);
}

} // namespace lumivane::folder_dialog
