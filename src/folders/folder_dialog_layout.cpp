#include "folders/folder_dialog_layout.h"

namespace lumivane::folder_dialog {

namespace {

constexpr int kTwipsPerInch = 1440;

struct TwipRect {
    int left, top, width, height;
};

constexpr int kClientWidth = 5640, kClientHeight = 5355;
constexpr TwipRect kFrame{120, 120, 5415, 4455};
constexpr int kRowTop = 360, kRowPitch = 375, kRowHeight = 375;
constexpr int kLabelLeft = 240, kLabelWidth = 375;
constexpr int kTextLeft = 720, kTextWidth = 2775;
constexpr int kBrowseLeft = 3600, kClearLeft = 4440, kRowButtonWidth = 735;
constexpr TwipRect kOk{3000, 4800, 975, 375};
constexpr TwipRect kCancel{4320, 4800, 975, 375};

Rect toPixels(const TwipRect& r, int dpi) {
    int left = TwipsToPixels(r.left, dpi);
    int top = TwipsToPixels(r.top, dpi);
    return {left, top, TwipsToPixels(r.left + r.width, dpi) - left, TwipsToPixels(r.top + r.height, dpi) - top};
}

} // namespace

int TwipsToPixels(int twips, int dpi) {
    // Rounded to the nearest pixel; halves go up (all design values are positive).
    return (twips * dpi + kTwipsPerInch / 2) / kTwipsPerInch;
}

int PointsToPixels(int hundredthPoints, int dpi) {
    return (hundredthPoints * dpi + 3600) / 7200;
}

Layout LayoutFor(int dpi) {
    Layout out;
    out.clientWidth = TwipsToPixels(kClientWidth, dpi);
    out.clientHeight = TwipsToPixels(kClientHeight, dpi);
    out.frame = toPixels(kFrame, dpi);
    for (int i = 0; i < kFolderSlotCount; ++i) {
        int top = kFrame.top + kRowTop + kRowPitch * i;
        auto row = [&](int left, int width) { return toPixels({kFrame.left + left, top, width, kRowHeight}, dpi); };
        size_t k = static_cast<size_t>(i);
        out.label[k] = row(kLabelLeft, kLabelWidth);
        out.text[k] = row(kTextLeft, kTextWidth);
        out.browse[k] = row(kBrowseLeft, kRowButtonWidth);
        out.clear[k] = row(kClearLeft, kRowButtonWidth);
    }
    out.ok = toPixels(kOk, dpi);
    out.cancel = toPixels(kCancel, dpi);
    out.formFontHeight = PointsToPixels(825, dpi);
    out.rowFontHeight = PointsToPixels(975, dpi);
    return out;
}

} // namespace lumivane::folder_dialog
