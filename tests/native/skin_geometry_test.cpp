#include <gtest/gtest.h>

#include "skin/SUIGeometry.h"

TEST(SkinGeometry, StripsAreCutIntoEqualFramesCountedFromOne)
{
    // The 306-pixel title-button strip of 18 frames.
    EXPECT_EQ(FrameColumns(306, 18, 1).left, 0);
    EXPECT_EQ(FrameColumns(306, 18, 1).width, 17);
    EXPECT_EQ(FrameColumns(306, 18, 18).left, 289);
    EXPECT_EQ(FrameColumns(306, 18, 18).left + FrameColumns(306, 18, 18).width - 1, 305);
    // A width that does not divide: frames keep the width rounded down.
    EXPECT_EQ(FrameColumns(253, 3, 3).left, 168);
    EXPECT_EQ(FrameColumns(253, 3, 3).width, 84);
}

TEST(SkinGeometry, MenuItemsMeasureCaptionShortcutBarAndForty)
{
    const TsuiMenuMetrics macOS{20, 12, 26};
    EXPECT_EQ(MeasureMenuItem(macOS, false, 24, 0).width, 24 + 66);
    EXPECT_EQ(MeasureMenuItem(macOS, false, 24, 0).height, 20);
    EXPECT_EQ(MeasureMenuItem(macOS, true, 0, 0).height, 12);
    EXPECT_EQ(MeasureMenuItem({21, 5, 26}, false, 30, 35).width, 30 + 35 + 26 + 40);
}

TEST(SkinGeometry, ButtonCornersOfTheBrowseButton)
{
    // The 25 x 25 "..." button with the 84 x 23 MacOS face.
    TsuiFacePiece pieces[4];
    ButtonCornerPieces(84, 23, 25, 25, pieces);
    EXPECT_EQ(pieces[TopLeft].source, (TsuiRect{0, 0, 12, 11}));
    EXPECT_EQ(pieces[TopRight].source, (TsuiRect{73, 0, 84, 11}));
    EXPECT_EQ(pieces[BottomLeft].source, (TsuiRect{0, 13, 12, 23}));
    EXPECT_EQ(pieces[BottomRight].source, (TsuiRect{73, 13, 84, 23}));
    EXPECT_EQ((TsuiPoint{pieces[TopLeft].x, pieces[TopLeft].y}), (TsuiPoint{0, 0}));
    EXPECT_EQ((TsuiPoint{pieces[TopRight].x, pieces[TopRight].y}), (TsuiPoint{14, 0}));
    EXPECT_EQ((TsuiPoint{pieces[BottomLeft].x, pieces[BottomLeft].y}), (TsuiPoint{0, 15}));
    EXPECT_EQ((TsuiPoint{pieces[BottomRight].x, pieces[BottomRight].y}), (TsuiPoint{14, 15}));
    // A button smaller than the face's corners: pieces keep the outer edge.
    ButtonCornerPieces(84, 23, 6, 4, pieces);
    EXPECT_EQ(pieces[TopRight].source, (TsuiRect{82, 0, 84, 2}));
    EXPECT_EQ(pieces[BottomLeft].source.Height(), 1);
}

TEST(SkinGeometry, GlyphAndTextPlacesForEachLayout)
{
    // 75 x 25 button, 16 x 16 glyph, 30 x 13 text, spacing 4.
    EXPECT_EQ(PlaceGlyphAndText(blGlyphLeft, 75, 25, 16, 16, 30, 13, 4).glyph, (TsuiPoint{12, 4}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphLeft, 75, 25, 16, 16, 30, 13, 4).text, (TsuiPoint{32, 6}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphRight, 75, 25, 16, 16, 30, 13, 4).glyph, (TsuiPoint{46, 4}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphRight, 75, 25, 16, 16, 30, 13, 4).text, (TsuiPoint{12, 6}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphTop, 75, 50, 16, 16, 30, 13, 4).glyph, (TsuiPoint{29, 8}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphTop, 75, 50, 16, 16, 30, 13, 4).text, (TsuiPoint{22, 28}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphBottom, 75, 50, 16, 16, 30, 13, 4).glyph, (TsuiPoint{29, 25}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphBottom, 75, 50, 16, 16, 30, 13, 4).text, (TsuiPoint{22, 8}));
    // Two frames side by side count as one square glyph; halves toward zero.
    EXPECT_EQ(PlaceGlyphAndText(blGlyphLeft, 75, 25, 32, 16, 30, 13, 4).glyph, (TsuiPoint{12, 4}));
    EXPECT_EQ(PlaceGlyphAndText(blGlyphLeft, 10, 25, 16, 16, 30, 13, 4).glyph.x, -20);
}

TEST(SkinGeometry, TrackBarPlacesAndValues)
{
    TsuiTrackRange range;
    range.SetMax(3);
    range.SetMin(1);
    range.SetPosition(2);
    EXPECT_EQ(SliderLeft(range, 169, 11), 79);
    range.SetPosition(range.min);
    EXPECT_EQ(SliderLeft(range, 169, 11), 0);
    range.SetPosition(range.max);
    EXPECT_EQ(SliderLeft(range, 169, 11), 158);
    EXPECT_EQ(SliderTop(20, 20), 0);
    EXPECT_EQ(SliderTop(20, 11), 4);

    // 1..3 over a 158-pixel track: halfway points round to even.
    EXPECT_EQ(PositionAtPoint(range, 5, 169, 11), 1);
    EXPECT_EQ(PositionAtPoint(range, 5 + 79, 169, 11), 2);
    EXPECT_EQ(PositionAtPoint(range, 45, 169, 11), 1) << "exactly half a step: to the even 0";
    EXPECT_EQ(PositionAtPoint(range, 46, 169, 11), 2) << "just past the half";
    TsuiTrackRange tenths;
    tenths.SetMax(2); // 0..2 over 100 pixels: x = 25 is exactly 0.5, x = 75 exactly 1.5
    EXPECT_EQ(PositionAtPoint(tenths, 25 + 5, 110, 10), 0) << "0.5 rounds to 0";
    EXPECT_EQ(PositionAtPoint(tenths, 75 + 5, 110, 10), 2) << "1.5 rounds to 2";
    EXPECT_EQ(PositionAtPoint(tenths, -50, 110, 10), 0);
    EXPECT_EQ(PositionAtPoint(tenths, 500, 110, 10), 2);

    range.SetMax(0); // below Min
    EXPECT_EQ(range.max, 1);
    EXPECT_EQ(range.position, 1);
    range.SetMax(3);
    range.SetPageSize(5); // above Max: ignored
    EXPECT_EQ(range.pageSize, 2);
    range.SetLineSize(-1);
    EXPECT_EQ(range.lineSize, 1);
    range.SetMin(9); // above Max
    EXPECT_EQ(range.min, 3);
    EXPECT_EQ(range.position, 3);
}

#include <vector>

TEST(SkinGeometry, ButtonFaceCoversTheButtonBetweenItsCorners)
{
    // The "..." button: the corners leave columns 12 and 13 and rows 11 to
    // 14; the face's middle column 42 and row 11 are stretched over them.
    TsuiFaceStretch strips[5];
    ButtonEdgePieces(84, 23, 25, 25, strips);
    EXPECT_EQ(strips[EdgeLeft].source, (TsuiRect{0, 11, 12, 12}));
    EXPECT_EQ(strips[EdgeLeft].target, (TsuiRect{0, 11, 12, 15}));
    EXPECT_EQ(strips[EdgeTop].source, (TsuiRect{42, 0, 43, 11}));
    EXPECT_EQ(strips[EdgeTop].target, (TsuiRect{12, 0, 14, 11}));
    EXPECT_EQ(strips[EdgeCentre].target, (TsuiRect{12, 11, 14, 15}));

    // Every pixel of the button is drawn exactly once, by a corner or a
    // strip, and every strip that draws has a band of the face to draw.
    const int sizes[][4] = {{84, 23, 25, 25}, {84, 23, 75, 23}, {84, 23, 200, 40}, {84, 22, 25, 25},
                            {83, 23, 25, 24}, {84, 23, 6, 4},   {84, 23, 1, 1},    {15, 10, 120, 9}};
    for (const auto& s : sizes) {
        const int sW = s[0], sH = s[1], dW = s[2], dH = s[3];
        std::vector<int> drawn(size_t(dW) * dH, 0);
        auto paint = [&](const TsuiRect& r) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) {
                    ASSERT_TRUE(x >= 0 && x < dW && y >= 0 && y < dH) << x << "," << y;
                    ++drawn[size_t(y) * dW + x];
                }
        };
        TsuiFacePiece corners[4];
        ButtonCornerPieces(sW, sH, dW, dH, corners);
        for (const TsuiFacePiece& c : corners)
            paint({c.x, c.y, c.x + c.source.Width(), c.y + c.source.Height()});
        ButtonEdgePieces(sW, sH, dW, dH, strips);
        for (const TsuiFaceStretch& strip : strips) {
            paint(strip.target);
            if (strip.target.Width() > 0 && strip.target.Height() > 0) {
                EXPECT_GT(strip.source.Width(), 0) << sW << "x" << sH << " on " << dW << "x" << dH;
                EXPECT_GT(strip.source.Height(), 0) << sW << "x" << sH << " on " << dW << "x" << dH;
                EXPECT_TRUE(strip.source.left >= 0 && strip.source.right <= sW && strip.source.top >= 0 &&
                            strip.source.bottom <= sH);
            }
        }
        for (int i = 0; i < dW * dH; ++i)
            ASSERT_EQ(drawn[i], 1) << "pixel " << i % dW << "," << i / dW << " of " << dW << "x" << dH
                                   << " with a face of " << sW << "x" << sH;
    }
}
