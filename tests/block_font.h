// A stand-in for the game's font whose every glyph is a solid 5x7 block of
// its own colour, so the logical screen's pixels tell which glyph landed where.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include "sdldraw.h"
#include "sdlmain.h"
#include "test_util.h"

// Raw 16-bit value of the block glyph for byte c.
inline Uint32 glyphColour(int c) { return 0x100u + (Uint32)c; }

// Glyph c is on the screen whole, starting exactly at (x, y).
inline bool glyphAt(int c, int x, int y)
{
    const Uint32 colour = glyphColour(c);
    return getPixel(screen, x, y) == colour && getPixel(screen, x + 4, y + 6) == colour &&
           (x == 0 || getPixel(screen, x - 1, y) != colour) &&
           (y == 0 || getPixel(screen, x, y - 1) != colour);
}

// The one-line text is on the screen whole, starting exactly at (x, y).
inline bool textAt(const char *text, int x, int y)
{
    for (int k = 0; text[k] != '\0'; k++)
        if (!glyphAt((unsigned char)text[k], x + 6 * k, y))
            return false;
    return true;
}

// The default black 160x120 logical screen shown at scale 2, with fontIMG the
// block font laid out 16 cells to a line and cut by clipImage as the game does.
class BlockFontScreen : public testing::Test {
protected:
    void SetUp() override
    {
        screenWidth = 160;
        screenHeight = 120;
        scale = 2;
        ASSERT_EQ(printed(initSDL), "320x240 16bpp (160x120, x2)\n|");
        fontIMG = SDL_CreateRGBSurface(0, 96, 128, 16, 0, 0, 0, 0);
        for (int c = 0; c < 256; c++) {
            SDL_Rect cell = {(Sint16)(c % 16 * 6), (Sint16)(c / 16 * 8), 5, 7};
            SDL_FillRect(fontIMG, &cell, glyphColour(c));
        }
        clipImage(fontClip, 5, 7, 16, 255);
    }
    void TearDown() override
    {
        freeImage(&fontIMG);
        cleanSDL();
    }
};
