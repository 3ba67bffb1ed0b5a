#include <gtest/gtest.h>

#include "skin/SUIDialogLayout.h"

#include <algorithm>

namespace {

std::vector<int> Lefts(const TsuiDialogLayout& layout)
{
    std::vector<int> lefts;
    for (const TsuiDialogButtonPlace& b : layout.buttons)
        lefts.push_back(b.left);
    return lefts;
}

} // namespace

TEST(SkinDialogLayout, AboutBoxAndATallMessage)
{
    // The About box: information picture, one line of 13 pixels, one OK
    // button, the designed 342-pixel window.
    const TsuiDialogLayout about = MessageDialogLayout(13, true, 1, 342);
    EXPECT_EQ(about.textLeft, 88);
    EXPECT_EQ(about.windowWidth, 342);
    EXPECT_EQ(about.bottom, 104) << "the 40-pixel picture is lower than one line";
    EXPECT_EQ(about.windowHeight, 169);
    ASSERT_EQ(about.buttons.size(), 1u);
    EXPECT_EQ(about.buttons[0].number, 1);
    EXPECT_EQ(about.buttons[0].left, 342 - 97);
    EXPECT_EQ(about.buttons[0].top, 124);

    const TsuiDialogLayout five = MessageDialogLayout(5 * 13, true, 2, 342);
    EXPECT_EQ(five.bottom, 129);
    EXPECT_EQ(five.buttons[0].top, 149);
    EXPECT_EQ(five.buttons[1].top, 149);
    EXPECT_EQ(five.windowHeight, 194);
}

TEST(SkinDialogLayout, ButtonsStandRightAlignedAndNarrowWithoutPicture)
{
    const TsuiDialogLayout three = MessageDialogLayout(13, true, 3, 342);
    EXPECT_EQ(Lefts(three), (std::vector<int>{245, 152, 59})) << "93 apart from W - 97 leftwards";
    EXPECT_EQ(three.buttons[0].number, 3) << "the highest-numbered is created first, at the right";
    EXPECT_EQ(three.buttons[2].number, 1);

    for (int count : {1, 2}) {
        const TsuiDialogLayout plain = MessageDialogLayout(13, false, count, 342);
        EXPECT_EQ(plain.textLeft, 24);
        EXPECT_EQ(plain.windowWidth, 278) << count << " buttons";
        EXPECT_EQ(plain.buttons[0].left, 278 - 97);
    }
    EXPECT_EQ(MessageDialogLayout(13, false, 3, 342).windowWidth, 342) << "three buttons keep the width";
    EXPECT_EQ(MessageDialogLayout(13, true, 7, 342).buttons.size(), 3u) << "at most three buttons";
}

TEST(SkinDialogLayout, TabSequence)
{
    EXPECT_EQ(MessageDialogLayout(13, true, 1, 342).tabSequence, (std::vector<int>{1}));
    EXPECT_EQ(MessageDialogLayout(13, true, 2, 342).tabSequence, (std::vector<int>{2, 1}));
    EXPECT_EQ(MessageDialogLayout(13, true, 3, 342).tabSequence, (std::vector<int>{3, 1, 2}));
}

TEST(SkinDialogLayout, CopyText)
{
    const std::string rule(27, '-');
    EXPECT_EQ(MessageDialogCopyText("About...", "Snapquill v1.1", {"OK"}),
              rule + "\r\nAbout...\r\n" + rule + "\r\nSnapquill v1.1\r\n" + rule + "\r\nOK\r\n" + rule);
    EXPECT_EQ(MessageDialogCopyText("suiDialog", "two\r\nlines", {"Cancel", "OK"}),
              rule + "\r\nsuiDialog\r\n" + rule + "\r\ntwo\r\nlines\r\n" + rule + "\r\nCancel   OK\r\n" + rule);
}

TEST(SkinDialogLayout, AtEveryScaleThePartsGrowWithoutOverlapOrLosingTheirGaps)
{
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const TDisplayScale scale(dpi);
        SCOPED_TRACE(dpi);
        // Three lines of text at the scaled font, the client area scaled
        // and a system frame of 3 pixels a side.
        const int textHeight = 3 * scale.Length(13);
        const int window = scale.Position(kDialogClientWidth) + 6;
        const TsuiDialogLayout l = MessageDialogLayout(textHeight, true, 3, window, scale);
        EXPECT_EQ(l.textTop, scale.Position(64));
        EXPECT_EQ(l.textLeft, scale.Position(88));
        EXPECT_EQ(l.textWidth, scale.Length(225));
        EXPECT_LT(l.pictureLeft + l.pictureSize, l.textLeft) << "the picture left of the text";
        EXPECT_LE(l.textLeft + l.textWidth, window - 6) << "the text inside the client area";
        EXPECT_EQ(l.bottom, std::max(l.textTop + textHeight, l.pictureTop + scale.Length(40)));
        ASSERT_EQ(l.buttons.size(), 3u);
        for (size_t i = 0; i < l.buttons.size(); ++i) {
            const TsuiDialogButtonPlace& b = l.buttons[i];
            EXPECT_EQ(b.top, l.bottom + scale.Length(20)) << "below the text and the picture";
            EXPECT_LE(b.top + l.buttonHeight, l.windowHeight - scale.Length(20) + 1) << "room below";
            EXPECT_LE(b.left + l.buttonWidth, window - 6) << "inside the client area";
            if (i > 0) {
                const int gap = l.buttons[i - 1].left - (b.left + l.buttonWidth);
                EXPECT_NEAR(gap, 20.0 * dpi / 96, 1.0) << "20 pixels scaled between buttons";
            }
        }
        EXPECT_GE(l.buttons.back().left, 0);
        EXPECT_EQ(l.buttonWidth, scale.Length(73));
        EXPECT_EQ(l.buttonHeight, scale.Length(25));
        EXPECT_NEAR(l.windowHeight, (64 + 3 * 13 + 65) * dpi / 96.0, 3.0) << "the designed height scaled";

        const TsuiDialogLayout plain = MessageDialogLayout(textHeight, false, 1, window, scale);
        EXPECT_EQ(plain.windowWidth, window - scale.Length(64));
        EXPECT_EQ(plain.textLeft, scale.Position(24));
        EXPECT_LE(plain.textLeft + plain.textWidth, plain.windowWidth - 6);
    }
}
