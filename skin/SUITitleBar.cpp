#include "skin/SUITitleBar.h"

#include "core/Unicode.h"
#include "framework/Accessible.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/WindowIcons.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPictures.h"

// The frames of each button type in the style's strip of 18 pictures:
// normal, mouse on, pressed.
static int FirstFrame(TsuiTitleBarBtnType type, bool maximized)
{
    switch (type) {
    case suiControlBox:
        return 1;
    case suiHelp:
        return 4;
    case suiMax:
        return maximized ? 10 : 7;
    case suiMin:
        return 13;
    case suiClose:
        return 16;
    default:
        return 0;
    }
}

static constexpr int kButtonFrames = 18;

void TsuiTitleBarButton::SetVisible(bool value)
{
    visible_ = value;
    bar_.Repaint();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType value)
{
    if (value == suiControlBox && buttonType_ != suiControlBox)
        for (int i = 0; i < bar_.ButtonCount(); ++i)
            if (&bar_.Button(i) != this && bar_.Button(i).ButtonType() == suiControlBox) {
                ShowSkinError("Sorry, only one button's ButtonType property can be \"suiControlBox\"");
                return;
            }
    buttonType_ = value;
    SetUIStyle(uiStyle_, theme_);
    bar_.Repaint();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle style, TsuiFileTheme* theme)
{
    uiStyle_ = style;
    theme_ = theme;
    const int first = FirstFrame(buttonType_, bar_.FormMaximized());
    if (first == 0)
        return;
    const TsuiStyleSource source(theme, style, bar_.Scale());
    transparent_ = source.Bool(SUI_THEME::TitleBarButtonTransparentBool);
    top_ = source.Int(SUI_THEME::TitleBarButtonTopInt);
    PicNormal = source.ImageFrame(SUI_THEME::TitleBarButtonImage, kButtonFrames, first);
    PicMouseOn = source.ImageFrame(SUI_THEME::TitleBarButtonImage, kButtonFrames, first + 1);
    PicMouseDown = source.ImageFrame(SUI_THEME::TitleBarButtonImage, kButtonFrames, first + 2);
}

void TsuiTitleBarSection::SetWidth(int value)
{
    width_ = value;
    bar_.Repaint();
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign value)
{
    if (value == suiClient && align_ != suiClient)
        for (int i = 0; i < bar_.SectionCount(); ++i)
            if (&bar_.Section(i) != this && bar_.Section(i).Align() == suiClient) {
                ShowSkinError("Sorry, only one section's Align property can be \"suiClient\"");
                return;
            }
    align_ = value;
    bar_.Repaint();
}

void TsuiTitleBarSection::SetPicture(TGdiObject picture)
{
    picture_ = std::move(picture);
    SetAutoSize(autoSize_);
}

void TsuiTitleBarSection::SetAutoSize(bool value)
{
    autoSize_ = value;
    if (autoSize_ && picture_)
        width_ = BitmapSize(picture_.Handle()).cx;
    bar_.Repaint();
}

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar& bar) : bar_(bar)
{
    Add("Mi&nimize", [this] { bar_.Minimize(); });
    Add("Ma&ximize/Restore", [this] {
        for (int i = 0; i < bar_.ButtonCount(); ++i)
            if (bar_.Button(i).ButtonType() == suiMax)
                bar_.ToggleMaximized();
    });
    Add("-");
    Add("&Close", [this] { bar_.CloseForm(); });
    // Hidden buttons count too: the menu offers what the bar was given.
    OnPopup = [this] {
        auto has = [this](TsuiTitleBarBtnType type) {
            for (int i = 0; i < bar_.ButtonCount(); ++i)
                if (bar_.Button(i).ButtonType() == type)
                    return true;
            return false;
        };
        Item(0).SetEnabled(has(suiMin));
        Item(1).SetEnabled(has(suiMax));
        Item(3).SetEnabled(has(suiClose));
    };
}

TsuiTitleBar::TsuiTitleBar() : popup_(*this)
{
    font_ = MakeFont(titleFont_);
}

TsuiTitleBar::~TsuiTitleBar()
{
    DestroyHandle();
}

void TsuiTitleBar::Create(TWindow& parent, bool framed)
{
    framed_ = framed;
    RECT client{};
    GetClientRect(parent.Handle(), &client);
    CreateCustom(parent, L"TsuiTitleBar", {0, 0, client.right, 21}, "");
    AddButton().SetButtonType(suiControlBox);
    AddButton().SetButtonType(suiClose);
    AddButton().SetButtonType(suiMax);
    AddButton().SetButtonType(suiMin);
    SetUIStyle(DeepBlue);
}

TForm* TitleBarForm(const TsuiTitleBar& bar)
{
    return bar.Handle() ? TForm::FormOf(bar.Handle()) : nullptr;
}

int TsuiTitleBar::FrameInset() const
{
    if (!framed_)
        return 0;
    TForm* form = TitleBarForm(*this);
    return FrameThickness(form ? form->Handle() : nullptr, Scale());
}

HICON TsuiTitleBar::AppIcon(int size)
{
    if (size != loadedIconSize_) {
        loadedIcon_ = LoadProgramIcon(size);
        loadedIconSize_ = size;
    }
    return loadedIcon_.Handle();
}

int TsuiTitleBar::ButtonTop() const
{
    return Scale().Position(buttonTop_) - FrameInset();
}

void TsuiTitleBar::Restyle(TsuiRestyle what)
{
    if (custom_)
        return;
    const TsuiStyleSource source = StyleSource();
    ClearSections();
    TsuiTitleBarSection& left = AddSection();
    left.SetPicture(source.Image(SUI_THEME::TitleBarLeftImage));
    left.SetAutoSize(true);
    TsuiTitleBarSection& right = AddSection();
    right.SetPicture(source.Image(SUI_THEME::TitleBarRightImage));
    right.SetAutoSize(true);
    right.SetAlign(suiRight);
    TsuiTitleBarSection& middle = AddSection();
    middle.SetPicture(source.Image(SUI_THEME::TitleBarClientImage));
    middle.SetAlign(suiClient);

    leftBtnXOffset_ = source.Int(SUI_THEME::TitleBarButtonLeftOffsetInt);
    rightBtnXOffset_ = source.Int(SUI_THEME::TitleBarButtonRightOffsetInt);
    const TGdiObject buttonStrip = source.Image(SUI_THEME::TitleBarButtonImage);
    buttonPicHeight_ = buttonStrip ? BitmapSize(buttonStrip.Handle()).cy : 0;
    buttonTop_ = source.Int(SUI_THEME::TitleBarButtonTopInt);
    if (TForm* form = TitleBarForm(*this))
        form->SetMinWidth(Scale().Position(source.Int(SUI_THEME::FormMinWidthInt)));
    roundCorner_ = source.Int(SUI_THEME::FormRoundCornerInt);

    for (auto& button : buttons_)
        button->SetUIStyle(UIStyle(), FileTheme());
    popup_.SetScale(Scale());
    popup_.SetFileTheme(FileTheme());
    popup_.SetUIStyle(UIStyle());

    // A new theme file keeps the title font's colour; a new style sets it.
    if (what == TsuiRestyle::Style) {
        const bool black = source.UsesThemeFile()
                               ? ThemeFileTitleIsLight(source.Color(SUI_THEME::ControlFontColor))
                               : StyleTraits(source.Effective()).lightTitle;
        TsuiFont font = titleFont_;
        font.color = black ? 0 : 0xFFFFFF;
        SetTitleFont(font);
    }
    if (what == TsuiRestyle::Scale)
        font_ = MakeFont(titleFont_, Scale());
    SetAutoSize(true);
    Repaint();
}

void TsuiTitleBar::SetAutoSize(bool value)
{
    autoSize_ = value;
    if (!autoSize_ || sections_.empty() || !sections_[0]->Picture())
        return;
    SetHeightTo(BitmapSize(sections_[0]->Picture().Handle()).cy - FrameInset());
}

void TsuiTitleBar::SetHeightTo(int height)
{
    if (!Handle() || height == Height())
        return;
    TBounds bounds = Bounds();
    bounds.height = height;
    SetBounds(bounds);
    if (OnResize)
        OnResize();
}

void TsuiTitleBar::SetButtonInterval(int value)
{
    buttonInterval_ = value;
    Repaint();
}

void TsuiTitleBar::SetCaption(const std::string& value)
{
    caption_ = value;
    Repaint();
    NotifyAccessible(Handle(), EVENT_OBJECT_NAMECHANGE);
}

void TsuiTitleBar::SetTitleFont(const TsuiFont& font)
{
    if (!(font == titleFont_) || !font_) {
        titleFont_ = font;
        font_ = MakeFont(titleFont_, Scale());
    }
    Repaint();
}

void TsuiTitleBar::SetFormActive(bool value)
{
    formActive_ = value;
    Repaint();
}

void TsuiTitleBar::SetLeftBtnXOffset(int value)
{
    leftBtnXOffset_ = value;
    Repaint();
}

void TsuiTitleBar::SetRightBtnXOffset(int value)
{
    rightBtnXOffset_ = value;
    Repaint();
}

void TsuiTitleBar::SetDrawAppIcon(bool value)
{
    drawAppIcon_ = value;
    Repaint();
}

TsuiTitleBarButton& TsuiTitleBar::AddButton()
{
    buttons_.push_back(std::make_unique<TsuiTitleBarButton>(*this));
    buttons_.back()->SetUIStyle(UIStyle(), FileTheme());
    Repaint();
    return *buttons_.back();
}

void TsuiTitleBar::ClearButtons()
{
    buttons_.clear();
    Repaint();
}

TsuiTitleBarSection& TsuiTitleBar::AddSection()
{
    sections_.push_back(std::make_unique<TsuiTitleBarSection>(*this));
    return *sections_.back();
}

void TsuiTitleBar::ClearSections()
{
    sections_.clear();
    Repaint();
}

void TsuiTitleBar::Repaint()
{
    Invalidate();
}

bool TsuiTitleBar::FormMaximized() const
{
    TForm* form = TitleBarForm(*this);
    return form && IsZoomed(form->Handle());
}

const TsuiTitleBarButton* TsuiTitleBar::ControlBox() const
{
    for (auto& button : buttons_)
        if (button->Visible() && button->ButtonType() == suiControlBox)
            return button.get();
    return nullptr;
}

TsuiTitleLayout TsuiTitleBar::Layout() const
{
    std::vector<TsuiTitleButtonShape> shapes;
    for (auto& button : buttons_) {
        const SIZE size = button->PicNormal ? BitmapSize(button->PicNormal.Handle()) : SIZE{0, 0};
        shapes.push_back({button->Visible(), button->ButtonType() == suiControlBox, size.cx, size.cy});
    }
    RECT client{};
    if (Handle())
        GetClientRect(Handle(), &client);
    const TDisplayScale& scale = Scale();
    return LayoutTitleBar(client.right, ButtonTop(), scale.Position(leftBtnXOffset_),
                          scale.Position(rightBtnXOffset_), scale.Length(buttonInterval_), drawAppIcon_, shapes, scale);
}

int TsuiTitleBar::HitButton(POINT p) const
{
    const TsuiTitleLayout layout = Layout();
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const TsuiRect& r = layout.buttons[i];
        if (r.Width() > 0 && PointInRect(p, RECT{r.left, r.top, r.right, r.bottom}))
            return static_cast<int>(i);
    }
    return -1;
}

static void FillSolid(HDC dc, const RECT& area, COLORREF color)
{
    TGdiObject brush(CreateSolidBrush(color));
    FillRect(dc, &area, static_cast<HBRUSH>(brush.Handle()));
}

static void DrawIfAny(HDC dc, const TGdiObject& picture, int x, int y, bool transparent)
{
    if (picture)
        DrawBitmap(dc, picture.Handle(), x, y, transparent);
}

void TsuiTitleBar::Paint(HDC dc, const RECT& client)
{
    SetBkMode(dc, TRANSPARENT);
    // 1. The sections: left, right, and the middle stretched between.
    const int dx = -FrameInset(), dy = -FrameInset();
    const HGDIOBJ left = sections_.size() > 0 ? sections_[0]->Picture().Handle() : nullptr;
    const HGDIOBJ right = sections_.size() > 1 ? sections_[1]->Picture().Handle() : nullptr;
    const HGDIOBJ middle = sections_.size() > 2 ? sections_[2]->Picture().Handle() : nullptr;
    const int leftWidth = left ? BitmapSize(left).cx : 0;
    const int rightX = client.right - (right ? BitmapSize(right).cx : 0) - dx;
    const bool highContrast = HighContrastOn();
    // In high contrast the caption sits on the system's colour, not on
    // the pictures.
    if (highContrast)
        FillSolid(dc, client, SystemColor(formActive_ ? TsuiColorRole::Highlight : TsuiColorRole::ButtonFace));
    if (left && !highContrast)
        DrawBitmap(dc, left, dx, dy);
    if (right && !highContrast)
        DrawBitmap(dc, right, rightX, dy);
    if (middle && !highContrast)
        StretchBitmap(dc, middle, RECT{dx + leftWidth, dy, rightX, dy + BitmapSize(middle).cy});

    // 2. and 3. The buttons, with the one under the pointer lit.
    hotButton_ = -1;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Handle(), &cursor);
    const TsuiTitleLayout layout = Layout();
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TsuiTitleBarButton& button = *buttons_[i];
        const TsuiRect& r = layout.buttons[i];
        if (r.Width() <= 0)
            continue;
        if (button.ButtonType() == suiControlBox && drawAppIcon_) {
            if (HICON icon = AppIcon(r.Width()))
                DrawIconEx(dc, r.left, r.top, icon, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
            continue;
        }
        // Lit under the pointer, pressed while held there; while one
        // button is held the others stay as they are.
        const TGdiObject* picture = &button.PicNormal;
        const int index = static_cast<int>(i);
        if (PointInRect(cursor, RECT{r.left, r.top, r.right, r.bottom})) {
            hotButton_ = index;
            if (pressedButton_ == index)
                picture = &button.PicMouseDown;
            else if (pressedButton_ < 0)
                picture = &button.PicMouseOn;
        }
        DrawIfAny(dc, *picture, r.left, r.top, button.Transparent());
    }

    // 4. The caption, shortened to its room.
    TSelectObject font(dc, font_ ? font_.Handle() : GetStockObject(DEFAULT_GUI_FONT));
    if (highContrast)
        SetTextColor(dc, SystemColor(formActive_ ? TsuiColorRole::HighlightText : TsuiColorRole::ButtonText));
    else
        SetTextColor(dc, formActive_ ? ColorToRGB(titleFont_.color) : GetSysColor(COLOR_INACTIVECAPTION));
    auto width = [dc](const std::string& text) {
        const std::wstring wide = Utf8ToWide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::wstring shown = Utf8ToWide(ShortenCaption(caption_, layout.captionRoom, width));
    SIZE text{};
    GetTextExtentPoint32W(dc, L"W", 1, &text);
    TextOutW(dc, layout.captionLeft, ButtonTop() + (buttonPicHeight_ - text.cy) / 2, shown.c_str(),
             static_cast<int>(shown.size()));
}

void TsuiTitleBar::MouseLeave()
{
    Repaint();
}

void TsuiTitleBar::Minimize()
{
    TForm* form = TitleBarForm(*this);
    if (!form)
        return;
    if (form == Application.MainForm())
        SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else
        ShowWindow(form->Handle(), SW_MINIMIZE);
}

void TsuiTitleBar::ToggleMaximized()
{
    TForm* form = TitleBarForm(*this);
    if (!form)
        return;
    if (IsZoomed(form->Handle())) {
        ShowWindow(form->Handle(), SW_RESTORE);
    } else {
        ShowWindow(form->Handle(), SW_MAXIMIZE);
        // A skinned frame keeps the bottom pixel row free itself; a plain
        // form is given the same bounds here.
        if (!framed_) {
            const RECT area = GetWorkAreaRect();
            SetWindowPos(form->Handle(), nullptr, area.left, area.top, area.right - area.left,
                         area.bottom - area.top - 1, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RefreshMaxButtons();
}

void TsuiTitleBar::RefreshMaxButtons()
{
    for (auto& button : buttons_)
        if (button->ButtonType() == suiMax)
            button->SetUIStyle(button->UIStyle(), button->theme_);
    Repaint();
}

void TsuiTitleBar::CloseForm()
{
    if (TForm* form = TitleBarForm(*this))
        form->Close();
}

void TsuiTitleBar::PopupAtBottomLeft(TPopupMenu& menu)
{
    POINT corner{0, Height()};
    ClientToScreen(Handle(), &corner);
    TForm* form = TitleBarForm(*this);
    menu.Popup(form ? form->Handle() : Handle(), corner.x, corner.y);
}

void TsuiTitleBar::ButtonUp(int index)
{
    TsuiTitleBarButton& button = *buttons_[index];
    switch (button.ButtonType()) {
    case suiControlBox:
        PopupAtBottomLeft(button.ControlBoxMenu() ? *button.ControlBoxMenu() : popup_);
        break;
    case suiMax:
        ToggleMaximized();
        break;
    case suiMin:
        Minimize();
        break;
    case suiClose:
        CloseForm();
        break;
    case suiCustom:
        if (OnCustomBtnsClick)
            OnCustomBtnsClick(*this, index);
        break;
    case suiHelp:
        if (OnHelpBtnClick)
            OnHelpBtnClick(*this, index);
        break;
    }
}

bool TsuiTitleBar::MouseDown(POINT at, bool doubleClick)
{
    if (doubleClick) {
        DoubleClick(at);
        return true;
    }
    const int hit = HitButton(at);
    TForm* form = TitleBarForm(*this);
    if (hit >= 0) {
        // Held like a standard button: the bar sees the pointer wherever it
        // goes until the button goes up.
        pressedButton_ = hit;
        SetCapture(Handle());
        Repaint();
    } else if (form && !FormMaximized()) {
        // The system's move loop, as if the form's caption was pressed.
        ReleaseCapture();
        POINT screen = at;
        ClientToScreen(Handle(), &screen);
        SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
    }
    return true;
}

// On the bar: maximise or restore, when it has that button; on the control
// box: close.
void TsuiTitleBar::DoubleClick(POINT at)
{
    const int hit = HitButton(at);
    if (hit < 0) {
        for (auto& button : buttons_)
            if (button->ButtonType() == suiMax) {
                ToggleMaximized();
                break;
            }
    } else if (buttons_[hit]->ButtonType() == suiControlBox) {
        CloseForm();
    }
}

bool TsuiTitleBar::MouseUp(POINT at)
{
    const int pressed = pressedButton_;
    const bool onIt = pressed >= 0 && HitButton(at) == pressed;
    if (GetCapture() == Handle())
        ReleaseCapture(); // its WM_CAPTURECHANGED lets go of the button
    pressedButton_ = -1;
    Repaint();
    if (onIt)
        ButtonUp(pressed);
    return true;
}

bool TsuiTitleBar::MouseMove(POINT)
{
    Repaint();
    return false;
}

void TsuiTitleBar::CaptureLost()
{
    // Taken away (a menu, another window): nothing stays held.
    pressedButton_ = -1;
    Repaint();
}

bool TsuiTitleBar::ControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        if (TForm* form = TitleBarForm(*this))
            result = SendMessageW(form->Handle(), message, wParam, lParam);
        return true;
    }
    return false;
}
