// Display scales for the native tests, named by their per cent.
#pragma once

#include "core/DisplayScale.h"

inline TDisplayScale AtPercent(int percent)
{
    return TDisplayScale(TDisplayScale::kDesignDpi * percent / 100);
}
