#include "skin/SUIScale.h"

#include <algorithm>
#include <cstdint>

TsuiScale::TsuiScale(int dpi) : dpi_(std::max(dpi, kDesignDpi)) {}

// floor(numerator / denominator) for a positive denominator.
static int64_t FloorDiv(int64_t numerator, int64_t denominator)
{
    const int64_t quotient = numerator / denominator;
    return numerator % denominator < 0 ? quotient - 1 : quotient;
}

int TsuiScale::Position(int designed) const
{
    return static_cast<int>(FloorDiv(int64_t(designed) * dpi_ * 2 + kDesignDpi, 2 * kDesignDpi));
}

int TsuiScale::Length(int designed) const
{
    // The size rounds alike whichever way it points.
    if (designed < 0)
        return -Length(-designed);
    return designed == 0 ? 0 : std::max(Position(designed), 1);
}

TsuiRect TsuiScale::Rect(const TsuiRect& designed) const
{
    return {Position(designed.left), Position(designed.top), Position(designed.right), Position(designed.bottom)};
}

int TsuiScale::FontHeight(int designed) const
{
    return Length(designed);
}

int TsuiScale::PatternFactor() const
{
    const int percent = dpi_ * 100 / kDesignDpi;
    return std::max(1, (percent + 50) / 100);
}

int TsuiScale::PictureSetPercent() const
{
    const int percent = dpi_ * 100 / kDesignDpi;
    if (percent <= 100)
        return 100;
    return percent <= 150 ? 150 : 200;
}
