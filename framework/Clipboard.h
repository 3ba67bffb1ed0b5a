// The clipboard: text, and packed device-independent bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Puts text (UTF-8) on the clipboard as Unicode text, replacing what was
// there; owner is the window that owns it. Raises an error when the
// clipboard cannot be opened; it is closed again on every path.
void SetClipboardText(HWND owner, const std::string& text);
// The clipboard's text, or "" when it holds none.
std::string ClipboardText();

// Puts a packed device-independent bitmap (header, then rows) on the
// clipboard as CF_DIB, replacing what was there. A clipboard that another
// program holds is tried again for about a second before this raises.
void SetClipboardDib(HWND owner, const std::vector<uint8_t>& packedDib);
