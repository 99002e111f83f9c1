// The collision extraction tool.
#include <gtest/gtest.h>

#include <SDL.h>
#include <algorithm>
#include <string>

#include "fileio.h"
#include "test_util.h"
#include "tools.h"

// A 16-bit display to convert bitmaps to; the tool writes dir/out.col.
class Extraction : public testing::Test {
protected:
    TempDir dir;
    void SetUp() override { ASSERT_NE(SDL_SetVideoMode(160, 120, 16, SDL_SWSURFACE), nullptr); }
    void TearDown() override { SDL_Quit(); }

    // Runs the tool on input; returns what it printed, "stdout|stderr".
    std::string extract(const std::string &input)
    {
        return printed([&] { extractCollisionData(input.c_str(), (dir.path + "/out.col").c_str()); });
    }

    // Saves a 24-bit bitmap as dir/in.bmp and releases it; returns the path.
    std::string save(SDL_Surface *bitmap)
    {
        SDL_SaveBMP(bitmap, (dir.path + "/in.bmp").c_str());
        SDL_FreeSurface(bitmap);
        return dir.path + "/in.bmp";
    }
};

// Which colour makes which mask value in which tile, the shipped file below shows.
TEST_F(Extraction, AColourOfNoKindWarnsWithItsPlaceAndBecomesEmpty)
{
    SDL_Surface *bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 272, 272, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    SDL_FillRect(bitmap, nullptr, 0x000000); // solid everywhere
    SDL_Rect dot = {41 % 16 * 17 + 7, 41 / 16 * 17 + 1, 1, 1};
    SDL_FillRect(bitmap, &dot, 0x808080);
    EXPECT_EQ(extract(save(bitmap)),
              "WARNING: TILE:41 x:7 y:1 contains incorrect color for the collision layer. Ignoring...\n"
              "Saving collision layer\n|");
    unsigned char layer[TILE_COUNT][TILE_SIZE][TILE_SIZE];
    ASSERT_EQ(loadCollisionLayer(layer, (dir.path + "/out.col").c_str()), 0);
    EXPECT_EQ(std::count(&layer[0][0][0], &layer[0][0][0] + sizeof layer, 0), 1);
    EXPECT_EQ(layer[41][1][7], 0);
}

TEST_F(Extraction, ABitmapThatIsMissingOrSmallerThanTheTileGridWritesNothing)
{
    EXPECT_NE(extract("missing.bmp").find("ERROR: (extractCollisionData) Can't load missing.bmp"), std::string::npos);
    const std::string small = save(SDL_CreateRGBSurface(SDL_SWSURFACE, 271, 270, 24, 0, 0, 0, 0));
    EXPECT_EQ(extract(small),
              "|ERROR: (extractCollisionData) " + small + " is 271x270, smaller than 271x271, nothing written\n");
    EXPECT_FALSE(fileExists(dir.path + "/out.col"));
    extract(save(SDL_CreateRGBSurface(SDL_SWSURFACE, 271, 271, 24, 0, 0, 0, 0))); // exactly the grid is enough
    EXPECT_TRUE(fileExists(dir.path + "/out.col"));
}

TEST_F(Extraction, TheShippedCollisionFileIsWhatTheToolMakesOfTheTilesetBitmap)
{
    EXPECT_EQ(extract("./data/maps/tiles01col.bmp"), "Saving collision layer\n|"); // only the five colours
    EXPECT_EQ(readFile(dir.path + "/out.col"), readFile("./data/maps/default.col"))
        << "regenerate with: build/kettlemoor -e data/maps/tiles01col.bmp data/maps/default.col";
}
