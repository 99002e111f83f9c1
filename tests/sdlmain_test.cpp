// Opening video (sizes, scale factors and their messages) and presenting a
// frame through the scaler that fits it.
#include <gtest/gtest.h>

#include <string>

#include "sdl_events.h"
#include "test_util.h"

class Video : public testing::Test {
protected:
    void TearDown() override { resetGame(); }

    // Opens video at w x h and factor; returns "result|stdout|stderr".
    static std::string open(int w, int h, int factor)
    {
        screenWidth = w;
        screenHeight = h;
        scale = factor;
        int result = 0;
        const std::string text = printed([&] { result = initSDL(); });
        return std::to_string(result) + "|" + text;
    }

    // Gives every logical pixel its own value and presents the frame; returns
    // how many display pixels do not show their logical pixel.
    static int mismatchesAfterFlip()
    {
        for (int y = 0; y < screen->h; y++)
            for (int x = 0; x < screen->w; x++)
                putPixel(screen, x, y, (Uint32)((x * 7 + y * 131 + 1) & 0xFFFF));
        int bad = flip();
        for (int y = 0; y < screenHeight * scale; y++)
            for (int x = 0; x < screenWidth * scale; x++)
                bad += getPixel(screenScaled, x, y) != getPixel(screen, x / scale, y / scale);
        return bad;
    }
};

TEST_F(Video, EachOpeningSaysWhatItOpenedAndEveryScaleButTheIntroShowsTheWholeLogicalScreen)
{
    const struct { int w, h, factor; const char *printed; } cases[] = {
        {100, 100, 2, "0|320x240 16bpp (160x120, x2)\n|"},
        {200, 150, 2, "0|400x300 16bpp (200x150, x2)\n|"},
        {160, 120, 3, "0|480x360 16bpp (160x120, x3)\n|"},
        {160, 120, 4, "0|640x480 16bpp (160x120, x4)\n|"},
        {161, 121, 4, "0|644x484 16bpp (161x121, x4)\n|"}, // padded rows
        {161, 121, 2, "0|322x242 16bpp (161x121, x2)\n|"},
        {200, 150, 0, "0|200x150 16bpp\n|"}, // scale 0 draws straight onto the display
        // Sizes beyond what SDL 1.2 surfaces can address are refused.
        {20000, 120, 2, "1||ERROR: (initSDL) Unable to set the resolution: 20000x120 16bpp (x2 scale)\n"},
        {160, 40000, 1, "1||ERROR: (initSDL) Unable to set the resolution: 160x40000 16bpp\n"},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(open(c.w, c.h, c.factor), c.printed);
        // Unscaled, the logical screen is the display; scaled, the display shows all of it.
        EXPECT_TRUE(!screen || (screen == SDL_GetVideoSurface()) == (scale == 1)) << c.printed;
        EXPECT_EQ(screenScaled ? mismatchesAfterFlip() : 0, 0) << c.printed;
        cleanSDL();
    }
    ASSERT_EQ(open(160, 120, 2)[0], '0');
    // Pointer motion never reaches the queue: a busy mouse could fill it and
    // crowd out a quit request.
    for (int i = 0; i < 200; i++)
        SDL_WarpMouse((Uint16)(i % 300), (Uint16)(i % 200));
    SDL_Event e;
    EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0);
    SDL_FillRect(screenScaled, nullptr, 0x1234);
    gameMode = MODE_INTRO; // the splash is drawn straight onto the display
    EXPECT_EQ(flip(), 0);
    EXPECT_EQ(getPixel(screenScaled, 319, 239), 0x1234u);
}
