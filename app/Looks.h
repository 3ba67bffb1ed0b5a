// How the program's windows look where they differ from the skin's own
// styles: the settings window in MacOS with a flat grey face, no rounded
// corners and a grey line around the window and its fields; the message
// boxes in Trebuchet MS. Each control's look is its style's with only
// these values changed.
#pragma once

#include <cstdint>

#include "skin/SUIButton.h"
#include "skin/SUIComboBox.h"
#include "skin/SUIDlg.h"
#include "skin/SUIEdit.h"
#include "skin/SUIForm.h"
#include "skin/SUITrackBar.h"

namespace look {

constexpr uint32_t kPanelGrey = 0xE7E7E7;
constexpr uint32_t kPanelLine = 0x7F7F7F;

inline const TsuiFormLook kPanelFrame{.style = MacOS,
                                      .borderColor = kPanelLine,
                                      .borderWidth = 1,
                                      .color = kPanelGrey,
                                      .menuBarColor = kPanelGrey,
                                      .menuBarHeight = 22,
                                      .roundCorner = 0,
                                      .titleFont = {"Tahoma", -11, true, 0}};

// The panel's controls: each takes its style's look and changes only this.
inline TsuiEditLook PanelEdit(TsuiEditLook look)
{
    look.borderColor = kPanelLine;
    return look;
}

inline TsuiComboBoxLook PanelComboBox(TsuiComboBoxLook look)
{
    look.borderColor = kPanelLine;
    look.arrowColor = 0;
    look.buttonColor = kPanelGrey;
    return look;
}

// On the frame's face, not a box of their own.
inline TsuiCheckBoxLook PanelCheckBox(TsuiCheckBoxLook look)
{
    look.transparent = true;
    return look;
}

inline TsuiTrackBarLook PanelSlider(TsuiTrackBarLook look)
{
    look.showTick = false;
    return look;
}

// The hotkey notice's text in Trebuchet MS, 9 points.
inline TsuiDialogLook NoticeDialog(TsuiDialogLook look)
{
    look.font.name = "Trebuchet MS";
    look.font.height = -12;
    return look;
}

// The About box: its caption in Trebuchet MS too.
inline TsuiDialogLook AboutDialog(TsuiDialogLook look)
{
    look = NoticeDialog(look);
    look.captionFont.name = "Trebuchet MS";
    return look;
}

} // namespace look
