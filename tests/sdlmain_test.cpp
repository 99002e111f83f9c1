// Opening video (sizes, scale factors and their messages) and presenting a
// frame through the scaler that fits it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "global.h"
#include "sdldraw.h"
#include "sdlmain.h"

namespace {

struct Opened {
    int result;
    std::string out;
    std::string err;
};

// Opens video with the given logical size and scale, capturing what it prints.
Opened open(int w, int h, int factor)
{
    screenWidth = w;
    screenHeight = h;
    scale = factor;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Opened o;
    o.result = initSDL();
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

// Gives every logical pixel its own value.
void fillPattern(SDL_Surface *s)
{
    for (int y = 0; y < s->h; y++)
        for (int x = 0; x < s->w; x++)
            putPixel(s, x, y, (Uint32)((x * 7 + y * 131 + 1) & 0xFFFF));
}

// Display pixels that differ from the logical pixel they should show.
int scaledMismatches(int factor)
{
    int bad = 0;
    for (int y = 0; y < screen->h * factor; y++)
        for (int x = 0; x < screen->w * factor; x++)
            if (getPixel(screenScaled, x, y) != getPixel(screen, x / factor, y / factor))
                bad++;
    return bad;
}

class Video : public testing::Test {
protected:
    void TearDown() override
    {
        cleanSDL();
        screenWidth = 160;
        screenHeight = 120;
        scale = 2;
        gameMode = MODE_EXIT;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
};

} // namespace

TEST_F(Video, TheDefaultIsA160By120ScreenShownTwiceAsLarge)
{
    Opened o = open(160, 120, 2);
    ASSERT_EQ(o.result, 0) << o.err;
    EXPECT_EQ(o.out, "320x240 16bpp (160x120, x2)\n");
    EXPECT_EQ(o.err, "");
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screenScaled, nullptr);
    EXPECT_EQ(screen->w, 160);
    EXPECT_EQ(screen->h, 120);
    EXPECT_EQ(screen->format->BitsPerPixel, 16);
    EXPECT_EQ(screenScaled->w, 320);
    EXPECT_EQ(screenScaled->h, 240);
    EXPECT_EQ(screenScaled->format->BitsPerPixel, 16);
    EXPECT_EQ(framesPerSecond, 60);
}

TEST_F(Video, MouseMotionNeverEntersTheEventQueueWhileButtonsKeysAndQuitDo)
{
    ASSERT_EQ(open(160, 120, 2).result, 0);
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    // Moving the pointer goes through SDL's own motion handling.
    for (int i = 0; i < 200; i++)
        SDL_WarpMouse((Uint16)(i % 300), (Uint16)(i % 200));
    EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0);
    EXPECT_EQ(SDL_EventState(SDL_KEYDOWN, SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SDL_EventState(SDL_QUIT, SDL_QUERY), SDL_ENABLE);
}

TEST_F(Video, SmallSizesAreRaisedAndScaleZeroMeansUnscaled)
{
    Opened o = open(100, 100, 2);
    EXPECT_EQ(o.out, "320x240 16bpp (160x120, x2)\n");
    cleanSDL();

    o = open(200, 150, 0);
    ASSERT_EQ(o.result, 0);
    EXPECT_EQ(o.out, "200x150 16bpp\n");
    EXPECT_EQ(scale, 1);
    EXPECT_EQ(screenScaled, nullptr);
    EXPECT_EQ(screen, SDL_GetVideoSurface()); // drawing goes straight to the display
    EXPECT_EQ(flip(), 0);
}

TEST_F(Video, FailuresToStartAreReported)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    Opened o = open(160, 120, 2);
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.err.rfind("ERROR: (initSDL) Unable to initialize SDL: ", 0), 0u) << o.err;
    setenv("SDL_VIDEODRIVER", "dummy", 1);

    // Sizes beyond what SDL 1.2 surfaces can address are refused.
    o = open(20000, 120, 2);
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.err, "ERROR: (initSDL) Unable to set the resolution: 20000x120 16bpp (x2 scale)\n");
    EXPECT_EQ(o.out, "");
    cleanSDL();

    o = open(160, 40000, 1);
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.err, "ERROR: (initSDL) Unable to set the resolution: 160x40000 16bpp\n");
}

TEST_F(Video, EveryScaleAboveOneShowsTheWholeLogicalScreen)
{
    for (int factor : {2, 3, 4, 5}) {
        Opened o = open(160, 120, factor);
        ASSERT_EQ(o.result, 0) << "scale " << factor;
        EXPECT_EQ(screenScaled->w, 160 * factor);
        fillPattern(screen);
        EXPECT_EQ(flip(), 0);
        EXPECT_EQ(scaledMismatches(factor), 0) << "scale " << factor;
        cleanSDL();
    }
    Opened o = open(200, 150, 2);
    EXPECT_EQ(o.out, "400x300 16bpp (200x150, x2)\n");
}

TEST_F(Video, AnOddWidthWithPaddedRowsIsScaledInFull)
{
    for (int factor : {2, 4}) {
        Opened o = open(161, 121, factor);
        ASSERT_EQ(o.result, 0);
        fillPattern(screen);
        flip();
        EXPECT_EQ(scaledMismatches(factor), 0) << "scale " << factor;
        cleanSDL();
    }
}

TEST_F(Video, TheIntroIsPresentedUnscaled)
{
    ASSERT_EQ(open(160, 120, 2).result, 0);
    SDL_FillRect(screenScaled, nullptr, 0x1234);
    fillPattern(screen);
    gameMode = MODE_INTRO;
    EXPECT_EQ(flip(), 0);
    EXPECT_EQ(getPixel(screenScaled, 0, 0), 0x1234u);
    EXPECT_EQ(getPixel(screenScaled, 319, 239), 0x1234u);
    gameMode = MODE_MENU;
    flip();
    EXPECT_EQ(scaledMismatches(2), 0);
}

TEST_F(Video, ShutdownForgetsTheSurfaces)
{
    ASSERT_EQ(open(160, 120, 2).result, 0);
    cleanSDL();
    EXPECT_EQ(screen, nullptr);
    EXPECT_EQ(screenScaled, nullptr);
}
