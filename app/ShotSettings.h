// What a shot is taken and written with, as one value: the pipeline reads
// nothing else. The panel and the menu fill it; the registry keeps the same
// values in its own form (Settings.h).
#pragma once

#include <cstdint>
#include <string>

#include "app/CaptureAreas.h"

// The file format of the shots. The numbers are the format list's order and
// the stored FileFormat value; any other stored number means no format.
enum class TShotFormat : int32_t { None = -1, Bmp = 0, Jpg = 1, Png = 2 };

// The format a list index or stored number stands for.
TShotFormat ShotFormatFromIndex(int32_t index);

struct TShotSettings {
    std::string folder;
    std::string prefix;
    TShotFormat format = TShotFormat::Bmp;
    int32_t jpgQuality = 90; // only the low 8 bits are used
    int32_t pngLevel = 7;    // only the low 8 bits are used
    bool includeTaskbar = true;
    bool notify = false;
    bool copyToClipboard = false;
    TCaptureScreens screens = TCaptureScreens::Primary;
};
