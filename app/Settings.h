// The settings of the panel as they are kept in the registry: seven values,
// always read and written in this order.
#pragma once

#include <cstdint>
#include <string>

#include "core/RegistryValues.h"

struct TSettings {
    std::string defaultPath;  // DefaultPath: images folder
    std::string filename;     // Filename: file-name prefix
    int32_t fileFormat = 0;   // FileFormat: 0 BMP, 1 JPG, 2 PNG, -1 none
    int32_t png = 7;          // PNG: compression level
    int32_t jpg = 90;         // JPG: quality
    bool includeTask = true;  // IncludeTask
    bool notifyShots = false; // NotifyShots
};

// Reads the values in order into settings. A failure raises
// ERegistryException; the values read before it are in settings already and
// the later ones are left as they were.
void ReadSettings(const TRegistryValues& values, TSettings& settings, const TRegistryMessages& messages);

// Writes all values in order; a failing write raises ERegistryException and
// the rest is not written.
void WriteSettings(TRegistryValues& values, const TSettings& settings, const TRegistryMessages& messages);
