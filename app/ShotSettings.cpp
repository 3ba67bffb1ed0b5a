#include "app/ShotSettings.h"

TShotFormat ShotFormatFromIndex(int32_t index)
{
    switch (index) {
    case 0:
        return TShotFormat::Bmp;
    case 1:
        return TShotFormat::Jpg;
    case 2:
        return TShotFormat::Png;
    default:
        return TShotFormat::None;
    }
}
