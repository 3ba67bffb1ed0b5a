#include "skin/SUIForm.h"

#include "framework/Application.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIFrameGeometry.h"
#include "skin/SUIPictures.h"

TsuiForm::TsuiForm() = default;

TsuiForm::~TsuiForm()
{
    if (applicationHook_)
        Application.RemoveMessageHook(applicationHook_);
    if (form_ && form_->Handle()) {
        HWND window = form_->Handle();
        hook_.reset();
        SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CAPTION);
        SetWindowRgn(window, nullptr, TRUE);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    hook_.reset();
    DestroyHandle();
}

static bool HoldsSkinForm(const TForm& form)
{
    for (HWND child = GetWindow(form.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (dynamic_cast<TsuiForm*>(TWindow::FromHandle(child)))
            return true;
    return false;
}

void TsuiForm::Create(TWindow& owner)
{
    auto* form = dynamic_cast<TForm*>(&owner);
    const bool takesOver = form && !HoldsSkinForm(*form);
    RECT client{};
    GetClientRect(owner.Handle(), &client);
    CreateCustom(owner, L"TsuiForm", {0, 0, client.right, client.bottom}, " ", WS_CLIPCHILDREN);
    // Tab and arrow keys reach the controls placed on it.
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    if (takesOver)
        SetUp(*form);
    else
        SetUIStyle(DeepBlue);
}

void TsuiForm::SetUp(TForm& form)
{
    form_ = &form;
    HWND window = form.Handle();
    form.SetMinHeight(50);
    form.SetMinWidth(125);
    const TBounds bounds = form.BoundsRect();
    createdBounds_ = bounds;
    createdMaximized_ = IsZoomed(window) != FALSE;

    titleBar_.Create(*this, true);
    titleBar_.OnResize = [this] { Realign(); };
    menuBarColor_ = color_;
    menuBarHeight_ = 22;
    SetUIStyle(DeepBlue);
    autoUpdateSub_ = false;
    SetCaption(form.Caption());
    SetTitleBarVisible(true);

    // A frame that cannot be sized becomes a dialog frame: 3 pixels on
    // every side once the caption is gone.
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(style & WS_THICKFRAME))
        exStyle = (exStyle | WS_EX_DLGMODALFRAME) & ~WS_EX_TOOLWINDOW;
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
    SetWindowLongPtrW(window, GWL_STYLE, style & ~WS_CAPTION);

    hook_ = std::make_unique<TWindowHook>(window, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return FormMessage(message, wParam, lParam);
    });
    if (!Application.HasMessageHooks())
        applicationHook_ = Application.AddMessageHook([this](MSG& msg) { return ApplicationMessage(msg); });
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FormResized();
}

LRESULT TsuiForm::FormMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = form_->Handle();
    if (message == WM_NCPAINT) {
        if (IsIconic(window))
            return hook_->CallPrevious(message, wParam, lParam);
        PaintFrame();
        return 0;
    }
    if (message == WM_NCCALCSIZE && HasDialogFrame())
        return FitClientInFrame(wParam, lParam);
    // -1: the system does not repaint its own frame on activation.
    const LRESULT result = hook_->CallPrevious(message, wParam, message == WM_NCACTIVATE ? -1 : lParam);
    switch (message) {
    case WM_ACTIVATE:
        titleBar_.SetFormActive(LOWORD(wParam) != WA_INACTIVE);
        break;
    case WM_NCACTIVATE:
        PaintFrame();
        break;
    case WM_KEYDOWN:
        if (TryShortCut(static_cast<WORD>(wParam)))
            return 0;
        break;
    case WM_SIZE:
        FormResized();
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        if (HighContrastMessage(message, wParam))
            RedrawAll();
        break;
    }
    return result;
}

// The frame, the form and every control on it drawn anew, in the colours
// of now (the system's, while high contrast is on).
void TsuiForm::RedrawAll()
{
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    PaintFrame();
}

bool TsuiForm::HasDialogFrame() const
{
    HWND window = form_->Handle();
    return !(GetWindowLongPtrW(window, GWL_STYLE) & (WS_THICKFRAME | WS_CAPTION)) && !IsIconic(window);
}

// A dialog frame is as thick as designed at every scale (the system keeps
// it at 3 pixels on some), so the client area lies that far inside.
LRESULT TsuiForm::FitClientInFrame(WPARAM wParam, LPARAM lParam)
{
    RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
    const int frame = Scale().Position(kDesignedFrame);
    client.left += frame;
    client.top += frame;
    client.right = std::max(client.left, client.right - frame);
    client.bottom = std::max(client.top, client.bottom - frame);
    return 0;
}

bool TsuiForm::ApplicationMessage(MSG& msg)
{
    if (!form_ || !form_->Handle())
        return false;
    if (msg.message == WM_SYSCHAR && msg.wParam == VK_SPACE) {
        TForm* main = Application.MainForm() ? Application.MainForm() : form_;
        RECT outer{};
        GetWindowRect(main->Handle(), &outer);
        POINT below{0, titleBar_.Handle() ? titleBar_.Height() : 0};
        if (titleBar_.Handle())
            ClientToScreen(titleBar_.Handle(), &below);
        titleBar_.PopupMenu().Popup(form_->Handle(), outer.left, below.y);
        return true;
    }
    if (msg.message == WM_KEYDOWN)
        return TryShortCut(static_cast<WORD>(msg.wParam));
    return false;
}

bool TsuiForm::TryShortCut(WORD key)
{
    if (!menu_ || !form_ || GetActiveWindow() != form_->Handle())
        return false;
    return menu_->IsShortCut(key, TShiftState::Current());
}

void TsuiForm::FormResized()
{
    HWND window = form_->Handle();
    if (IsIconic(window))
        return;
    if (IsZoomed(window)) {
        // Never the whole screen: the bottom pixel row stays free.
        const RECT area = GetWorkAreaRect();
        RECT now{};
        GetWindowRect(window, &now);
        if (now.left != area.left || now.top != area.top || now.right != area.right ||
            now.bottom != area.bottom - 1)
            SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top - 1,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client{};
    GetClientRect(window, &client);
    SetBounds({0, 0, client.right, client.bottom});
    PaintFrame();
    titleBar_.RefreshMaxButtons();
    ApplyRegion();
    if (createdMaximized_ && !IsZoomed(window)) {
        createdMaximized_ = false;
        SetWindowPos(window, nullptr, createdBounds_.left, createdBounds_.top, createdBounds_.width,
                     createdBounds_.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TsuiForm::ApplyRegion()
{
    if (!form_ || !form_->Handle())
        return;
    RECT outer{};
    GetWindowRect(form_->Handle(), &outer);
    const TsuiRegionShape shape =
        WindowRegionShape(outer.right - outer.left, outer.bottom - outer.top, Scale().Length(roundCorner_));
    const TsuiRect& r = shape.roundRect;
    HRGN region = CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, shape.ellipse, shape.ellipse);
    if (shape.ellipse > 0) {
        for (const TsuiRect& square : {shape.bottomLeft, shape.bottomRight}) {
            TGdiObject part(CreateRectRgn(square.left, square.top, square.right, square.bottom));
            CombineRgn(region, region, static_cast<HRGN>(part.Handle()), RGN_OR);
        }
    }
    // The window owns the region from here on.
    if (!SetWindowRgn(form_->Handle(), region, TRUE))
        DeleteObject(region);
}

int TsuiForm::TitleHeight() const
{
    return titleBarVisible_ && titleBar_.Handle() ? titleBar_.Height() : 0;
}

void TsuiForm::Realign()
{
    if (!Handle())
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    int y = 0;
    if (titleBar_.Handle() && titleBarVisible_) {
        titleBar_.SetBounds({0, 0, client.right, titleBar_.Height()});
        y = titleBar_.Height();
    }
    if (menuBar_) {
        menuBar_->SetBounds({0, y, client.right, MenuBarPixels()});
        y += MenuBarPixels();
    }
    if (formPanel_)
        formPanel_->SetBounds({0, y, client.right, std::max(0, static_cast<int>(client.bottom) - y)});
    PaintFrame();
}

bool TsuiForm::ControlMessage(UINT message, WPARAM, LPARAM, LRESULT&)
{
    if (message == WM_SIZE)
        Realign();
    return false;
}

void TsuiForm::Paint(HDC dc, const RECT& client)
{
    if (backgroundBrush_ && !HighContrastOn()) {
        FillRect(dc, &client, static_cast<HBRUSH>(backgroundBrush_.Handle()));
    } else {
        TGdiObject brush(CreateSolidBrush(DrawnColor(color_, TsuiColorRole::ButtonFace)));
        FillRect(dc, &client, static_cast<HBRUSH>(brush.Handle()));
    }
}

static void FillAll(HDC dc, const std::vector<TsuiRect>& rects, uint32_t color, TsuiColorRole role)
{
    TGdiObject brush(CreateSolidBrush(DrawnColor(color, role)));
    for (const TsuiRect& r : rects) {
        const RECT area{r.left, r.top, r.right, r.bottom};
        FillRect(dc, &area, static_cast<HBRUSH>(brush.Handle()));
    }
}

void TsuiForm::PaintFrame()
{
    if (!form_ || !form_->Handle() || IsIconic(form_->Handle()))
        return;
    HWND window = form_->Handle();
    RECT outer{};
    GetWindowRect(window, &outer);
    const int W = outer.right - outer.left, H = outer.bottom - outer.top;
    const int B = Scale().Length(borderWidth_), F = FrameThickness(window, Scale());
    const int T = TitleHeight();
    TWindowDC dc(window, true);

    // 1. and 2. The border on three sides, the inner band, the menu bar's
    // ends.
    const TsuiFrameFills fills = FrameFills(W, H, B, T, MenuBarShown() ? MenuBarPixels() : 0, F);
    FillAll(dc.Handle(), fills.border, borderColor_, TsuiColorRole::WindowText);
    FillAll(dc.Handle(), fills.face, color_, TsuiColorRole::ButtonFace);
    FillAll(dc.Handle(), fills.menuBar, menuBarColor_, TsuiColorRole::ButtonFace);
    if (T > 0 && B <= F && !HighContrastOn())
        PaintTitleIntoFrame(dc.Handle(), W, B, F);
    if (borderWidth_ == 1 && RoundCornerOutlined(roundCorner_))
        PaintRoundCorners(dc.Handle(), W);
}

// The title pictures continued into the frame.
void TsuiForm::PaintTitleIntoFrame(HDC dc, int W, int B, int F)
{
    if (titleBar_.SectionCount() != 3 || !titleBar_.Section(0).Picture() || !titleBar_.Section(1).Picture() ||
        !titleBar_.Section(2).Picture())
        return;
    HGDIOBJ L = titleBar_.Section(0).Picture().Handle();
    HGDIOBJ R = titleBar_.Section(1).Picture().Handle();
    HGDIOBJ C = titleBar_.Section(2).Picture().Handle();
    const SIZE l = BitmapSize(L), r = BitmapSize(R), c = BitmapSize(C);
    const std::vector<TsuiBlit> strips = TitleStrips(W, B, l.cx, l.cy, r.cx, r.cy, c.cx, c.cy, F);
    const HGDIOBJ pictures[] = {L, R, L, R, C};
    SetStretchBltMode(dc, COLORONCOLOR);
    for (size_t i = 0; i < strips.size() && i < 5; ++i) {
        const TsuiBlit& b = strips[i];
        if (b.target.Width() <= 0 || b.target.Height() <= 0 || b.source.Width() <= 0 || b.source.Height() <= 0)
            continue;
        TMemoryDC source(dc, pictures[i]);
        StretchBlt(dc, b.target.left, b.target.top, b.target.Width(), b.target.Height(), source.Handle(),
                   b.source.left, b.source.top, b.source.Width(), b.source.Height(), SRCCOPY);
    }
}

// The rounded top corners' outline.
void TsuiForm::PaintRoundCorners(HDC dc, int W)
{
    const int R = Scale().Length(roundCorner_), line = Scale().Length(1);
    TGdiObject pen(CreatePen(PS_SOLID, line, ColorToRGB(borderColor_)));
    TSelectObject selected(dc, pen.Handle());
    SetArcDirection(dc, AD_COUNTERCLOCKWISE);
    Arc(dc, W - 2 * R + 1, -1, W + 1, 2 * R - 1, W + 1, R - 1, W - R + 1, -1);
    Arc(dc, -1, -1, 2 * R - 1, 2 * R - 1, R - 1, -1, -1, R - 1);
}

void TsuiForm::Restyle(TsuiRestyle what)
{
    const TsuiUIStyle style = UIStyle();
    const TsuiStyleSource source = StyleSource();
    borderColor_ = source.Color(SUI_THEME::FormBorderColor);
    borderWidth_ = source.Int(SUI_THEME::FormBorderWidthInt);
    color_ = source.Color(SUI_THEME::FormBackgroundColor);
    if (!source.UsesThemeFile()) {
        menuBarColor_ = color_;
    } else if (menuBar_) {
        menuBarColor_ = ThemeFileMenuBarColor(source.Color(SUI_THEME::ControlFontColor), color_);
    }
    SetRoundCorner(source.Int(SUI_THEME::FormRoundCornerInt));

    // The pinstripes of MacOS and Protein's tiles; a plain colour otherwise.
    backgroundBrush_ = TGdiObject();
    const char* tileName = StyleTraits(source.Effective()).formBackgroundTile;
    if (!source.UsesThemeFile() && tileName) {
        TGdiObject tile = LoadSkinPicture(tileName, Scale());
        if (tile)
            backgroundBrush_ = TGdiObject(CreatePatternBrush(static_cast<HBITMAP>(tile.Handle())));
    }

    if (what == TsuiRestyle::Scale && form_ && form_->Handle())
        SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (titleBar_.Handle()) {
        titleBar_.SetScale(Scale());
        titleBar_.SetFileTheme(FileTheme());
        titleBar_.SetUIStyle(style);
    }
    if (menu_) {
        menu_->SetScale(Scale());
        menu_->SetFileTheme(FileTheme());
        menu_->SetUIStyle(style);
    }
    if (menuBar_)
        menuBar_->SetColor(menuBarColor_);
    if (autoUpdateSub_)
        ApplyUIStyleToChildren(*this, style, FileTheme());
    ApplyScaleToChildren(*this, Scale());
    Realign();
    Invalidate();
    PaintFrame();
}

void TsuiForm::FileThemeRemoved()
{
    ApplyUIStyleToChildren(*this, DeepBlue, nullptr);
    TsuiStyled::FileThemeRemoved();
}

void TsuiForm::SetLook(const TsuiFormLook& look)
{
    SetUIStyle(look.style);
    SetUIStyleAutoUpdateSub(look.autoUpdateSub);
    SetBorderColor(look.borderColor);
    SetBorderWidth(look.borderWidth);
    SetColor(look.color);
    SetMenuBarColor(look.menuBarColor);
    SetMenuBarHeight(look.menuBarHeight);
    SetRoundCorner(look.roundCorner);
    SetTitleBarDrawAppIcon(look.drawAppIcon);
    SetTitleBarCustom(look.titleBarCustom);
    SetTitleFont(look.titleFont);
}

void TsuiForm::SetBorderColor(uint32_t value)
{
    borderColor_ = value;
    PaintFrame();
}

void TsuiForm::SetBorderWidth(int value)
{
    borderWidth_ = value;
    PaintFrame();
}

void TsuiForm::SetColor(uint32_t value)
{
    color_ = value;
    Invalidate();
    PaintFrame();
}

void TsuiForm::SetRoundCorner(int value)
{
    roundCorner_ = value;
    titleBar_.SetRoundCorner(value);
    ApplyRegion();
}

void TsuiForm::SetCaption(const std::string& value)
{
    titleBar_.SetCaption(value);
    if (form_)
        form_->SetCaption(value);
}

void TsuiForm::SetTitleBarVisible(bool value)
{
    if (value == titleBarVisible_ && titleBar_.Handle() && titleBar_.Visible() == value)
        return;
    titleBarVisible_ = value;
    if (titleBar_.Handle())
        titleBar_.SetVisible(value);
    Realign();
}

void TsuiForm::SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent handler)
{
    titleBar_.OnCustomBtnsClick = std::move(handler);
}

void TsuiForm::SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent handler)
{
    titleBar_.OnHelpBtnClick = std::move(handler);
}

void TsuiForm::SetMenu(TsuiMainMenu* menu)
{
    menu_ = menu;
    if (!menu_) {
        menuBar_.reset();
    } else {
        if (!menuBar_) {
            menuBar_ = std::make_unique<TsuiMenuBar>();
            menuBar_->Create(*this, {0, TitleHeight(), Width(), MenuBarPixels()});
        }
        menu_->SetFileTheme(FileTheme());
        menu_->SetUIStyle(UIStyle());
        menuBar_->SetMenu(menu_);
        menuBar_->SetColor(menuBarColor_);
    }
    Realign();
}

void TsuiForm::SetMenuBarColor(uint32_t value)
{
    menuBarColor_ = value;
    if (menuBar_)
        menuBar_->SetColor(value);
    PaintFrame();
}

void TsuiForm::SetMenuBarHeight(int value)
{
    menuBarHeight_ = value;
    Realign();
}

void TsuiForm::SetFormPanel(TControl* panel)
{
    if (panel == this) {
        ShowSkinError("Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    formPanel_ = panel;
    if (formPanel_)
        formPanel_->SetText("");
    Realign();
}
