// The base of every skinned component, and what they share besides: each
// component has a style and may draw from a theme file instead; the base
// keeps both, signs the component in with its theme file (and out again),
// and calls the component's one Restyle method whenever either changes or
// the theme file reads another file or goes away. Here too: resolving a
// style to the values and pictures it draws with, taking the style from the
// owning form's skinned frame, handing a container's style to its children,
// and the skin's error box, hit test and work area.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Window.h"
#include "imaging/GdiHandles.h"
#include "skin/SUIFileTheme.h"
#include "core/DisplayScale.h"
#include "skin/SUIStyleTable.h"

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
    TsuiStyleSource(const TsuiFileTheme* theme, TsuiUIStyle style, TDisplayScale scale = {});
    bool UsesThemeFile() const { return resolved_.useThemeFile; }
    const TDisplayScale& Scale() const { return scale_; }
    TsuiUIStyle Effective() const { return resolved_.effectiveStyle; }
    uint32_t Color(int key) const;
    int32_t Int(int key) const;
    bool Bool(int key) const;
    // Empty when the style has no such picture. Pictures come drawn for the
    // scale.
    TGdiObject Image(int key) const;
    TGdiObject ImageFrame(int key, int frameCount, int frameIndex) const;

private:
    const TsuiFileTheme* theme_;
    TsuiResolvedStyle resolved_;
    TDisplayScale scale_;
};

// What changed when a component is restyled.
enum class TsuiRestyle {
    Style, // the style (also: the theme file went away, so DeepBlue)
    Theme, // the theme file, or the file it read
    Scale, // the display scale (dots per inch) of the component's window
};

// A skinned component: its style, its theme file, and the one place where
// both turn into what it draws with.
class TsuiStyled : private IsuiThemeUser {
public:
    TsuiStyled(const TsuiStyled&) = delete;
    TsuiStyled& operator=(const TsuiStyled&) = delete;

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    // Signs out of the previous theme file and in with this one (or none).
    void SetFileTheme(TsuiFileTheme* theme);
    // The display scale the component draws and measures at.
    const TDisplayScale& Scale() const { return scale_; }
    void SetScale(TDisplayScale scale);
    // True for the skinned form frame, whose style the form's other
    // components start with.
    virtual bool IsSkinForm() const { return false; }

protected:
    TsuiStyled() = default;
    ~TsuiStyled();

    // Takes the pictures, colours and sizes of the present style and theme
    // file. Called on every change, also when nothing drawn differs.
    virtual void Restyle(TsuiRestyle what) = 0;
    // The values and pictures to draw with now.
    TsuiStyleSource StyleSource() const;
    // The theme file went away: DeepBlue from now on.
    void FileThemeRemoved() override;

private:
    void FileThemeLoaded() override;

    TsuiUIStyle uiStyle_ = DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
    TDisplayScale scale_;
};

// The style of the first skinned form frame among the direct children of
// owner when it is a form; DeepBlue otherwise.
TsuiUIStyle OwnerFormUIStyle(const TWindow* owner);

// Gives every skinned direct child of container the theme file, then the
// style.
void ApplyUIStyleToChildren(const TWindow& container, TsuiUIStyle style, TsuiFileTheme* theme);

// Gives every skinned direct child of container the scale.
void ApplyScaleToChildren(const TWindow& container, TDisplayScale scale);
// The scale of the monitor a window is on (its dots per inch); the design
// scale for no window.
TDisplayScale WindowScale(HWND window);

// The frame the skinned frame paints beside a form's client area: 3 pixels
// at the design scale, never more than the client area lies inside the
// form's outer left edge.
int FrameThickness(HWND form, const TDisplayScale& scale);

// Shows a skin error in a message box captioned with the program's title.
void ShowSkinError(const std::string& message);
// Edges included.
bool PointInRect(POINT p, const RECT& r);
// The work area of the monitor of the main form when it has a window,
// else the primary work area.
RECT GetWorkAreaRect();
