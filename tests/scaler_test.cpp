// The software scalers, pixel by pixel: the word scalers for 2 and 4 on
// packed rows, and the general one for other factors, odd widths and
// padded rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "scaler.h"
#include "sdlmain.h"

namespace {

// 16-bit pixel n of a buffer of 32-bit words (the scalers' view of memory).
uint16_t pixelOf(const std::vector<uint32_t> &words, size_t n)
{
    uint16_t value;
    memcpy(&value, (const char *)words.data() + 2 * n, 2);
    return value;
}

void setPixel(std::vector<uint32_t> &words, size_t n, uint16_t value)
{
    memcpy((char *)words.data() + 2 * n, &value, 2);
}

// A logical picture of w x h packed pixels, pixel (x, y) = 0x100 * (y + 1) + x + 1.
std::vector<uint32_t> picture(int w, int h)
{
    std::vector<uint32_t> words((size_t)w * h / 2);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            setPixel(words, (size_t)y * w + x, (uint16_t)(0x100 * (y + 1) + x + 1));
    return words;
}

const uint32_t UNTOUCHED = 0xDEADBEEF;

// Counts display pixels of a packed factor-times picture that differ from
// the logical pixel they come from.
int mismatches(const std::vector<uint32_t> &from, const std::vector<uint32_t> &to, int w, int h,
               int factor)
{
    int bad = 0;
    const int dw = w * factor;
    for (int y = 0; y < h * factor; y++)
        for (int x = 0; x < dw; x++)
            if (pixelOf(to, (size_t)y * dw + x) != pixelOf(from, (size_t)(y / factor) * w + x / factor))
                bad++;
    return bad;
}

class Scaler : public testing::Test {
protected:
    void TearDown() override
    {
        screenWidth = 160;
        screenHeight = 120;
    }
};

} // namespace

TEST_F(Scaler, DoublingTurnsARowABCDIntoAABBCCDDTwice)
{
    screenWidth = 4;
    screenHeight = 1;
    std::vector<uint32_t> from(2);
    const uint16_t row[4] = {0xA000, 0xB000, 0xC000, 0xD000};
    for (int x = 0; x < 4; x++)
        setPixel(from, x, row[x]);
    std::vector<uint32_t> to(8 + 1, UNTOUCHED);

    upscale2(to.data(), from.data());

    const uint16_t expected[8] = {0xA000, 0xA000, 0xB000, 0xB000, 0xC000, 0xC000, 0xD000, 0xD000};
    for (int x = 0; x < 8; x++) {
        EXPECT_EQ(pixelOf(to, x), expected[x]) << "first row, x " << x;
        EXPECT_EQ(pixelOf(to, 8 + x), expected[x]) << "second row, x " << x;
    }
    EXPECT_EQ(to[8], UNTOUCHED); // nothing written past the display
}

TEST_F(Scaler, DoublingAndQuadruplingFillWholeBlocksForEveryRow)
{
    screenWidth = 6;
    screenHeight = 3;
    const std::vector<uint32_t> from = picture(6, 3);

    std::vector<uint32_t> to2(6 * 3 * 2 + 1, UNTOUCHED);
    upscale2(to2.data(), const_cast<uint32_t *>(from.data()));
    EXPECT_EQ(mismatches(from, to2, 6, 3, 2), 0);
    EXPECT_EQ(to2.back(), UNTOUCHED);

    std::vector<uint32_t> to4(6 * 3 * 8 + 1, UNTOUCHED);
    upscale4(to4.data(), const_cast<uint32_t *>(from.data()));
    EXPECT_EQ(mismatches(from, to4, 6, 3, 4), 0);
    EXPECT_EQ(to4.back(), UNTOUCHED);
    // Spot check one block: logical (5, 2) covers display x 20..23, y 8..11.
    for (int y = 8; y < 12; y++)
        for (int x = 20; x < 24; x++)
            EXPECT_EQ(pixelOf(to4, (size_t)y * 24 + x), 0x306);
}

TEST_F(Scaler, TheGeneralScalerTakesAnyFactorOddWidthsAndPaddedRows)
{
    // 3 x 2 logical pixels, rows padded to 8 bytes; display rows padded to 22 bytes.
    const int w = 3, h = 2, factor = 3, fromPitch = 8, toPitch = 22;
    std::vector<uint16_t> from(fromPitch / 2 * h, 0xFFFF);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            from[(size_t)y * fromPitch / 2 + x] = (uint16_t)(0x100 * (y + 1) + x + 1);
    std::vector<uint16_t> to(toPitch / 2 * h * factor + 1, 0xBEEF);

    upscaleAny(to.data(), toPitch, from.data(), fromPitch, w, h, factor);

    for (int y = 0; y < h * factor; y++) {
        for (int x = 0; x < w * factor; x++)
            EXPECT_EQ(to[(size_t)y * toPitch / 2 + x], 0x100 * (y / factor + 1) + x / factor + 1)
                << "x " << x << " y " << y;
        EXPECT_EQ(to[(size_t)y * toPitch / 2 + w * factor], 0xBEEF) << "padding of row " << y;
    }
    EXPECT_EQ(to.back(), 0xBEEF);
}

TEST_F(Scaler, TheGeneralScalerAgreesWithTheWordScalers)
{
    screenWidth = 8;
    screenHeight = 5;
    const std::vector<uint32_t> from = picture(8, 5);
    for (int factor : {2, 4}) {
        std::vector<uint32_t> fast(8 * 5 * factor * factor / 2);
        std::vector<uint32_t> general(fast.size());
        if (factor == 2)
            upscale2(fast.data(), const_cast<uint32_t *>(from.data()));
        else
            upscale4(fast.data(), const_cast<uint32_t *>(from.data()));
        upscaleAny((uint16_t *)general.data(), 8 * factor * 2, (const uint16_t *)from.data(), 16,
                   8, 5, factor);
        EXPECT_EQ(fast, general) << "factor " << factor;
    }
    std::vector<uint32_t> same(from.size());
    upscaleAny((uint16_t *)same.data(), 16, (const uint16_t *)from.data(), 16, 8, 5, 1);
    EXPECT_EQ(same, from);
}
