// The main window at the display scale of its monitor: the panel's designed
// places, fonts and heights multiplied by the one scaling rule, at start and
// whenever the window moves to a monitor of another scale.
#include "app/fMain.h"
#include "app/fMainLayout.h"

#include <array>

namespace {

// The frame beside the client area at the design scale.
constexpr int kDesignedFrame = 3;
// The height animation's step at the design scale.
constexpr int kDesignedHeightStep = 5;

struct TPlacedControl {
    TControl* control;
    TBounds designed;
};

} // namespace

void TfmMain::PlaceControls()
{
    const std::array<TPlacedControl, 10> places{{
        {&lblPath, layout::lblPath},
        {&edPath, layout::edPath},
        {&btnBrowse, layout::btnBrowse},
        {&lblFormat, layout::lblFormat},
        {&lblFile, layout::lblFile},
        {&edFile, layout::edFile},
        {&ckTaskbar, layout::ckTaskbar},
        {&chkNotify, layout::chkNotify},
        {&lblQuality, layout::lblQuality},
        {&tbQuality, layout::tbQuality},
    }};
    for (const TPlacedControl& place : places)
        place.control->SetBounds(scale_.Bounds(place.designed));
    // A combo box's window holds its list too.
    cbType.Place(scale_.Bounds(layout::cbType), scale_.Length(layout::kComboItemHeight));
}

// New fonts are handed to the controls before the old ones go.
void TfmMain::MakeFonts()
{
    auto make = [this](int designedHeight) {
        return TGdiObject(CreateFontW(scale_.FontHeight(designedHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, L"Trebuchet MS"));
    };
    TGdiObject label = make(-layout::kLabelFontHeight);
    TGdiObject panel = make(-layout::kPanelFontHeight);
    for (TControl* control : std::array<TControl*, 5>{&lblPath, &lblFormat, &lblFile, &edFile, &lblQuality})
        control->SetFont(static_cast<HFONT>(label.Handle()));
    for (TControl* control : std::array<TControl*, 5>{&edPath, &btnBrowse, &cbType, &ckTaskbar, &chkNotify})
        control->SetFont(static_cast<HFONT>(panel.Handle()));
    labelFont_ = std::move(label);
    panelFont_ = std::move(panel);
}

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
    // Placed first: labels and check boxes then fit their new fonts and
    // pictures from their corner.
    PlaceControls();
    MakeFonts();
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
