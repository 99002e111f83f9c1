// The collision extraction tool.
#include <gtest/gtest.h>

#include <string>

#include "fileio.h"
#include "sdldraw.h"
#include "test_util.h"
#include "tools.h"

namespace {

// A 24-bit bitmap painted white, with a 16-bit display to convert it to.
class Extraction : public ::testing::Test {
protected:
    TempDir dir;
    SDL_Surface *bitmap = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        ASSERT_NE(SDL_SetVideoMode(160, 120, 16, SDL_SWSURFACE), nullptr);
        bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 272, 272, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        SDL_FillRect(bitmap, nullptr, SDL_MapRGB(bitmap->format, 255, 255, 255));
    }
    void TearDown() override
    {
        SDL_FreeSurface(bitmap);
        SDL_Quit();
    }

    std::string path(const char *name) const { return dir.path + "/" + name; }

    // Paints pixel (x, y) of tile t.
    void paint(int t, int x, int y, Uint8 r, Uint8 g, Uint8 b)
    {
        SDL_Rect dot = {static_cast<Sint16>((t % 16) * 17 + x), static_cast<Sint16>((t / 16) * 17 + y), 1, 1};
        SDL_FillRect(bitmap, &dot, SDL_MapRGB(bitmap->format, r, g, b));
    }

    // Saves the bitmap and reports whether it loads back.
    bool saveBitmap(const std::string &file)
    {
        SDL_SaveBMP(bitmap, file.c_str());
        SDL_Surface *probe = loadImage(file.c_str());
        if (!probe)
            return false;
        freeImage(&probe);
        return true;
    }

    // Runs the tool, keeping what it printed.
    void extract(const std::string &input, const std::string &output)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        extractCollisionData(input.c_str(), output.c_str());
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
    }

    std::string out;
    std::string err;
};

} // namespace

TEST_F(Extraction, ABitmapThatCannotBeLoadedWritesNothing)
{
    extract(path("missing.bmp"), path("out.col"));
    EXPECT_NE(err.find("ERROR: (extractCollisionData) Can't load " + path("missing.bmp")), std::string::npos);
    EXPECT_FALSE(fileExists(path("out.col")));
}

TEST_F(Extraction, EachColourBecomesItsMaskValueInItsTile)
{
    paint(17, 3, 5, 0, 0, 0);       // solid
    paint(17, 15, 15, 0, 128, 0);   // one-way platform
    paint(0, 0, 1, 0, 0, 255);      // water
    paint(255, 15, 0, 255, 0, 0);   // hazard
    paint(40, 2, 9, 255, 0, 255);   // magenta: not a collision colour
    paint(41, 7, 1, 128, 128, 128); // grey: neither
    // The one-pixel gaps between tiles are never read.
    SDL_Rect gap = {16, 0, 1, 272};
    SDL_FillRect(bitmap, &gap, SDL_MapRGB(bitmap->format, 9, 9, 9));
    ASSERT_TRUE(saveBitmap(path("tiles.bmp")));

    extract(path("tiles.bmp"), path("out.col"));
    EXPECT_EQ(out, "WARNING: TILE:40 x:2 y:9 contains incorrect color for the collision layer. Ignoring...\n"
                   "WARNING: TILE:41 x:7 y:1 contains incorrect color for the collision layer. Ignoring...\n"
                   "Saving collision layer\n");

    unsigned char layer[256][16][16];
    ASSERT_EQ(loadCollisionLayer(layer, path("out.col").c_str()), 0);
    int nonZero = 0;
    for (int t = 0; t < 256; t++)
        for (int r = 0; r < 16; r++)
            for (int c = 0; c < 16; c++)
                nonZero += layer[t][r][c] != 0;
    EXPECT_EQ(nonZero, 4);
    EXPECT_EQ(layer[17][5][3], 1);
    EXPECT_EQ(layer[17][15][15], 2);
    EXPECT_EQ(layer[0][1][0], 3);
    EXPECT_EQ(layer[255][0][15], 4);

    // Row 5 of the block headed "TILE 17" has the 1 as its fourth number.
    const std::string text = readFile(path("out.col"));
    size_t at = text.find("TILE 17\n");
    ASSERT_NE(at, std::string::npos);
    for (int line = 0; line < 6; line++)
        at = text.find('\n', at) + 1;
    EXPECT_EQ(text.substr(at, 8), "0 0 0 1 ");
}

TEST_F(Extraction, ABitmapSmallerThanTheTileGridWritesNothing)
{
    SDL_FreeSurface(bitmap);
    bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 271, 270, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ASSERT_TRUE(saveBitmap(path("small.bmp")));
    extract(path("small.bmp"), path("out.col"));
    EXPECT_NE(err.find("smaller than 271x271"), std::string::npos);
    EXPECT_FALSE(fileExists(path("out.col")));
}

TEST_F(Extraction, TheShippedCollisionFileIsWhatTheToolMakesOfTheTilesetBitmap)
{
    extract("./data/maps/tiles01col.bmp", path("default.col"));
    EXPECT_EQ(out, "Saving collision layer\n"); // every pixel is one of the five colours
    EXPECT_EQ(err, "");
    EXPECT_EQ(readFile(path("default.col")), readFile("./data/maps/default.col"))
        << "regenerate with: build/kettlemoor -e data/maps/tiles01col.bmp data/maps/default.col";
}
