// How the settings window looks where it differs from the skin's MacOS
// style: a flat grey face without rounded corners, and a grey line around
// the window and its fields.
#pragma once

#include <cstdint>

#include "skin/SUIForm.h"

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

} // namespace look
