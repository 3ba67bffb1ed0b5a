// Arithmetic of the skinned message dialog: where its message and buttons
// go, how large its window becomes, the buttons' tab sequence, and the text
// Ctrl+C copies.
#pragma once

#include <string>
#include <vector>

#include "core/DisplayScale.h"

// The designed places of the dialog form (TfrmMsg), in the frame's client
// coordinates, and its client area.
constexpr int kDialogClientWidth = 336;
constexpr int kDialogClientHeight = 130;
constexpr int kDialogMessageTop = 64;
constexpr int kDialogMessageLeftBesidePicture = 88;
constexpr int kDialogMessageLeftAlone = 24;
constexpr int kDialogMessageWidth = 225;
constexpr int kDialogPictureLeft = 24;
constexpr int kDialogPictureSize = 40; // before the picture is loaded
constexpr int kDialogPictureFrame = 42; // a frame of the picture strip
constexpr int kDialogButtonWidth = 73;
constexpr int kDialogButtonHeight = 25;
// Without a picture and with fewer than three buttons the window is this
// much narrower.
constexpr int kDialogNarrowing = 64;

struct TsuiDialogButtonPlace {
    int number; // 1 to 3: which of Button1..3 it is
    int left;
    int top;
};

struct TsuiDialogLayout {
    int textLeft;
    int textTop;
    int textWidth; // the message wraps at this width
    int pictureLeft;
    int pictureTop;
    int pictureSize; // the picture's frame
    int buttonWidth;
    int buttonHeight;
    int windowWidth;
    int windowHeight;
    int bottom; // B: the lower of the message's and the picture's bottoms
    // In the order the buttons are created: the highest-numbered first,
    // at the right.
    std::vector<TsuiDialogButtonPlace> buttons;
    // Button numbers in the order Tab reaches them.
    std::vector<int> tabSequence;
};

// textHeight: the message's height wrapped at its width; windowWidth: the
// dialog window's outer width as built (the designed client area at the
// scale and the system's frame). buttonCount is kept within 1..3. At a
// display scale every designed place and distance is scaled (places from
// the left or top by Position, sizes and distances from an edge by Length);
// textHeight and windowWidth are pixels at that scale already.
TsuiDialogLayout MessageDialogLayout(int textHeight, bool hasPicture, int buttonCount, int windowWidth,
                                     const TDisplayScale& scale = {});

// The dialog as plain text: caption, message and the button captions (in
// creation order) between lines of hyphens, lines ending in CR LF except the
// last.
std::string MessageDialogCopyText(const std::string& caption, const std::string& message,
                                  const std::vector<std::string>& buttonCaptions);
