#include "skin/SUIDialogLayout.h"

#include <algorithm>

TsuiDialogLayout MessageDialogLayout(int textHeight, bool hasPicture, int buttonCount, int windowWidth,
                                     const TDisplayScale& scale)
{
    const int count = std::clamp(buttonCount, 1, 3);
    TsuiDialogLayout layout{};
    layout.textTop = scale.Position(kDialogMessageTop);
    layout.textLeft = scale.Position(hasPicture ? kDialogMessageLeftBesidePicture : kDialogMessageLeftAlone);
    layout.textWidth = scale.Length(kDialogMessageWidth);
    layout.pictureLeft = scale.Position(kDialogPictureLeft);
    layout.pictureTop = layout.textTop;
    layout.pictureSize = scale.Length(kDialogPictureFrame);
    layout.buttonWidth = scale.Length(kDialogButtonWidth);
    layout.buttonHeight = scale.Length(kDialogButtonHeight);
    // The picture still has its designed size when B is measured.
    layout.bottom =
        std::max(layout.textTop + textHeight, scale.Position(kDialogMessageTop + kDialogPictureSize));
    layout.windowWidth = !hasPicture && count < 3 ? windowWidth - scale.Length(kDialogNarrowing) : windowWidth;
    // 20 pixels above the buttons, 25 of button, 20 below.
    layout.windowHeight = layout.bottom + scale.Length(65);

    int x = layout.windowWidth - scale.Length(97);
    for (int number = count; number >= 1; --number) {
        layout.buttons.push_back({number, x, layout.bottom + scale.Length(20)});
        x -= scale.Length(93);
    }
    // Each new button takes tab position 1 (the first one 0, as there is
    // no other yet).
    for (const TsuiDialogButtonPlace& button : layout.buttons) {
        const size_t at = std::min<size_t>(1, layout.tabSequence.size());
        layout.tabSequence.insert(layout.tabSequence.begin() + static_cast<std::ptrdiff_t>(at), button.number);
    }
    return layout;
}

std::string MessageDialogCopyText(const std::string& caption, const std::string& message,
                                  const std::vector<std::string>& buttonCaptions)
{
    const std::string rule(27, '-');
    const std::string lineBreak = "\r\n";
    std::string buttons;
    for (size_t i = 0; i < buttonCaptions.size(); ++i) {
        if (i > 0)
            buttons += "   ";
        buttons += buttonCaptions[i];
    }
    return rule + lineBreak + caption + lineBreak + rule + lineBreak + message + lineBreak + rule + lineBreak +
           buttons + lineBreak + rule;
}
