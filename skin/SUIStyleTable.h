// The skin's looks: the five built-in styles, the forty-two theme keys with
// their kinds and built-in values, and the names of the skin's bitmap
// resources. Constant data and plain lookups; no window system here.
#pragma once

#include <cstdint>
#include <string>

enum TsuiUIStyle : int { FromThemeFile = 0, MacOS = 1, WinXP = 2, DeepBlue = 3, Protein = 4, BlueGlass = 5 };

enum class TsuiThemeKind { Int = 0, Color = 1, Image = 2, Bool = 3 };

// Key numbers: how components ask for a value. A theme file stores the key
// under its name (ThemeKeyName).
namespace SUI_THEME {
enum : int {
    ButtonImage = 1,
    ButtonTransparentBool = 2,
    CheckBoxImage = 3,
    RadioButtonImage = 4,
    TitleBarButtonImage = 5,
    TitleBarButtonTransparentBool = 6,
    TitleBarButtonLeftOffsetInt = 7,
    TitleBarButtonRightOffsetInt = 8,
    TitleBarButtonTopInt = 9,
    TitleBarLeftImage = 10,
    TitleBarClientImage = 11,
    TitleBarRightImage = 12,
    FormMinWidthInt = 13,
    FormRoundCornerInt = 14,
    FormBackgroundColor = 15,
    FormBorderColor = 16,
    FormBorderWidthInt = 17,
    MenuSelectedBorderColor = 18,
    MenuSelectedBackgroundColor = 19,
    MenuSelectedFontColor = 20,
    MenuBackgroundColor = 21,
    MenuFontColor = 22,
    MenuBarColor = 23,
    ProgressBarImage = 24,
    ControlBorderColor = 25,
    ControlBackgroundColor = 26,
    ControlFontColor = 27,
    TrackBarBarImage = 28,
    TrackBarSliderImage = 29,
    TrackBarSliderVImage = 30,
    ScrollBarBackgroundColor = 31,
    ScrollBarButtonImage = 32,
    ScrollBarSliderImage = 33,
    CheckListBoxImage = 34,
    ToolBarButtonBorderColor = 35,
    ToolBarButtonBackgroundColor = 36,
    ToolBarButtonDownBackgroundColor = 37,
    ScrollButtonImage = 38,
    TabControlTabImage = 39,
    TabControlBarImage = 40,
    SideChannelHandleImage = 41,
    SideChannelBarImage = 42,
};
constexpr int FirstKey = 1;
constexpr int LastKey = 42;
} // namespace SUI_THEME

// A built-in value: a number (Int, Color, Bool) or, for Image, the name of a
// bitmap resource.
struct TsuiStyleValue {
    TsuiThemeKind kind;
    int32_t value;
    std::string image;
};

// Only the low 7 bits of the style count. FromThemeFile, a style above
// BlueGlass or a key outside 1..42 give {Int, -1}.
TsuiStyleValue GetStyleValue(int style, int key);

// The value when the key is of the asked kind; else 0, -1, false or "".
uint32_t GetStyleColor(TsuiUIStyle style, int key);
int32_t GetStyleInt(TsuiUIStyle style, int key);
bool GetStyleBool(TsuiUIStyle style, int key);
std::string GetStyleImageName(TsuiUIStyle style, int key);

// A popup menu's designed item and separator heights, side bar width and
// separator line colour in a style: MacOS's own, and one set for the rest.
struct TsuiMenuStyleMetrics {
    int itemHeight;
    int separatorHeight;
    int barWidth;
    uint32_t separatorColor;
};
TsuiMenuStyleMetrics MenuStyleMetrics(TsuiUIStyle style);

// The menu bar colour of a form drawn from a theme file: two marker values
// of the file's ControlFontColor pick a blue of their own, any other value
// keeps the form's colour.
uint32_t ThemeFileMenuBarColor(uint32_t controlFontColor, uint32_t formColor);

// Whether a theme file's title pictures are light, so that caption text is
// black: four marker values of its ControlFontColor say so.
bool ThemeFileTitleIsLight(uint32_t controlFontColor);

// Whether a form's rounded top corners (FormRoundCornerInt) get an outline
// drawn in the border colour: those of BlueGlass's size do, also when a
// theme file asks for them.
bool RoundCornerOutlined(int roundCorner);

// What a built-in style draws besides its keys: the picture its forms'
// backgrounds are tiled with (nullptr: the plain form colour), whether its
// controls sit on pinstripes (the check box repeats them behind its caption
// at other scales, the track bar shows its parent through), whether its
// title pictures are light, so that caption text is black, whether its
// buttons are rounded (focus shows as a bold caption, not a dotted frame),
// the pictures of the combo box's button (with or without an arrow of its
// own) and of the menu bar (nullptr: plain colours).
struct TsuiStyleTraits {
    const char* formBackgroundTile = nullptr;
    bool pinstripedControls = false;
    bool lightTitle = false;
    bool roundedButtons = false;
    const char* comboButtonPicture = nullptr;
    bool comboButtonPictureHasArrow = false;
    const char* menuBarPicture = nullptr;
};
TsuiStyleTraits StyleTraits(TsuiUIStyle style);

// How many frames side by side an image key's picture holds (a button's
// three looks, the title bar's eighteen buttons); 1 for other keys.
int ThemeImageFrames(int key);

// The key's name in theme files ("ButtonImage", ...); nullptr outside 1..42.
const char* ThemeKeyName(int key);
// The key's kind; Int outside 1..42.
TsuiThemeKind ThemeKeyKind(int key);
// The key number of a name, matched without regard to case; 0 when none.
int ThemeKeyByName(const std::string& name);

// "MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"; "" for FromThemeFile
// and unknown numbers.
const char* StyleResourcePrefix(TsuiUIStyle style);
// The style's resource of an element: "WINXP" + "_" + element; "" for a
// style without resources.
std::string StyleResourceName(TsuiUIStyle style, const char* element);

// Which look a component draws: FromThemeFile with a loaded theme file means
// the file (useThemeFile = true, FromThemeFile returned); without one it
// falls back to DeepBlue. A built-in style is drawn as it is.
TsuiUIStyle ResolveBuiltInStyle(TsuiUIStyle style, bool themeLoaded, bool& useThemeFile);
