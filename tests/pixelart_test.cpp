// The art tool's rings on a sheet and its refusal of sources that draw on each
// other, and the interface art made with it: the font's glyphs, the logo and the title cards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "sdldraw.h"
#include "test_util.h"

// A loaded 24-bit BMP, whose getPixel values read as RRGGBB.
using Bitmap = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

static Bitmap load(const std::string &path)
{
    return Bitmap(SDL_LoadBMP(path.c_str()), SDL_FreeSurface);
}

// Runs the art tool on dir/name.txt, its complaints going to dir/name.err; its exit status.
static int pixelart(const TempDir &dir, const std::string &name)
{
    const std::string base = dir.path + "/" + name;
    return std::system((KETTLEMOOR_BINARY_DIR "/pixelart " + base + ".txt " + base + ".bmp 2>" + base + ".err").c_str());
}

// The art tool's drawing commands (cells, outlines, scaled text, pictures) are
// checked through the shipped art, which must come out byte for byte (the
// art_matches_sources test); but no shipped sheet paints up to a cell edge, so
// none would show a ring spilling into the gap and the next cell.
TEST(Pixelart, RingsStayInTheirCellAndSourcesThatDrawOnEachOtherFail)
{
    TempDir dir;
    writeFile(dir.path + "/ring.txt", "size 7 3\ncolor # 000000\ncolor o ffffff\ncolor . none\nsheet 3 3 2\ncell 0\n\n..#\nend\n"
                                      "outline o\n");
    ASSERT_EQ(pixelart(dir, "ring"), 0);
    const Bitmap ring = load(dir.path + "/ring.bmp");
    for (int x : {3, 4}) // the gap and the next cell keep their magenta
        EXPECT_EQ(getPixel(ring.get(), x, 1), 0xff00ffu) << x;
    writeFile(dir.path + "/a.txt", "size 2 2\npicture b.txt 0 0\n");
    writeFile(dir.path + "/b.txt", "size 2 2\npicture a.txt 0 0\n");
    EXPECT_NE(pixelart(dir, "a"), 0);
    EXPECT_NE(readFile(dir.path + "/a.err").find("draw on each other too deeply"), std::string::npos);
}

TEST(InterfaceArt, EveryPrintableGlyphStaysInItsCellAndTheLogoAndTitleCardsFitTheScreens)
{
    const Bitmap font = load("data/gfx/font02.bmp");
    ASSERT_TRUE(font && font->w >= 95 && font->h >= 127);
    int drawnInCell[256] = {}, drawnInGaps = 0; // of the 5x7 cells, 16 to a line
    for (int y = 0; y < 128 && y < font->h; y++)
        for (int x = 0; x < 96 && x < font->w; x++) {
            const bool drawn = getPixel(font.get(), x, y) != 0xff00ff;
            if (x % 6 == 5 || y % 8 == 7)
                drawnInGaps += drawn;
            else
                drawnInCell[y / 8 * 16 + x / 6] += drawn;
        }
    for (int c = ' '; c < 127; c++)
        EXPECT_EQ(drawnInCell[c] > 0, c != ' ') << "glyph '" << (char)c << "'";
    EXPECT_EQ(drawnInGaps, 0);

    const Bitmap logo = load("data/gfx/gamelogo.bmp");
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->w, 112); // centred at 80 - 56
    for (const char *name : {"data/gfx/splash01.bmp", "data/gfx/splash02.bmp"}) {
        const Bitmap splash = load(name); // drawn unscaled over the whole 320x240 display
        ASSERT_TRUE(splash);
        EXPECT_EQ(splash->w, 320) << name;
        EXPECT_EQ(splash->h, 240) << name;
    }
}
