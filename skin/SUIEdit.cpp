#include "skin/SUIEdit.h"

#include "skin/SUIColors.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIHighContrast.h"
#include "skin/SUIPictures.h"

// The frame takes two pixels on every side, outside the client area, so that
// neither the text nor the caret ever lies under it.
static const int kFrameWidth = 2;

TsuiEdit::~TsuiEdit()
{
    DestroyHandle();
}

void TsuiEdit::Create(TWindow& parent, const TBounds& bounds, const std::string& text, bool readOnly, HFONT font)
{
    background_ = TGdiObject(CreateSolidBrush(ColorToRGB(look_.color)));
    CreateControl(parent, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), bounds, text, font);
    // The window was measured before it was bound to this object: again,
    // now with the frame's room.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetUIStyle(OwnerFormUIStyle(OwnerForm()));
}

void TsuiEdit::Restyle(TsuiRestyle what)
{
    if (what == TsuiRestyle::Scale && Handle())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetBorderColor(StyleSource().Color(SUI_THEME::ControlBorderColor));
}

void TsuiEdit::SetLook(const TsuiEditLook& look)
{
    SetColor(look.color);
    SetBorderColor(look.borderColor);
}

void TsuiEdit::SetBorderColor(uint32_t value)
{
    look_.borderColor = value;
    RedrawFrame();
}

void TsuiEdit::SetColor(uint32_t value)
{
    TGdiObject brush(CreateSolidBrush(ColorToRGB(value)));
    if (!brush)
        throw EOutOfResources("Cannot create the edit's background brush");
    look_.color = value;
    background_ = std::move(brush);
    if (Handle())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

bool TsuiEdit::ReadOnly() const
{
    return (GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0;
}

void TsuiEdit::SetReadOnly(bool value)
{
    SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TsuiEdit::DrawFrame() const
{
    FrameWindowBorder(Handle(), DrawnSkinColor(look_.borderColor, TsuiColorRole::WindowText),
                      DrawnSkinColor(look_.color, TsuiColorRole::Window), true, Scale().Length(1));
}

void TsuiEdit::RedrawFrame() const
{
    if (Handle())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

LRESULT TsuiEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        const int frame = Scale().Length(kFrameWidth);
        InflateRect(&client, -frame, -frame);
        if (client.right < client.left)
            client.right = client.left;
        if (client.bottom < client.top)
            client.bottom = client.top;
        return result;
    }
    case WM_NCPAINT:
    case WM_PAINT: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        DrawFrame();
        return result;
    }
    case WM_SETTEXT: {
        // The edit reports the change of a text set from the program as if
        // typed: OnChange is for the user's edits only.
        settingText_ = true;
        LRESULT result = DefaultProc(message, wParam, lParam);
        settingText_ = false;
        return result;
    }
    }
    return DefaultProc(message, wParam, lParam);
}

bool TsuiEdit::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != EN_CHANGE)
            return false;
        if (!settingText_ && OnChange)
            OnChange();
        result = 0;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // Read-only and disabled edits ask with CTLCOLORSTATIC: the same
        // background for all; the edit greys a disabled text itself.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, DrawnColor(look_.color, TsuiColorRole::Window));
        result = reinterpret_cast<LRESULT>(HighContrastOn() ? GetSysColorBrush(COLOR_WINDOW) : background_.Handle());
        return true;
    }
    }
    return false;
}
