// The art tool's cell, outline, text and picture commands, and the interface art made
// with it: the font's glyphs, the logo and the title cards.
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

// Runs the art tool on dir/name.txt; its picture, or null with the complaint in dir/name.err.
static Bitmap pixelart(const TempDir &dir, const std::string &name)
{
    const std::string base = dir.path + "/" + name;
    const std::string cmd = KETTLEMOOR_BINARY_DIR "/pixelart " + base + ".txt " + base + ".bmp 2>" + base + ".err";
    if (std::system(cmd.c_str()) != 0)
        return Bitmap(nullptr, SDL_FreeSurface);
    return load(base + ".bmp");
}

// The art tool's drawing commands are checked through the shipped art, which
// must come out byte for byte (the art_matches_sources test).
TEST(Pixelart, SourcesThatDrawOnEachOtherFailRatherThanRecurseForEver)
{
    TempDir dir;
    // A font of 2x2 cells, 16 to a line: '%' (37, at x = 5 * 3, y = 2 * 3) lacks its bottom-right pixel.
    writeFile(dir.path + "/font.txt", "size 48 9\ncolor # 000000\nsheet 2 2 16\ncell 37\n##\n#\nend\n");
    // Text at scale 2 advances (2 + 1) * 2 per character, blanks included.
    writeFile(dir.path + "/card.txt", "size 30 20\ncolor w ffffff\ncolor r ff0000\nfill w\nfont font.txt\n"
                                      "text 1 1 2 r %  %\npicture font.txt 0 10\n");
    const Bitmap card = pixelart(dir, "card");
    ASSERT_TRUE(card);
    const unsigned pixels[][3] = {{1, 1, 0xff0000},   {4, 2, 0xff0000},   {2, 4, 0xff0000}, {3, 4, 0xffffff},
                                  {13, 1, 0xffffff},  {19, 1, 0xff0000},  {15, 16, 0},      {16, 16, 0},
                                  {15, 17, 0},        {16, 17, 0xffffff}, {0, 10, 0xffffff}};
    for (const auto &p : pixels)
        EXPECT_EQ(getPixel(card.get(), p[0], p[1]), p[2]) << p[0] << ", " << p[1];

    // A ring stays inside the cell of what it rings: the gap and the next cell keep their magenta.
    writeFile(dir.path + "/ring.txt", "size 7 3\ncolor # 000000\ncolor o ffffff\ncolor . none\nsheet 3 3 2\ncell 0\n\n..#\nend\n"
                                      "outline o\n");
    const Bitmap ring = pixelart(dir, "ring");
    ASSERT_TRUE(ring);
    const unsigned ringPixels[][3] = {{2, 1, 0}, {1, 0, 0xffffff}, {1, 2, 0xffffff}, {2, 2, 0xffffff},
                                      {0, 1, 0xff00ff}, {3, 1, 0xff00ff}, {4, 1, 0xff00ff}};
    for (const auto &p : ringPixels)
        EXPECT_EQ(getPixel(ring.get(), p[0], p[1]), p[2]) << "ring " << p[0] << ", " << p[1];

    // Sources that draw on each other fail rather than recurse forever.
    writeFile(dir.path + "/a.txt", "size 2 2\npicture b.txt 0 0\n");
    writeFile(dir.path + "/b.txt", "size 2 2\npicture a.txt 0 0\n");
    EXPECT_FALSE(pixelart(dir, "a"));
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
