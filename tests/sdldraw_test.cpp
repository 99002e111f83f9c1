// Drawing primitives: image loading, sheet cutting, pixel access, text
// layout (where each glyph lands), the life bar and the background.
#include <gtest/gtest.h>

#include <string>

#include "sdldraw.h"
#include "sdlmain.h"
#include "test_util.h"

namespace {

// Raw 16-bit value of the test font's glyph for byte c.
Uint32 glyphColour(int c)
{
    return 0x100u + (Uint32)c;
}

// A logical screen and a font whose every glyph is a solid 5x7 block of its
// own colour, so the screen's pixels tell which glyph landed where.
class Drawing : public testing::Test {
protected:
    void SetUp() override
    {
        screenWidth = 160;
        screenHeight = 120;
        screen = SDL_CreateRGBSurface(0, 160, 120, 16, 0, 0, 0, 0);
        SDL_FillRect(screen, nullptr, 0);
        fontIMG = SDL_CreateRGBSurface(0, 96, 128, 16, 0, 0, 0, 0);
        SDL_FillRect(fontIMG, nullptr, 0);
        clipImage(fontClip, 5, 7, 16, 255);
        for (int c = 0; c < 256; c++)
            SDL_FillRect(fontIMG, &fontClip[c], glyphColour(c));
    }
    void TearDown() override
    {
        freeImage(&fontIMG);
        freeImage(&lifebarIMG);
        SDL_FreeSurface(screen);
        screen = nullptr;
    }

    // The glyph's block starts exactly at (x, y) and is whole (5x7).
    bool glyphAt(int c, int x, int y)
    {
        const Uint32 colour = glyphColour(c);
        if (getPixel(screen, x, y) != colour || getPixel(screen, x + 4, y + 6) != colour)
            return false;
        if (x > 0 && getPixel(screen, x - 1, y) == colour)
            return false;
        return y == 0 || getPixel(screen, x, y - 1) != colour;
    }

    int pixelsOfColour(Uint32 colour)
    {
        int n = 0;
        for (int y = 0; y < screen->h; y++)
            for (int x = 0; x < screen->w; x++)
                if (getPixel(screen, x, y) == colour)
                    n++;
        return n;
    }

    int drawnPixels() { return screen->w * screen->h - pixelsOfColour(0); }
};

} // namespace

TEST_F(Drawing, SheetsAreCutIntoCellsWithOnePixelGaps)
{
    EXPECT_EQ(fontClip['A'].x, 6); // 65 = line 4, cell 1
    EXPECT_EQ(fontClip['A'].y, 32);
    EXPECT_EQ(fontClip['A'].w, 5);
    EXPECT_EQ(fontClip['A'].h, 7);
    EXPECT_EQ(fontClip[255].x, 90); // the last line is filled in full
    EXPECT_EQ(fontClip[255].y, 120);

    SDL_Rect cells[8] = {};
    clipImage(cells, 16, 16, 4, 5); // five tiles, but two full lines
    EXPECT_EQ(cells[5].x, 17);
    EXPECT_EQ(cells[5].y, 17);
    EXPECT_EQ(cells[5].w, 16);
    EXPECT_EQ(cells[7].x, 51); // the rest of the second line

    SDL_Rect untouched[2] = {};
    clipImage(untouched, 5, 7, 2, 0);
    clipImage(untouched, 5, 7, 0, 2); // no cells per line: nothing to cut
    EXPECT_EQ(untouched[1].w, 0);
}

TEST_F(Drawing, TextBreaksAfterANewlineGlyph)
{
    dText("AB\nC", 10, 20);
    EXPECT_TRUE(glyphAt('A', 10, 20));
    EXPECT_TRUE(glyphAt('B', 16, 20));
    EXPECT_TRUE(glyphAt('\n', 22, 20));
    EXPECT_TRUE(glyphAt('C', 10, 28));
    EXPECT_EQ(drawnPixels(), 4 * 35);
}

TEST_F(Drawing, TextWrapsAfterTheLetterThatReachesTheRightEdge)
{
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"; // 30 letters
    dText(letters, 0, 0);
    for (int k = 0; k < 26; k++)
        EXPECT_TRUE(glyphAt(letters[k], 6 * k, 0)) << "letter " << k + 1;
    // The 27th is cut off at the screen's edge, one column short.
    EXPECT_EQ(getPixel(screen, 156, 0), glyphColour('a'));
    EXPECT_EQ(getPixel(screen, 159, 6), glyphColour('a'));
    EXPECT_EQ(pixelsOfColour(glyphColour('a')), 4 * 7);
    EXPECT_TRUE(glyphAt('b', 0, 8));
    EXPECT_TRUE(glyphAt('c', 6, 8));
    EXPECT_TRUE(glyphAt('d', 12, 8));

    // Landing exactly on the edge breaks the line too.
    SDL_FillRect(screen, nullptr, 0);
    dText(letters, 4, 0);
    EXPECT_TRUE(glyphAt('Z', 154, 0));
    EXPECT_TRUE(glyphAt('a', 4, 8));

    SDL_FillRect(screen, nullptr, 0);
    dText("", 0, 0);
    EXPECT_EQ(drawnPixels(), 0);
}

TEST_F(Drawing, CentredTextStartsHalfItsWidthLeftOfTheMiddle)
{
    dTextCentered("PAUSED", 0, 50);
    EXPECT_TRUE(glyphAt('P', 62, 50));
    EXPECT_TRUE(glyphAt('D', 92, 50));

    // Centred by its last line that ended with a newline; every line starts there.
    SDL_FillRect(screen, nullptr, 0);
    dTextCentered("AB\nCDEF", 0, 10);
    EXPECT_TRUE(glyphAt('A', 74, 10));
    EXPECT_TRUE(glyphAt('C', 74, 18));

    // A long text starts left of the screen.
    SDL_FillRect(screen, nullptr, 0);
    dTextCentered("ABCDEFGHIJKLMNOPQRSTUVWXYZabcd", 0, 0); // starts at 80 - 90 = -10
    EXPECT_EQ(getPixel(screen, 0, 0), glyphColour('B'));  // B at -4 shows its last column
    EXPECT_EQ(getPixel(screen, 1, 0), 0u);
    EXPECT_TRUE(glyphAt('C', 2, 0));
}

TEST_F(Drawing, VerticallyCentredTextCountsItsLines)
{
    dTextCentered("OK", 1, 10);
    EXPECT_TRUE(glyphAt('O', 10, 56));
    EXPECT_TRUE(glyphAt('K', 16, 56));

    SDL_FillRect(screen, nullptr, 0);
    dTextCentered("A\nB\nC", 1, 0);
    EXPECT_TRUE(glyphAt('A', 0, 48));
    EXPECT_TRUE(glyphAt('C', 0, 64));

    SDL_FillRect(screen, nullptr, 0);
    dTextCentered("", 1, 0);
    EXPECT_EQ(drawnPixels(), 0);
}

TEST_F(Drawing, AnUnknownCentringAxisWarnsAndDrawsNothing)
{
    testing::internal::CaptureStderr();
    dTextCentered("OK", 2, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING: (dTextCentered) The value of 'i' in dTextCentered must be either 0 or 1\n");
    EXPECT_EQ(drawnPixels(), 0);
}

TEST_F(Drawing, TheLifeBarShowsOneFilledPiecePerHitPoint)
{
    const Uint32 filled = 0x0F0F, empty = 0x00F0;
    lifebarIMG = SDL_CreateRGBSurface(0, 11, 7, 16, 0, 0, 0, 0);
    clipImage(lifebarClip, 5, 7, 2, 2);
    SDL_FillRect(lifebarIMG, &lifebarClip[0], filled);
    SDL_FillRect(lifebarIMG, &lifebarClip[1], empty);

    // hp and the expected piece at x = 1, 7, 13.
    const int cases[][4] = {{-1, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 0, 0},
                            {2, 1, 1, 0},  {3, 1, 1, 1}, {9, 1, 1, 1}};
    for (const auto &c : cases) {
        dLifebar(1, 1, c[0]);
        for (int k = 0; k < 3; k++) {
            EXPECT_EQ(getPixel(screen, 1 + 6 * k, 1), c[k + 1] ? filled : empty)
                << "hp " << c[0] << " piece " << k;
            EXPECT_EQ(getPixel(screen, 5 + 6 * k, 7), c[k + 1] ? filled : empty);
        }
    }
    EXPECT_EQ(getPixel(screen, 6, 1), 0u); // the gap between pieces

    // Without its image the bar draws nothing.
    freeImage(&lifebarIMG);
    SDL_FillRect(screen, nullptr, 0);
    dLifebar(1, 1, 3);
    EXPECT_EQ(drawnPixels(), 0);
}

TEST_F(Drawing, BackgroundAndRectanglesUseTheScreensFormat)
{
    dBackground();
    EXPECT_EQ(pixelsOfColour(SDL_MapRGB(screen->format, 155, 188, 15)), 160 * 120);

    dFillRect(150, 110, 20, 20, 255, 0, 0); // clipped at the edge
    EXPECT_EQ(pixelsOfColour(SDL_MapRGB(screen->format, 255, 0, 0)), 10 * 10);
    dFillRect(0, 0, 0, 5, 255, 0, 0); // empty: nothing
    dFillRect(0, 0, -5, 5, 255, 0, 0);
    EXPECT_EQ(pixelsOfColour(SDL_MapRGB(screen->format, 255, 0, 0)), 10 * 10);
}

TEST_F(Drawing, PixelsAreReadAndWrittenAtEverySize)
{
    for (int bits : {8, 16, 24, 32}) {
        SDL_Surface *s = SDL_CreateRGBSurface(0, 4, 3, bits, 0, 0, 0, 0);
        ASSERT_NE(s, nullptr);
        const Uint32 value = 0xA1B2C3D4u & (bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1);
        putPixel(s, 3, 2, value);
        putPixel(s, 0, 0, 1);
        EXPECT_EQ(getPixel(s, 3, 2), value) << bits << " bits";
        EXPECT_EQ(getPixel(s, 2, 2), 0u) << bits << " bits";
        EXPECT_EQ(getPixel(s, 0, 0), 1u) << bits << " bits";
        if (bits == 24) { // lowest byte first
            const Uint8 *p = (const Uint8 *)s->pixels + 2 * s->pitch + 3 * 3;
            EXPECT_EQ(p[0], 0xD4);
            EXPECT_EQ(p[1], 0xC3);
            EXPECT_EQ(p[2], 0xB2);
        }
        SDL_FreeSurface(s);
    }
}

TEST_F(Drawing, AnImageThatCannotBeLoadedReportsBothSteps)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadImage("./data/gfx/nothing-here.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: (loadImage) Failed to load image: ./data/gfx/nothing-here.bmp\n"
              "ERROR: (loadImage) Failed to optimize image: ./data/gfx/nothing-here.bmp\n");

    // A readable file without a video mode to convert it to.
    TempDir dir;
    const std::string path = dir.path + "/one.bmp";
    SDL_Surface *picture = SDL_CreateRGBSurface(0, 2, 1, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_EQ(SDL_SaveBMP(picture, path.c_str()), 0);
    SDL_FreeSurface(picture);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadImage(path.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR: (loadImage) Failed to optimize image: " + path + "\n");
}

TEST_F(Drawing, LoadedImagesHaveTheDisplayFormatAndMagentaIsTransparent)
{
    TempDir dir;
    const std::string path = dir.path + "/key.bmp";
    SDL_Surface *picture = SDL_CreateRGBSurface(0, 2, 1, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    putPixel(picture, 0, 0, SDL_MapRGB(picture->format, 255, 0, 255));
    putPixel(picture, 1, 0, SDL_MapRGB(picture->format, 255, 0, 0));
    ASSERT_EQ(SDL_SaveBMP(picture, path.c_str()), 0);
    SDL_FreeSurface(picture);

    SDL_FreeSurface(screen); // the display's logical screen replaces the test's
    screen = nullptr;
    testing::internal::CaptureStdout();
    ASSERT_EQ(initSDL(), 0);
    testing::internal::GetCapturedStdout();

    SDL_Surface *image = loadImage(path.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->format->BitsPerPixel, 16);
    EXPECT_TRUE(image->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(image->flags & SDL_RLEACCEL);

    const Uint32 blue = SDL_MapRGB(screen->format, 0, 0, 255);
    SDL_FillRect(screen, nullptr, blue);
    applySurface(3, 4, image, screen, nullptr);
    EXPECT_EQ(getPixel(screen, 3, 4), blue);
    EXPECT_EQ(getPixel(screen, 4, 4), SDL_MapRGB(screen->format, 255, 0, 0));

    SDL_Rect right = {1, 0, 1, 1};
    applySurface(10, 10, image, screen, &right);
    EXPECT_EQ(getPixel(screen, 10, 10), SDL_MapRGB(screen->format, 255, 0, 0));
    EXPECT_EQ(getPixel(screen, 11, 10), blue);

    freeImage(&image);
    EXPECT_EQ(image, nullptr);
    cleanSDL();
}
