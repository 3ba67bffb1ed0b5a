#include "core/DisplayScale.h"

#include <algorithm>
#include <cstdint>

TDisplayScale::TDisplayScale(int dpi) : dpi_(std::max(dpi, kDesignDpi)) {}

// floor(numerator / denominator) for a positive denominator.
static int64_t FloorDiv(int64_t numerator, int64_t denominator)
{
    const int64_t quotient = numerator / denominator;
    return numerator % denominator < 0 ? quotient - 1 : quotient;
}

int TDisplayScale::Position(int designed) const
{
    return static_cast<int>(FloorDiv(int64_t(designed) * dpi_ * 2 + kDesignDpi, 2 * kDesignDpi));
}

int TDisplayScale::Length(int designed) const
{
    // The size rounds alike whichever way it points.
    if (designed < 0)
        return -Length(-designed);
    return designed == 0 ? 0 : std::max(Position(designed), 1);
}

TBounds TDisplayScale::Bounds(const TBounds& designed) const
{
    const int left = Position(designed.left), top = Position(designed.top);
    return {left, top, Position(designed.left + designed.width) - left,
            Position(designed.top + designed.height) - top};
}

int TDisplayScale::FontHeight(int designed) const
{
    return Length(designed);
}

int TDisplayScale::PatternFactor() const
{
    const int percent = dpi_ * 100 / kDesignDpi;
    return std::max(1, (percent + 50) / 100);
}

int TDisplayScale::PictureSetPercent() const
{
    const int percent = dpi_ * 100 / kDesignDpi;
    if (percent <= 100)
        return 100;
    return percent <= 150 ? 150 : 200;
}
