// The main window at the display scale of its monitor: the panel's designed
// places, fonts and heights multiplied by the one scaling rule, at start and
// whenever the window moves to a monitor of another scale.
#include "app/PanelLayout.h"
#include "app/fMain.h"

// The frame beside the client area at the design scale.
constexpr int kDesignedFrame = 3;
// The height animation's step at the design scale.
constexpr int kDesignedHeightStep = 5;

int TfmMain::OuterWidth() const
{
    return scale_.Position(layout::kClientWidth + 2 * kDesignedFrame);
}

int TfmMain::OuterHeight(int designedOuter) const
{
    return scale_.Position(designedOuter);
}

void TfmMain::AnimateToHeight(int designedOuter)
{
    designedHeight_ = designedOuter;
    SetHeightStep(scale_.Length(kDesignedHeightStep));
    AnimateHeight(OuterHeight(designedOuter));
}

void TfmMain::ApplyScale(const TDisplayScale& scale)
{
    scale_ = scale;
    panel_.ApplyScale(scale);
    sknForm.SetScale(scale);
    SetWindowPos(Handle(), nullptr, 0, 0, OuterWidth(), OuterHeight(designedHeight_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // An animation under way turns to the new height.
    AnimateHeight(OuterHeight(designedHeight_));
}

// Laid out again at the new scale without showing the steps, then put where
// the system suggests.
void TfmMain::DpiChanged(int dpi, const RECT& suggested)
{
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    ApplyScale(TDisplayScale(dpi));
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, OuterWidth(), OuterHeight(designedHeight_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
