#include "skin/SUIMenuLayout.h"

TsuiItemSize MeasureMenuItem(const TsuiMenuMetrics& metrics, const TDisplayScale& scale, bool separator,
                             int captionWidth, int shortCutWidth)
{
    // Without text: the bar and 40 pixels wide, and the designed height.
    const TsuiItemSize unscaled = MeasureMenuItem(metrics, separator, 0, 0);
    return {captionWidth + shortCutWidth + scale.Length(unscaled.width), scale.Length(unscaled.height)};
}

TsuiMenuItemPlaces MenuItemPlaces(const TsuiMenuMetrics& metrics, const TDisplayScale& scale, int width,
                                  int height)
{
    TsuiMenuItemPlaces p;
    const int bar = scale.Position(metrics.barWidth);
    p.bar = {0, 0, bar, height};
    p.rest = {bar, 0, width, height};
    p.caption = {scale.Position(metrics.barWidth + 4), scale.Position(4)};
    p.shortCutRight = width - scale.Length(16);
    p.line = scale.Length(1);
    const int lineTop = scale.Position(2);
    p.separatorLine = {scale.Position(metrics.barWidth + 4), lineTop, width - scale.Length(2), lineTop + p.line};
    p.mark = ScaleRect(scale, {4, 3, 4 + kMenuMarkSize, 3 + kMenuMarkSize});
    p.radioDot = ScaleRect(scale, {9, 8, 16, 15});
    p.imageFrame = ScaleRect(scale, {2, 1, 21, 20});
    // 4 wide and 7 high, ending 8 pixels from the right edge.
    const int arrowHalf = scale.Length(7) / 2;
    const int arrowRight = width - scale.Length(8);
    p.subMenuArrow = {arrowRight - scale.Length(4), height / 2 - arrowHalf, arrowRight, height / 2 + arrowHalf + 1};
    return p;
}
