// The ink of a text mark and of a step mark's number: the system draws the
// letters smooth (grey anti-aliasing, which Windows and Wine both do for
// text drawn into a bitmap), white on black, and the brightness of each
// pixel becomes the share of ink in it. The mark-up then blends that ink in
// the mark's colour like any other mark, so text looks the same on every
// system and is saved exactly as it is shown.
#pragma once

#include <string>

#include "app/MarkupMarks.h"

// The font heights, in pixels, for a stroke of `width` pixels: text and
// step numbers grow with the width.
int TextFontHeight(int width);
int StepFontHeight(int width);

// The letters of text (lines split at '\n') with their top-left corner at
// topLeft; empty coverage for empty text.
TCoverage TextInk(const std::wstring& text, int fontHeight, TScreenPoint topLeft);

// The text in bold, centred on centre (a step mark's number).
TCoverage CentredInk(const std::wstring& text, int fontHeight, TScreenPoint centre);

// Where the caret goes after the text: its top and height, its left edge.
TScreenRect CaretAfter(const std::wstring& text, int fontHeight, TScreenPoint topLeft, int caretWidth);
