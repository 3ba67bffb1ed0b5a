#include "skin/SUIStyleTable.h"

#include <cctype>

namespace {

constexpr int StyleCount = 5; // MacOS .. BlueGlass

// One theme key. Image keys name an element that each style's resource
// prefix completes ("MACOS_" + "BUTTON") and carry the number of frames of
// the picture strip; numeric keys carry one value per built-in style, MacOS
// first.
struct KeyRow {
    const char* name;
    TsuiThemeKind kind;
    const char* element;
    int32_t values[StyleCount];
};

using K = TsuiThemeKind;

const KeyRow keyTable[SUI_THEME::LastKey] = {
    {"ButtonImage", K::Image, "BUTTON", {3}},
    {"ButtonTransparentBool", K::Bool, nullptr, {1, 0, 0, 0, 1}},
    {"CheckBoxImage", K::Image, "CHECKBOX", {4}},
    {"RadioButtonImage", K::Image, "RADIOBUTTON", {4}},
    {"TitleBarButtonImage", K::Image, "TITLEBTN", {18}},
    {"TitleBarButtonTransparentBool", K::Bool, nullptr, {0, 0, 0, 1, 1}},
    {"TitleBarButtonLeftOffsetInt", K::Int, nullptr, {3, 2, 0, 0, 4}},
    {"TitleBarButtonRightOffsetInt", K::Int, nullptr, {-2, -2, 0, 0, -3}},
    {"TitleBarButtonTopInt", K::Int, nullptr, {4, 5, 2, 2, 6}},
    {"TitleBarLeftImage", K::Image, "TITLE_LEFT", {1}},
    {"TitleBarClientImage", K::Image, "TITLE_CLIENT", {1}},
    {"TitleBarRightImage", K::Image, "TITLE_RIGHT", {1}},
    {"FormMinWidthInt", K::Int, nullptr, {130, 150, 130, 130, 270}},
    {"FormRoundCornerInt", K::Int, nullptr, {0, 13, 0, 0, 11}},
    {"FormBackgroundColor", K::Color, nullptr, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {"FormBorderColor", K::Color, nullptr, {0x7F7F7F, 0xC82C00, 0, 0, 0}},
    {"FormBorderWidthInt", K::Int, nullptr, {1, 3, 1, 1, 1}},
    {"MenuSelectedBorderColor", K::Color, nullptr, {0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {"MenuSelectedBackgroundColor", K::Color, nullptr, {0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E}},
    {"MenuSelectedFontColor", K::Color, nullptr, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {"MenuBackgroundColor", K::Color, nullptr, {0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7}},
    {"MenuFontColor", K::Color, nullptr, {0, 0, 0, 0, 0}},
    {"MenuBarColor", K::Color, nullptr, {0, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6}},
    {"ProgressBarImage", K::Image, "PROGRESSBAR", {1}},
    {"ControlBorderColor", K::Color, nullptr, {0x7F7F7F, 0x686868, 0, 0, 0}},
    {"ControlBackgroundColor", K::Color, nullptr, {0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7}},
    {"ControlFontColor", K::Color, nullptr, {0, 0xCF4602, 0, 0, 0}},
    {"TrackBarBarImage", K::Image, "TRACKBAR_BAR", {3}},
    {"TrackBarSliderImage", K::Image, "TRACKBAR_SLIDER", {1}},
    {"TrackBarSliderVImage", K::Image, "TRACKBAR_SLIDER_V", {1}},
    {"ScrollBarBackgroundColor", K::Color, nullptr, {0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4}},
    {"ScrollBarButtonImage", K::Image, "SCROLLBAR_BUTTON", {4}},
    {"ScrollBarSliderImage", K::Image, "SCROLLBAR_TRACK", {3}},
    {"CheckListBoxImage", K::Image, "CHECKLIST", {4}},
    {"ToolBarButtonBorderColor", K::Color, nullptr, {0x474747, 0xC66931, 0x474747, 0x474747, 0x474747}},
    {"ToolBarButtonBackgroundColor", K::Color, nullptr, {0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF}},
    {"ToolBarButtonDownBackgroundColor", K::Color, nullptr, {0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8}},
    {"ScrollButtonImage", K::Image, "SCROLLBUTTON", {4}},
    {"TabControlTabImage", K::Image, "TAB", {2}},
    {"TabControlBarImage", K::Image, "TAB_LINE", {1}},
    {"SideChannelHandleImage", K::Image, "SIDECHENNEL_HANDLE", {1}},
    {"SideChannelBarImage", K::Image, "SIDECHENNEL_BAR", {1}},
};

// The scroll button picture is shared by the last three styles instead of
// following the prefix pattern.
const char* const scrollButtonImages[StyleCount] = {
    "MACOS_SCROLLBUTTON", "WINXP_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON", "MORE_SCROLLBUTTON",
};

constexpr TsuiMenuStyleMetrics macMenu{20, 12, 26, 0};
constexpr TsuiMenuStyleMetrics otherMenu{21, 5, 26, 0x848284};

// ControlFontColor values of a theme file that mark its menu bar colour.
constexpr uint32_t blueMenuBarMarker = 0x20000;
constexpr uint32_t darkBlueMenuBarMarker = 0x30000;
constexpr uint32_t blueMenuBarColor = 11295547;
constexpr uint32_t darkBlueMenuBarColor = 10053427;
// ControlFontColor values of a theme file with light title pictures.
constexpr uint32_t lightTitleMarkers[] = {0x10000, 0x30000, 0x40000, 0x50000};

const KeyRow* Row(int key)
{
    if (key < SUI_THEME::FirstKey || key > SUI_THEME::LastKey)
        return nullptr;
    return &keyTable[key - 1];
}

bool SameTextIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

} // namespace

TsuiStyleValue GetStyleValue(int style, int key)
{
    const int builtIn = style & 0x7F;
    const KeyRow* row = Row(key);
    if (builtIn < MacOS || builtIn > BlueGlass || row == nullptr)
        return {TsuiThemeKind::Int, -1, {}};
    const int column = builtIn - MacOS;
    if (row->kind != TsuiThemeKind::Image)
        return {row->kind, row->values[column], {}};
    if (key == SUI_THEME::ScrollButtonImage)
        return {row->kind, 0, scrollButtonImages[column]};
    return {row->kind, 0, StyleResourceName(static_cast<TsuiUIStyle>(builtIn), row->element)};
}

uint32_t GetStyleColor(TsuiUIStyle style, int key)
{
    TsuiStyleValue v = GetStyleValue(style, key);
    return v.kind == TsuiThemeKind::Color ? static_cast<uint32_t>(v.value) : 0;
}

int32_t GetStyleInt(TsuiUIStyle style, int key)
{
    TsuiStyleValue v = GetStyleValue(style, key);
    return v.kind == TsuiThemeKind::Int ? v.value : -1;
}

bool GetStyleBool(TsuiUIStyle style, int key)
{
    TsuiStyleValue v = GetStyleValue(style, key);
    return v.kind == TsuiThemeKind::Bool && v.value != 0;
}

std::string GetStyleImageName(TsuiUIStyle style, int key)
{
    TsuiStyleValue v = GetStyleValue(style, key);
    return v.kind == TsuiThemeKind::Image ? v.image : std::string();
}

TsuiMenuStyleMetrics MenuStyleMetrics(TsuiUIStyle style)
{
    return style == MacOS ? macMenu : otherMenu;
}

uint32_t ThemeFileMenuBarColor(uint32_t controlFontColor, uint32_t formColor)
{
    if (controlFontColor == blueMenuBarMarker)
        return blueMenuBarColor;
    if (controlFontColor == darkBlueMenuBarMarker)
        return darkBlueMenuBarColor;
    return formColor;
}

bool ThemeFileTitleIsLight(uint32_t controlFontColor)
{
    for (uint32_t marker : lightTitleMarkers)
        if (controlFontColor == marker)
            return true;
    return false;
}

bool RoundCornerOutlined(int roundCorner)
{
    return roundCorner > 0 && roundCorner == GetStyleInt(BlueGlass, SUI_THEME::FormRoundCornerInt);
}

TsuiStyleTraits StyleTraits(TsuiUIStyle style)
{
    switch (style) {
    case MacOS:
        return {.formBackgroundTile = "MACOS_FORM_BACKGROUND",
                .pinstripedControls = true,
                .lightTitle = true,
                .roundedButtons = true,
                .comboButtonPicture = "MACOS_COMBOBOX_BUTTON",
                .menuBarPicture = "MACOS_MENU_BAR"};
    case WinXP:
        return {.comboButtonPicture = "WINXP_COMBOBOX_BUTTON", .comboButtonPictureHasArrow = true};
    case Protein:
        return {.formBackgroundTile = "PROTEIN_FORM_BACKGROUND"};
    case BlueGlass:
        return {.roundedButtons = true};
    default:
        return {};
    }
}

int ThemeImageFrames(int key)
{
    const KeyRow* row = Row(key);
    return row && row->kind == TsuiThemeKind::Image ? row->values[0] : 1;
}

const char* ThemeKeyName(int key)
{
    const KeyRow* row = Row(key);
    return row ? row->name : nullptr;
}

TsuiThemeKind ThemeKeyKind(int key)
{
    const KeyRow* row = Row(key);
    return row ? row->kind : TsuiThemeKind::Int;
}

int ThemeKeyByName(const std::string& name)
{
    for (int key = SUI_THEME::FirstKey; key <= SUI_THEME::LastKey; ++key)
        if (SameTextIgnoringCase(name, keyTable[key - 1].name))
            return key;
    return 0;
}

const char* StyleResourcePrefix(TsuiUIStyle style)
{
    switch (style) {
    case MacOS: return "MACOS";
    case WinXP: return "WINXP";
    case DeepBlue: return "DEEPBLUE";
    case Protein: return "PROTEIN";
    case BlueGlass: return "BLUEGLASS";
    default: return "";
    }
}

std::string StyleResourceName(TsuiUIStyle style, const char* element)
{
    std::string prefix = StyleResourcePrefix(style);
    if (prefix.empty())
        return {};
    return prefix + "_" + element;
}

TsuiUIStyle ResolveBuiltInStyle(TsuiUIStyle style, bool themeLoaded, bool& useThemeFile)
{
    useThemeFile = false;
    if (style != FromThemeFile)
        return style;
    if (themeLoaded) {
        useThemeFile = true;
        return FromThemeFile;
    }
    return DeepBlue;
}
