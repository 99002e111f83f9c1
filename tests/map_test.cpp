// The level model: allocating, filling and releasing tile grids.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "map.h"
#include "test_util.h"

TEST(MapModel, GridsAreMadeOnlyForSizesThatCanBeHeldStoreBytesAndAreReleasedOnce)
{
    const struct { int w, h, result; const char *said; } cases[] = {
        {0, 5, 1, "|ERROR: Layer width/height must be greater than zero!\n"},
        {5, -1, 1, "|ERROR: Layer width/height must be greater than zero!\n"},
        {2000000000, 1, 1, "|ERROR: Layer of 2000000000 x 1 tiles is too large!\n"}, // absurd sizes fail cleanly,
        {30000, 30000, 1, "|ERROR: Layer of 30000 x 30000 tiles is too large!\n"},   // leaving nothing to fill or free
        {4, 3, 0, "Map of 4, 3 inited\n|"},
    };
    for (const auto &c : cases) {
        curLvl.layer1.w = c.w; curLvl.layer1.h = c.h;
        int result = -1;
        EXPECT_EQ(printed([&result] { result = initMapArray(&curLvl.layer1); }), c.said);
        // A refused layer keeps no size either.
        EXPECT_EQ(std::tuple(result, curLvl.layer1.array != nullptr, curLvl.layer1.w, curLvl.layer1.h),
                  std::tuple(c.result, c.result == 0, c.result ? 0 : c.w, c.result ? 0 : c.h));
        fillMapArray(&curLvl.layer1, 300);
    }
    for (auto [value, stored] : {std::pair(300, 44), std::pair(256, 0), std::pair(-1, 255)}) {
        fillMapArray(&curLvl.layer1, value);
        for (int cell = 0; cell < 4 * 3; cell++)
            EXPECT_EQ(curLvl.layer1.array[cell / 3][cell % 3], stored) << value << " in cell " << cell;
    }
    // Layer 0 gets more columns than layer 1: each layer frees its own, and a second release frees nothing.
    curLvl.layer0.w = 6; curLvl.layer0.h = 2;
    printed([] { initMapArray(&curLvl.layer0); });
    curLvl.layer0.tilesetPath = strdup("tiles.bmp");
    curLvl.layer1.tilesetIMG = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    curLvl.layer0.colLayer[200][15][15] = 3; // the masks belong to the level record, not to a load
    EXPECT_EQ(freeMap() + freeMap(), 0);
    EXPECT_EQ(std::tuple(curLvl.layer0.array, curLvl.layer1.array, curLvl.layer0.tilesetPath, curLvl.layer1.tilesetIMG),
              std::tuple(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::tuple(curLvl.layer0.w, curLvl.layer1.h, curLvl.layer0.colLayer[200][15][15]), std::tuple(0, 0, 3));
}
