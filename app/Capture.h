// Copying the screen or a window into a bitmap, and writing the shot to its
// file. Paths are UTF-8.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/CaptureAreas.h"
#include "app/ShotSettings.h"
#include "imaging/Bitmap.h"

// Whether a file or a folder of that name exists: the test MakeFileName uses.
bool FileOrFolderExists(const std::string& path);

// The monitors as the system lists them, and the virtual screen around them.
std::vector<TMonitorArea> Monitors();
TScreenRect VirtualScreen();

// The screen mode names (the primary screen, the one under the pointer, or
// all of them), with includeTaskbar false only that monitor's work area,
// placed at the bitmap's origin. Parts of the rectangle that no monitor
// covers come out black.
void CaptureScreen(TBitmap& bitmap, bool includeTaskbar, TCaptureScreens mode = TCaptureScreens::Primary);

// The window as it is seen: its visible bounds (without the invisible resize
// borders of Windows 10 and 11) where the system reports them, its whole
// rectangle otherwise, clipped to the screens. Raises Exception when there is
// no window, or it is minimised, hidden or has nothing on screen, and leaves
// the bitmap as it was.
void CaptureWindow(TBitmap& bitmap, HWND window);
// The rectangle CaptureWindow copies, with the same checks and errors.
TScreenRect WindowShotRect(HWND window);

// Sizes the bitmap to width x height and copies that much of the picture
// selected into the device context, from (x, y), to the bitmap's origin.
void CopyFromPicture(TBitmap& bitmap, HDC picture, int x, int y, int width, int height);

// Puts the bitmap on the clipboard as a device-independent bitmap (CF_DIB)
// with the same pixels, replacing what was there. A clipboard that another
// program holds is tried again for about a second; then Exception.
void CopyToClipboard(HWND owner, const TBitmap& bitmap);

