// What every skinned component shares: resolving its style, taking the
// style from its form or container, loading its pictures from the program's
// resources or a theme file, and the drawing helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/CustomControl.h"
#include "framework/Window.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIStyleTable.h"

class TsuiFileTheme;

// A skinned component, as its container and its theme file see it.
class IsuiStyled {
public:
    virtual TsuiUIStyle UIStyle() const = 0;
    virtual void SetUIStyle(TsuiUIStyle style) = 0;
    virtual TsuiFileTheme* FileTheme() const = 0;
    virtual void SetFileTheme(TsuiFileTheme* theme) = 0;
    // The theme file component is going away: draw DeepBlue from now on.
    virtual void FileThemeRemoved() = 0;
    // True for the skinned form frame, whose style the form's other
    // components start with.
    virtual bool IsSkinForm() const { return false; }

protected:
    ~IsuiStyled() = default;
};

struct TsuiResolvedStyle {
    bool useThemeFile;
    TsuiUIStyle effectiveStyle;
};
// FromThemeFile with a loaded theme: the file; without: DeepBlue.
TsuiResolvedStyle ResolveUIStyle(const TsuiFileTheme* theme, TsuiUIStyle style);

// The values a component reads for its style: from the theme file when the
// style resolves to it, else from the built-in table of the effective style.
class TsuiStyleSource {
public:
    TsuiStyleSource(const TsuiFileTheme* theme, TsuiUIStyle style);
    bool UsesThemeFile() const { return resolved_.useThemeFile; }
    TsuiUIStyle Effective() const { return resolved_.effectiveStyle; }
    uint32_t Color(int key) const;
    int32_t Int(int key) const;
    bool Bool(int key) const;
    // Empty when the style has no such picture.
    TGdiObject Image(int key) const;
    TGdiObject ImageFrame(int key, int frameCount, int frameIndex) const;

private:
    const TsuiFileTheme* theme_;
    TsuiResolvedStyle resolved_;
};

// The style of the first skinned form frame among the direct children of
// owner when it is a form; DeepBlue otherwise.
TsuiUIStyle OwnerFormUIStyle(const TWindow* owner);

// Gives every skinned direct child of container the theme file, then the
// style.
void ApplyUIStyleToChildren(const TWindow& container, TsuiUIStyle style, TsuiFileTheme* theme);

// A font as the skinned components keep it: what it is made of (height in
// pixels, negative for the character height as usual) and its colour.
struct TsuiFont {
    std::string name = "Tahoma";
    int height = -11;
    bool bold = false;
    uint32_t color = 0;
    bool operator==(const TsuiFont&) const = default;
};
// The system font made from it; empty when it cannot be made.
TGdiObject MakeFont(const TsuiFont& font);
// Shows a skin error in a message box captioned with the program's title.
void ShowSkinError(const std::string& message);

// A colour given as a system colour reference (top byte 0xFF) as RGB.
COLORREF ColorToRGB(uint32_t color);
constexpr uint32_t clBtnFace = 0xFF00000F;
constexpr uint32_t clHighlight = 0xFF00000D;
constexpr uint32_t clFuchsia = 0x00FF00FF;

// A bitmap resource of the program as a device-independent bitmap; empty
// when there is none of that name.
TGdiObject LoadSkinBitmap(const std::string& resourceName);
// A BMP file held in memory (a theme file's picture); empty when it is not
// one.
TGdiObject BitmapFromBmpFile(const uint8_t* data, size_t size);
SIZE BitmapSize(HGDIOBJ bitmap);

// The built-in image of a key: loads it into bitmap when the key is an
// Image key; otherwise bitmap is left as it was. With frameCount > 0 only
// frame frameIndex (from 1) of the strip.
void GetStyleImage(TsuiUIStyle style, int key, TGdiObject& bitmap);
void GetStyleImageFrame(TsuiUIStyle style, int key, TGdiObject& bitmap, int frameCount, int frameIndex);

// The frame of a strip cut into frameCount equal columns.
TGdiObject CutFrame(HGDIOBJ source, int frameCount, int frameIndex);
// Draws a three-part horizontal image stretched to rect: ends as they are
// with the key colour transparent, the middle stretched.
void DrawThreeSlice(HGDIOBJ bitmap, HDC dc, const RECT& rect, bool keyFromCorner);
// Draws picture repeatedly from the canvas origin until rect is covered.
void TileGraphic(HDC dc, HGDIOBJ picture, const RECT& rect);
// The quarter turn of a bitmap: (x, y) lands at (y, W - 1 - x).
TGdiObject RotateBitmap(HGDIOBJ bitmap);
// Draws bitmap at (x, y); with transparent, pixels of keyColor are left out.
void DrawBitmap(HDC dc, HGDIOBJ bitmap, int x, int y, bool transparent = false, COLORREF keyColor = 0xFF00FF);
// Stretches bitmap's rows [0, rows) over rect (rows 0: all).
void StretchBitmap(HDC dc, HGDIOBJ bitmap, const RECT& rect, int rows = 0);
// Frames the control's whole window with outer (and, with drawInner, the
// rectangle one pixel inside with inner).
void FrameWindowBorder(HWND control, uint32_t outer, uint32_t inner, bool drawInner);
// Edges included.
bool PointInRect(POINT p, const RECT& r);
// The work area of the monitor of the main form when it has a window,
// else the primary work area.
RECT GetWorkAreaRect();
