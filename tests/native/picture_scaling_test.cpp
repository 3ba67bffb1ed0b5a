#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "core/PackedPicture.h"
#include "core/PictureScaling.h"
#include "tests/native/TestScale.h"

namespace {

const uint32_t kInk = 0x2040A0;
const uint32_t kPaper = 0xE0E0D0;

// A key-coloured picture with a round-cornered opaque badge in the middle:
// a dark rim and a pale inside, as the skin's key pictures have.
TPixels Badge(int width, int height)
{
    TPixels p(width, height, kPictureKey);
    for (int y = 2; y < height - 2; ++y)
        for (int x = 2; x < width - 2; ++x) {
            const bool corner = (y == 2 || y == height - 3) && (x == 2 || x == width - 3);
            const bool rim = y == 2 || x == 2 || y == height - 3 || x == width - 3;
            if (!corner)
                p.At(x, y) = rim ? kInk : kPaper;
        }
    return p;
}

int Channel(uint32_t p, int shift)
{
    return int(p >> shift & 0xFF);
}

// A colour close to the key that is not the key: a magenta fringe.
bool NearKey(uint32_t p)
{
    return p != kPictureKey && std::abs(Channel(p, 16) - 255) + Channel(p, 8) + std::abs(Channel(p, 0) - 255) < 160;
}

// Whether a pixel could be a mix of ink and paper alone: on the line
// between them, channel by channel, within rounding.
bool MixOfArt(uint32_t p)
{
    for (int shift : {0, 8, 16}) {
        const int lo = std::min(Channel(kInk, shift), Channel(kPaper, shift));
        const int hi = std::max(Channel(kInk, shift), Channel(kPaper, shift));
        if (Channel(p, shift) < lo - 1 || Channel(p, shift) > hi + 1)
            return false;
    }
    return true;
}

} // namespace

TEST(PictureScaling, KeyPicturesResampleToKeyOrArtWithNoMagentaBlend)
{
    const TPixels source = Badge(17, 13);
    for (auto [w, h] : {std::pair{26, 20}, {34, 26}, {21, 16}, {43, 33}, {12, 9}}) {
        const TPixels out = ResampleKeyed(source, w, h);
        ASSERT_EQ(out.width, w);
        ASSERT_EQ(out.height, h);
        int key = 0, art = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t p = out.At(x, y);
                if (p == kPictureKey) {
                    ++key;
                    continue;
                }
                ++art;
                EXPECT_FALSE(NearKey(p)) << w << "x" << h << " at " << x << "," << y;
                EXPECT_TRUE(MixOfArt(p)) << std::hex << p << std::dec << " at " << x << "," << y << " of " << w;
            }
        EXPECT_GT(key, 0) << "the key around the badge stays";
        EXPECT_GT(art, w * h / 3) << "the badge stays";
        // The middle of the badge was opaque all around: never a hole there.
        for (int y = h / 3; y < h - h / 3; ++y)
            for (int x = w / 3; x < w - w / 3; ++x)
                EXPECT_NE(out.At(x, y), kPictureKey) << x << "," << y << " of " << w << "x" << h;
        EXPECT_EQ(out.At(0, 0), kPictureKey) << "the outer border was all key";
    }
}

TEST(PictureScaling, OpaquePicturesResampleSmoothlyAndTheSameSizeIsUntouched)
{
    TPixels ramp(10, 2);
    for (int x = 0; x < 10; ++x)
        ramp.At(x, 0) = ramp.At(x, 1) = uint32_t(x * 20) << 8;
    const TPixels same = ResampleKeyed(ramp, 10, 2);
    EXPECT_EQ(same.pixels, ramp.pixels);
    const TPixels wide = ResampleKeyed(ramp, 20, 3);
    std::set<uint32_t> greens;
    for (int x = 1; x < 20; ++x) {
        EXPECT_GE(wide.At(x, 1), wide.At(x - 1, 1)) << "a ramp stays a ramp";
        greens.insert(wide.At(x, 1));
    }
    EXPECT_GT(greens.size(), 12u) << "enlarged smoothly, not in steps of two";
    EXPECT_EQ(ResampleKeyed(TPixels(), 4, 4).pixels.size(), 0u);
}

TEST(PictureScaling, ArtThatLandsOnTheKeyIsMovedOffIt)
{
    // Two opaque colours beside the key whose average rounds to the key.
    TPixels pair(2, 1);
    pair.At(0, 0) = 0xFF00FE;
    pair.At(1, 0) = 0xFE00FF;
    const TPixels one = ResampleKeyed(pair, 1, 1);
    EXPECT_NE(one.At(0, 0), kPictureKey) << "an opaque pixel never becomes the key";
    EXPECT_EQ(one.At(0, 0) & 0xFF00FF, 0xFF00FFu) << "only a step off it";
}

TEST(PictureScaling, FramesOfAStripResampleEachOnItsOwn)
{
    const uint32_t colours[3] = {0x102030, 0x80A0C0, 0xF0E0D0};
    TPixels strip(33, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 33; ++x)
            strip.At(x, y) = colours[x / 11];
    const TPixels out = ResampleFrames(strip, 3, 17, 15);
    ASSERT_EQ(out.width, 51);
    ASSERT_EQ(out.height, 15);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 51; ++x)
            ASSERT_EQ(out.At(x, y), colours[x / 17]) << "no frame bleeds into its neighbour at " << x << "," << y;
}

TEST(PictureScaling, PatternsGrowByWholePixels)
{
    TPixels stripes(2, 4);
    const uint32_t rows[4] = {0xFFFFFF, 0xEFEFEF, 0xE8E8E8, 0xEFEFEF};
    for (int y = 0; y < 4; ++y)
        stripes.At(0, y) = stripes.At(1, y) = rows[y];
    const TPixels big = EnlargeByWhole(stripes, 3);
    ASSERT_EQ(big.width, 6);
    ASSERT_EQ(big.height, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(big.At(x, y), rows[y / 3]);
}

TEST(PictureScaling, SizesFollowTheLengthRuleFrameByFrame)
{
    EXPECT_EQ(ScaledPictureSize(AtPercent(150), 252, 23, 3), (TPictureSize{378, 35}));
    EXPECT_EQ(ScaledPictureSize(AtPercent(150), 11, 20, 1), (TPictureSize{17, 30}));
    EXPECT_EQ(ScaledPictureSize(AtPercent(150), 306, 17, 18), (TPictureSize{18 * 26, 26})) << "17 px frames: 25.5 up";
    EXPECT_EQ(ScaledPictureSize(AtPercent(200), 60, 17, 4), (TPictureSize{120, 34}));
    EXPECT_EQ(ScaledPictureSize(AtPercent(125), 1, 22, 1), (TPictureSize{1, 28})) << "a column never vanishes";
    EXPECT_EQ(ScaledPictureSize(AtPercent(100), 96, 22, 4), (TPictureSize{96, 22}));
    EXPECT_EQ(ScaledPictureSize(AtPercent(150), 8, 8, 1, true), (TPictureSize{16, 16})) << "tiles: the whole factor";
    EXPECT_EQ(ScaledPictureSize(AtPercent(125), 8, 8, 1, true), (TPictureSize{8, 8}));
    EXPECT_EQ(ScaledPictureSize(AtPercent(250), 8, 8, 1, true), (TPictureSize{24, 24}));
}

TEST(PictureScaling, AScaleTakesItsOwnSetOrTheNearestLargerOrTheLargest)
{
    const std::vector<int> sets{150, 200};
    EXPECT_EQ(ChoosePictureSet(AtPercent(150), sets), 150);
    EXPECT_EQ(ChoosePictureSet(AtPercent(200), sets), 200);
    EXPECT_EQ(ChoosePictureSet(AtPercent(125), sets), 150) << "shrunk from the nearest larger";
    EXPECT_EQ(ChoosePictureSet(AtPercent(175), sets), 200);
    EXPECT_EQ(ChoosePictureSet(AtPercent(250), sets), 200) << "enlarged from the largest";
    EXPECT_EQ(ChoosePictureSet(TDisplayScale(150), sets), 200) << "156 %";
    EXPECT_EQ(ChoosePictureSet(AtPercent(175), {125, 150, 175, 200}), 175);
    EXPECT_EQ(ChoosePictureSet(TDisplayScale(110), {200, 125, 150}), 125) << "in any order";
    EXPECT_EQ(ChoosePictureSet(AtPercent(150), {}), 0);
    EXPECT_TRUE(PictureSetFits(AtPercent(150), 150));
    EXPECT_FALSE(PictureSetFits(TDisplayScale(145), 150));
}

TEST(PackedPicture, RoundTripsAndRefusesDamage)
{
    std::vector<uint8_t> bmp(5000);
    for (size_t i = 0; i < bmp.size(); ++i)
        bmp[i] = uint8_t(i % 7 == 0 ? i : 3);
    const TPackedPictureInfo info{252, 23, 3, false};
    const std::vector<uint8_t> packed = PackPicture(info, bmp);
    EXPECT_LT(packed.size(), bmp.size() / 4) << "deflated";
    TPackedPictureInfo read;
    EXPECT_EQ(UnpackPicture(packed.data(), packed.size(), read), bmp);
    EXPECT_EQ(read, info);
    TPackedPictureInfo tile;
    UnpackPicture(PackPicture({8, 8, 1, true}, bmp).data(), PackPicture({8, 8, 1, true}, bmp).size(), tile);
    EXPECT_TRUE(tile.tile);

    EXPECT_THROW(UnpackPicture(packed.data(), packed.size() - 10, read), EPictureError) << "cut short";
    EXPECT_THROW(UnpackPicture(packed.data(), 15, read), EPictureError) << "no whole header";
    EXPECT_THROW(UnpackPicture(nullptr, 0, read), EPictureError);
    std::vector<uint8_t> damaged = packed;
    damaged[0] = 'X';
    EXPECT_THROW(UnpackPicture(damaged.data(), damaged.size(), read), EPictureError) << "not ours";
    damaged = packed;
    damaged[12] ^= 1; // the unpacked size
    EXPECT_THROW(UnpackPicture(damaged.data(), damaged.size(), read), EPictureError);
    damaged = packed;
    damaged[15] = 0x7F; // a size of gigabytes
    EXPECT_THROW(UnpackPicture(damaged.data(), damaged.size(), read), EPictureError);
    damaged = packed;
    damaged[30] ^= 0x55;
    EXPECT_THROW(UnpackPicture(damaged.data(), damaged.size(), read), EPictureError) << "damaged data";
}
