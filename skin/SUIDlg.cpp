#include "skin/SUIDlg.h"

#include <algorithm>
#include <vector>

#include "core/ScopeExit.h"
#include "skin/SUIDialogLayout.h"
#include "skin/SUIFileTheme.h"
#include "skin/SUIPictures.h"

// --- TsuiDialog ---------------------------------------------------------------

TsuiDialog::TsuiDialog(const TWindow* owner) : owner_(owner)
{
    SetUIStyle(OwnerFormUIStyle(owner));
}

void TsuiDialog::Restyle(TsuiRestyle)
{
    // The MacOS title pictures are light: white text would not show.
    if (StyleTraits(UIStyle()).lightTitle)
        look_.captionFont.color = 0;
}

// --- TsuiMessageDialog ----------------------------------------------------------

TsuiMessageDialog::TsuiMessageDialog(const TWindow* owner) : TsuiDialog(owner) {}

void TsuiMessageDialog::SetButtonCount(int value)
{
    buttonCount_ = std::clamp(value, 1, 3);
}

void TsuiMessageDialog::Build(TfrmMsg& form)
{
    // Laid out at the scale of the monitor the dialog is going to appear on.
    const TDisplayScale scale = form.ScaleWhereShown(Position(), Owner());
    SetScale(scale);
    // The frame first: at the scale it is as thick as designed.
    form.suiForm1.SetScale(scale);
    form.SetMessageFont(Font(), scale);
    const bool picture = iconType_ != TsuiIconType::suiNone;
    const TsuiDialogLayout at = MessageDialogLayout(0, picture, buttonCount_, 0, scale);
    form.PlaceMessage({at.textLeft, at.textTop, at.textWidth, scale.Length(13)});
    form.lbl.SetText(text_);

    const TBounds outer = form.BoundsRect();
    const int windowWidth = scale.Position(kDialogClientWidth) + outer.width - form.ClientWidth();
    const TsuiDialogLayout layout = MessageDialogLayout(form.lbl.Height(), picture, buttonCount_, windowWidth, scale);
    if (picture) {
        form.Image1.SetBounds({layout.pictureLeft, layout.pictureTop, scale.Length(kDialogPictureSize),
                               scale.Length(kDialogPictureSize)});
        const TGdiObject strip = LoadSkinPicture("MSGDLG", scale);
        if (strip)
            form.Image1.SetPicture(CutFrame(strip.Handle(), 4, static_cast<int>(iconType_)));
    } else {
        form.Image1.SetVisible(false);
    }
    SetWindowPos(form.Handle(), nullptr, 0, 0, layout.windowWidth, outer.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AddButtons(form, layout);

    const TBounds wide = form.BoundsRect();
    SetWindowPos(form.Handle(), nullptr, 0, 0, wide.width, layout.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window is placed where it is, not made again: the frame's hook,
    // set once when the frame took the window over, stays on the window
    // that is shown.
    form.ApplyPosition(Position(), Owner());

    form.suiForm1.SetCaption(Caption());
    form.suiForm1.SetUIStyle(UIStyle());
    form.suiForm1.SetFileTheme(FileTheme());
    form.suiForm1.SetTitleFont(CaptionFont());
}

void TsuiMessageDialog::AddButtons(TfrmMsg& form, const TsuiDialogLayout& layout)
{
    std::vector<TsuiButton*> byNumber(4, nullptr);
    for (const TsuiDialogButtonPlace& place : layout.buttons) {
        TsuiButton& button =
            form.AddButton({place.left, place.top, layout.buttonWidth, layout.buttonHeight}, cursor_);
        button.SetScale(Scale());
        button.SetTabStop(true);
        button.SetCaption(captions_[place.number - 1]);
        const int result = results_[place.number - 1];
        button.SetModalResult(result);
        form.SetActiveControl(&button);
        // A lone button is the only way out, so Escape takes it as a
        // message box's OK does.
        button.SetCancel(result == mrCancel || buttonCount_ == 1);
        button.SetDefault(result == mrOk);
        byNumber[place.number] = &button;
    }
    std::vector<TControl*> tabOrder;
    for (int number : layout.tabSequence)
        tabOrder.push_back(byNumber[number]);
    SetTabOrder(tabOrder);
}

int TsuiMessageDialog::ShowModal()
{
    TfrmMsg form;
    const TScopeExit running([this] { window_ = nullptr; });
    window_ = &form;
    Build(form);
    return form.RunModal();
}
