// The settings window's fixed layout: positions in pixels from the client
// area's corner, on the skinned frame whose title bar lies above the first
// control.
#pragma once

#include "core/Bounds.h"

namespace layout {

constexpr int kClientWidth = 174;
constexpr int kClientHeight = 224;
constexpr int kLeft = 246;
constexpr int kTop = 140;
constexpr int kTallHeight = 230;  // outer height with the slider row
constexpr int kShortHeight = 190; // outer height without it

constexpr TBounds lblPath{0, 24, 79, 18};
constexpr TBounds edPath{0, 42, 137, 19};
constexpr TBounds btnBrowse{144, 37, 25, 25};
constexpr TBounds lblFormat{0, 64, 65, 18};
constexpr TBounds cbType{0, 82, 169, 24};
constexpr TBounds lblFile{0, 112, 52, 18};
constexpr TBounds edFile{56, 112, 113, 19};
constexpr TBounds ckTaskbar{0, 136, 170, 22};
constexpr TBounds chkNotify{0, 160, 170, 22};
constexpr TBounds lblQuality{0, 184, 72, 18};
constexpr TBounds tbQuality{0, 200, 169, 20};

constexpr int kComboItemHeight = 16;

// Trebuchet MS, character heights in pixels: the labels' and the other
// controls' (the form's own font).
constexpr int kLabelFontHeight = 12;
constexpr int kPanelFontHeight = 11;

} // namespace layout
