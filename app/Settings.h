// The settings as they are kept in the registry: the panel's seven values,
// always read and written in this order and strictly checked, then the two
// values of the program's menu, which a key written by an earlier version
// lacks and which therefore read leniently.
#pragma once

#include <cstdint>
#include <string>

#include "app/ShotSettings.h"
#include "core/RegistryValues.h"

struct TSettings {
    std::string defaultPath;  // DefaultPath: images folder
    std::string filename;     // Filename: file-name prefix
    int32_t fileFormat = 0;   // FileFormat: 0 BMP, 1 JPG, 2 PNG, -1 none
    int32_t png = 7;          // PNG: compression level
    int32_t jpg = 90;         // JPG: quality
    bool includeTask = true;  // IncludeTask
    bool notifyShots = false; // NotifyShots
    int32_t captureScreens = 0;   // CaptureScreens: 0 primary, 1 under the pointer, 2 all
    bool copyToClipboard = false; // CopyToClipboard
};

// Reads the values in order into settings. A failure of the seven raises
// ERegistryException; the values read before it are in settings already and
// the later ones are left as they were. The last two never fail: missing,
// of the wrong type or out of range, they take their defaults.
void ReadSettings(const TRegistryValues& values, TSettings& settings, const TRegistryMessages& messages);

// Writes all values in order; a failing write raises ERegistryException and
// the rest is not written.
void WriteSettings(TRegistryValues& values, const TSettings& settings, const TRegistryMessages& messages);

// What the next shot is taken with, from the stored values.
TShotSettings ShotSettingsFrom(const TSettings& settings);
