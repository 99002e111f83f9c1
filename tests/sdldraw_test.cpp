// Drawing primitives: image loading and where each glyph of a text lands. The
// life bar and the background are seen in the pinned screenshots.
#include <gtest/gtest.h>

#include "block_font.h"
#include "test_util.h"

static int pixelsOfColour(Uint32 colour)
{
    int n = 0;
    for (int y = 0; y < 120; y++)
        for (int x = 0; x < 160; x++)
            n += getPixel(screen, x, y) == colour;
    return n;
}

class Drawing : public BlockFontScreen {};

TEST_F(Drawing, TextBreaksAfterANewlineGlyphAndAfterTheLetterThatReachesTheRightEdge)
{
    dText("AB\nC", 10, 20);
    EXPECT_TRUE(textAt("AB\n", 10, 20) && glyphAt('C', 10, 28));
    EXPECT_EQ(pixelsOfColour(0), 160 * 120 - 4 * 35);

    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"; // 30 letters
    dText(letters, 0, 40);
    EXPECT_TRUE(textAt("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 40));
    // The 27th is cut off one column short at the screen's edge; x = 162 then breaks the line.
    EXPECT_EQ(pixelsOfColour(glyphColour('a')), 4 * 7);
    EXPECT_TRUE(textAt("bcd", 0, 48));
    dText(letters, 4, 80); // landing exactly on the edge breaks the line too
    EXPECT_TRUE(glyphAt('Z', 154, 80) && glyphAt('a', 4, 88));
}

TEST_F(Drawing, CentredTextStartsHalfItsSizeBeforeTheMiddleOfEitherAxis)
{
    const struct { const char *text; int i, j, c, x, y; } cases[] = {
        {"AB\nCDEF", 0, 10, 'C', 74, 18}, // by the last line that ended with a newline
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcd", 0, 0, 'C', 2, 0}, // from x = 80 - 90 = -10
        {"OK", 1, 10, 'O', 10, 56},
        {"A\nB\nC", 1, 0, 'C', 0, 64},
    };
    for (const auto &c : cases) {
        SDL_FillRect(screen, nullptr, 0);
        dTextCentered(c.text, c.i, c.j);
        EXPECT_TRUE(glyphAt(c.c, c.x, c.y)) << c.text;
    }
    SDL_FillRect(screen, nullptr, 0);
    EXPECT_EQ(printed([] { dTextCentered("OK", 2, 0); }),
              "|WARNING: (dTextCentered) The value of 'i' in dTextCentered must be either 0 or 1\n");
    EXPECT_EQ(pixelsOfColour(0), 160 * 120);
}

// The colour key the pinned screenshots show: magenta never reaches the screen.
TEST_F(Drawing, LoadingAnImageThatIsNotThereReportsBothFailedSteps)
{
    EXPECT_EQ(printed([] { EXPECT_EQ(loadImage("./data/gfx/nothing-here.bmp"), nullptr); }),
              "|ERROR: (loadImage) Failed to load image: ./data/gfx/nothing-here.bmp\n"
              "ERROR: (loadImage) Failed to optimize image: ./data/gfx/nothing-here.bmp\n");
}
