// The general software scaler, pixel by pixel, into display rows longer than
// the picture, which no display the video tests open has. The word scalers
// and the general one on odd widths are checked there, through whole frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "scaler.h"
#include "sdlmain.h"

static const uint16_t UNTOUCHED = 0xBEEF;

// A w x h picture in rows of pitch pixels, pixel (x, y) = 0x100 * (y + 1) + x + 1.
static std::vector<uint16_t> picture(int w, int h, int pitch)
{
    std::vector<uint16_t> pixels((size_t)pitch * h, UNTOUCHED);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            pixels[(size_t)y * pitch + x] = (uint16_t)(0x100 * (y + 1) + x + 1);
    return pixels;
}

// Display pixels (rows of pitch pixels) that do not show their logical pixel,
// and padding or memory past the display that was written to.
static int mismatches(const std::vector<uint16_t> &to, int pitch, int w, int h, int factor)
{
    int bad = to.back() != UNTOUCHED;
    for (int y = 0; y < h * factor; y++)
        for (int x = 0; x < pitch; x++) {
            const int shown = x < w * factor ? 0x100 * (y / factor + 1) + x / factor + 1 : UNTOUCHED;
            bad += to[(size_t)y * pitch + x] != shown;
        }
    return bad;
}

TEST(Scaler, TheGeneralScalerTakesAnyFactorOddWidthsAndPaddedRows)
{
    // 3 x 2 logical pixels in rows of 4 pixels; display rows of 11 pixels.
    const std::vector<uint16_t> from = picture(3, 2, 4);
    std::vector<uint16_t> to(11 * 2 * 3 + 1, UNTOUCHED);
    upscaleAny(to.data(), 11 * 2, from.data(), 4 * 2, 3, 2, 3);
    EXPECT_EQ(mismatches(to, 11, 3, 2, 3), 0);
}
