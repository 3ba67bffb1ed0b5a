#include "skin/SUIThemes.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "core/Unicode.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"

TsuiStyled::~TsuiStyled()
{
    if (fileTheme_)
        fileTheme_->RemoveUser(this);
}

void TsuiStyled::SetUIStyle(TsuiUIStyle style)
{
    uiStyle_ = style;
    Restyle(TsuiRestyle::Style);
}

void TsuiStyled::SetFileTheme(TsuiFileTheme* theme)
{
    if (fileTheme_ && fileTheme_ != theme)
        fileTheme_->RemoveUser(this);
    fileTheme_ = theme;
    if (fileTheme_)
        fileTheme_->AddUser(this);
    Restyle(TsuiRestyle::Theme);
}

void TsuiStyled::SetScale(TDisplayScale scale)
{
    if (scale == scale_)
        return;
    scale_ = scale;
    Restyle(TsuiRestyle::Scale);
}

void TsuiStyled::FileThemeLoaded()
{
    Restyle(TsuiRestyle::Theme);
}

void TsuiStyled::FileThemeRemoved()
{
    fileTheme_ = nullptr;
    SetUIStyle(DeepBlue);
}

TsuiStyleSource TsuiStyled::StyleSource() const
{
    return TsuiStyleSource(fileTheme_, uiStyle_, scale_);
}

TsuiResolvedStyle ResolveUIStyle(const TsuiFileTheme* theme, TsuiUIStyle style)
{
    bool useThemeFile = false;
    TsuiUIStyle effective = ResolveBuiltInStyle(style, theme && theme->Loaded(), useThemeFile);
    return {useThemeFile, effective};
}

TsuiStyleSource::TsuiStyleSource(const TsuiFileTheme* theme, TsuiUIStyle style, TDisplayScale scale)
    : theme_(theme), resolved_(ResolveUIStyle(theme, style)), scale_(scale)
{
}

uint32_t TsuiStyleSource::Color(int key) const
{
    return UsesThemeFile() ? theme_->GetColor(key) : GetStyleColor(Effective(), key);
}

int32_t TsuiStyleSource::Int(int key) const
{
    return UsesThemeFile() ? theme_->GetInt(key) : GetStyleInt(Effective(), key);
}

bool TsuiStyleSource::Bool(int key) const
{
    return UsesThemeFile() ? theme_->GetBool(key) : GetStyleBool(Effective(), key);
}

TGdiObject TsuiStyleSource::Image(int key) const
{
    TGdiObject image;
    if (UsesThemeFile())
        theme_->GetBitmap(key, image, scale_);
    else
        GetStyleImage(Effective(), key, image, scale_);
    return image;
}

TGdiObject TsuiStyleSource::ImageFrame(int key, int frameCount, int frameIndex) const
{
    TGdiObject image;
    if (UsesThemeFile())
        theme_->GetBitmap(key, image, frameCount, frameIndex, scale_);
    else
        GetStyleImageFrame(Effective(), key, image, frameCount, frameIndex, scale_);
    return image;
}

// The program's objects among the direct children of a window, in z-order.
static void ForEachDirectChild(const TWindow& container, const std::function<bool(TsuiStyled&)>& visit)
{
    for (HWND child = GetWindow(container.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* styled = dynamic_cast<TsuiStyled*>(TWindow::FromHandle(child)))
            if (!visit(*styled))
                return;
}

TsuiUIStyle OwnerFormUIStyle(const TWindow* owner)
{
    TsuiUIStyle style = DeepBlue;
    if (!dynamic_cast<const TForm*>(owner) || !owner->Handle())
        return style;
    ForEachDirectChild(*owner, [&](TsuiStyled& child) {
        if (!child.IsSkinForm())
            return true;
        style = child.UIStyle();
        return false;
    });
    return style;
}

// Collected first, as restyling may create or destroy windows.
static std::vector<TsuiStyled*> StyledChildren(const TWindow& container)
{
    std::vector<TsuiStyled*> children;
    ForEachDirectChild(container, [&](TsuiStyled& child) {
        children.push_back(&child);
        return true;
    });
    return children;
}

void ApplyUIStyleToChildren(const TWindow& container, TsuiUIStyle style, TsuiFileTheme* theme)
{
    for (TsuiStyled* child : StyledChildren(container)) {
        child->SetFileTheme(theme);
        child->SetUIStyle(style);
    }
}

void ApplyScaleToChildren(const TWindow& container, TDisplayScale scale)
{
    for (TsuiStyled* child : StyledChildren(container))
        child->SetScale(scale);
}

TDisplayScale WindowScale(HWND window)
{
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? TDisplayScale(static_cast<int>(dpi)) : TDisplayScale();
}

int FrameThickness(HWND form, const TDisplayScale& scale)
{
    const int designed = scale.Position(3);
    RECT outer{};
    POINT origin{0, 0};
    if (!form || !GetWindowRect(form, &outer) || !ClientToScreen(form, &origin))
        return designed;
    return std::min<int>(designed, origin.x - outer.left);
}

void ShowSkinError(const std::string& message)
{
    MessageBoxW(GetActiveWindow(), Utf8ToWide(message).c_str(), Utf8ToWide(Application.Title()).c_str(),
                MB_OK | MB_ICONERROR);
}

bool PointInRect(POINT p, const RECT& r)
{
    return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
}

RECT GetWorkAreaRect()
{
    RECT area{};
    if (TForm* main = Application.MainForm(); main && main->Handle()) {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(MonitorFromWindow(main->Handle(), MONITOR_DEFAULTTONEAREST), &info))
            return info.rcWork;
    }
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}
