// Arithmetic of the skin that needs no window system: how strips are cut
// into frames and how popup-menu items are measured.
#pragma once

// The columns of frame index (counted from 1) of a strip cut into
// frameCount equal frames: frame width = width div frameCount.
struct TsuiFrameColumns {
    int left;
    int width;
};
TsuiFrameColumns FrameColumns(int stripWidth, int frameCount, int frameIndex);

// The size of a popup-menu item.
struct TsuiMenuMetrics {
    int itemHeight;      // MenuItemHeight
    int separatorHeight; // SeparatorHeight
    int barWidth;        // BarWidth
};
struct TsuiItemSize {
    int width;
    int height;
};
TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, bool separator, int captionWidth, int shortCutWidth);
