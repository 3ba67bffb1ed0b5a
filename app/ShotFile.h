// A shot's file, written so that no half-written file ever carries a shot's
// name: the picture goes into a temporary file in the images folder, which
// takes the shot's name only once it is complete, and never in place of
// another file. A write that fails removes its temporary file and says which
// shot and why in plain words; the files a crash or a forced end left
// behind are removed at the next start.
#pragma once

#include <cstdint>
#include <string>

#include "app/ShotSettings.h"
#include "imaging/Bitmap.h"

// Writes bitmap in the format of settings under fileName. When that name
// has been taken meanwhile, the next free one from settings is used. Returns
// the name written; with no format nothing is written and fileName comes
// back unchanged. Raises EFCreateError when the file cannot be made (an
// empty fileName: every number taken) and EStreamError when it cannot be
// written or named.
std::string SaveCapture(const TBitmap& bitmap, std::string fileName, const TShotSettings& settings);

// Removes this program's temporary files from folder, except those in use.
void RemoveLeftoverTemporaryFiles(const std::string& folder);

// The size of the file in KB, rounded up; -1 when there is no such file.
int32_t FileSizeKB(const std::string& fileName);
