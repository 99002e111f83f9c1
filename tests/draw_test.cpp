// Per-mode drawing: where the intro's splash images go at each scale factor.
#include <gtest/gtest.h>

#include <SDL.h>

#include "intro.h"
#include "sdldraw.h"
#include "sdlmain.h"

namespace {

SDL_Surface *filledSurface(int w, int h, Uint16 colour)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0, 0, 0, 0);
    SDL_FillRect(s, nullptr, colour);
    return s;
}

Uint16 pixelAt(SDL_Surface *s, int x, int y)
{
    return static_cast<Uint16 *>(s->pixels)[y * s->pitch / 2 + x];
}

const Uint16 SPLASH1_COLOUR = 0x1234;
const Uint16 SPLASH2_COLOUR = 0x4321;

class IntroDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        screen = filledSurface(160, 120, 0);
        screenScaled = filledSurface(320, 240, 0);
        splash1IMG = filledSurface(8, 8, SPLASH1_COLOUR);
        splash2IMG = filledSurface(8, 8, SPLASH2_COLOUR);
    }
    void TearDown() override
    {
        SDL_FreeSurface(screen);
        SDL_FreeSurface(screenScaled);
        SDL_FreeSurface(splash1IMG);
        SDL_FreeSurface(splash2IMG);
        screen = screenScaled = splash1IMG = splash2IMG = nullptr;
        scale = 2;
        introController = 0;
        SDL_Quit();
    }

    // The splash images reach a surface only once blitting works.
    static bool canBlit()
    {
        SDL_Surface *probe = filledSurface(8, 8, 0);
        applySurface(0, 0, splash1IMG, probe, nullptr);
        const bool blitted = pixelAt(probe, 0, 0) == SPLASH1_COLOUR;
        SDL_FreeSurface(probe);
        return blitted;
    }

    // Draws the intro at a given step and reports the top-left pixel of the target.
    static Uint16 drawnAt(int controller, SDL_Surface *target)
    {
        SDL_FillRect(target, nullptr, 0);
        introController = controller;
        introDraw();
        return pixelAt(target, 0, 0);
    }
};

} // namespace

TEST_F(IntroDraw, TheSplashGoesToTheLogicalScreenAtScale1AndToTheDisplayAbove)
{
    ASSERT_TRUE(canBlit());

    scale = 1;
    EXPECT_EQ(drawnAt(0, screen), SPLASH1_COLOUR);
    EXPECT_EQ(drawnAt(179, screen), SPLASH1_COLOUR);
    EXPECT_EQ(drawnAt(180, screen), SPLASH2_COLOUR);
    EXPECT_EQ(pixelAt(screenScaled, 0, 0), 0);

    scale = 2;
    SDL_FillRect(screen, nullptr, 0);
    EXPECT_EQ(drawnAt(179, screenScaled), SPLASH1_COLOUR);
    EXPECT_EQ(drawnAt(181, screenScaled), SPLASH2_COLOUR);
    EXPECT_EQ(pixelAt(screen, 0, 0), 0);
}
