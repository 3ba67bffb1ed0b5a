// Copying the screen or a window into a bitmap, and writing the shot to its
// file. Paths are UTF-8.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "imaging/Bitmap.h"

struct TCaptureSettings {
    std::string folder;
    std::string prefix;
    int formatIndex = 0; // 0 BMP, 1 JPG, 2 PNG, other: no format
    bool includeTaskbar = true;
    int jpgQuality = 90; // only the low 8 bits are used
    int pngLevel = 7;    // only the low 8 bits are used
};

// Whether a file or a folder of that name exists: the test MakeFileName uses.
bool FileOrFolderExists(const std::string& path);

// The primary screen, or with includeTaskbar false only its work area, placed
// at the bitmap's origin.
void CaptureScreen(TBitmap& bitmap, bool includeTaskbar);

// The whole window, frame and title bar included. Raises Exception when there
// is no window or it has no area, and leaves the bitmap as it was.
void CaptureWindow(TBitmap& bitmap, HWND window);

// Writes bitmap in the format settings.formatIndex names to fileName, which is
// created new. When that name has been taken meanwhile, the next free one from
// settings is used. Returns the name written; with no format nothing is
// written and fileName comes back unchanged.
std::string SaveCapture(const TBitmap& bitmap, std::string fileName, const TCaptureSettings& settings);

// The size of the file in KB, rounded up; -1 when there is no such file.
int32_t FileSizeKB(const std::string& fileName);
