#include "skin/SUIGeometry.h"

TsuiFrameColumns FrameColumns(int stripWidth, int frameCount, int frameIndex)
{
    if (frameCount <= 0)
        return {0, stripWidth};
    const int width = stripWidth / frameCount;
    return {(frameIndex - 1) * width, width};
}

TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, bool separator, int captionWidth, int shortCutWidth)
{
    return {captionWidth + shortCutWidth + metrics.barWidth + 40,
            separator ? metrics.separatorHeight : metrics.itemHeight};
}
