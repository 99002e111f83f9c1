// The level model: tile grids, collision lookup and releasing a level.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "map.h"

namespace {

// Every test starts and ends with no level loaded.
class MapModel : public ::testing::Test {
protected:
    void SetUp() override { freeMap(); }
    void TearDown() override { freeMap(); }
};

} // namespace

TEST_F(MapModel, AOneByOneLayerAllocatesOneCellAndSaysSo)
{
    mapLayer &layer = curLvl.layer0;
    layer.w = 1;
    layer.h = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(initMapArray(&layer), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Map of 1, 1 inited\n");
    ASSERT_NE(layer.array, nullptr);
    layer.array[0][0] = 9;
    EXPECT_EQ(layer.array[0][0], 9);
}

TEST_F(MapModel, SizesThatCannotMakeAGridFailWithoutAGrid)
{
    const int badSizes[][2] = {{0, 5}, {5, 0}, {-3, 4}, {4, -1}};
    for (const auto &size : badSizes) {
        mapLayer &layer = curLvl.layer0;
        layer.w = size[0];
        layer.h = size[1];
        testing::internal::CaptureStderr();
        EXPECT_EQ(initMapArray(&layer), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Layer width/height must be greater than zero!\n");
        EXPECT_EQ(layer.array, nullptr);
    }

    // Sizes far too big for any machine are refused as out of memory, not attempted.
    const int hugeSizes[][2] = {{2000000000, 2000000000}, {2000000000, 1}, {1, 2000000000}, {30000, 30000}};
    for (const auto &size : hugeSizes) {
        mapLayer &layer = curLvl.layer1;
        layer.w = size[0];
        layer.h = size[1];
        testing::internal::CaptureStderr();
        EXPECT_EQ(initMapArray(&layer), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Not enough memory for loading the map!\n");
        EXPECT_EQ(layer.array, nullptr);
        fillMapArray(&layer, 3); // a layer without a grid is left alone
    }
    // freeMap then has no columns to release.
    EXPECT_EQ(freeMap(), 0);
}

TEST_F(MapModel, FillingStoresTheValueAsOneByte)
{
    mapLayer &layer = curLvl.layer0;
    layer.w = 4;
    layer.h = 3;
    testing::internal::CaptureStdout();
    ASSERT_EQ(initMapArray(&layer), 0);
    testing::internal::GetCapturedStdout();

    const int values[][2] = {{256, 0}, {300, 44}, {-1, 255}, {7, 7}};
    for (const auto &v : values) {
        fillMapArray(&layer, v[0]);
        for (int x = 0; x < layer.w; x++)
            for (int y = 0; y < layer.h; y++)
                EXPECT_EQ(layer.array[x][y], v[1]) << "value " << v[0] << " at " << x << "," << y;
    }
}

TEST_F(MapModel, TheCollisionMaskComesFromLayerZerosTile)
{
    curLvl.layer0.w = curLvl.layer1.w = 3;
    curLvl.layer0.h = curLvl.layer1.h = 2;
    testing::internal::CaptureStdout();
    ASSERT_EQ(initMapArray(&curLvl.layer0), 0);
    ASSERT_EQ(initMapArray(&curLvl.layer1), 0);
    testing::internal::GetCapturedStdout();
    fillMapArray(&curLvl.layer0, 0);
    fillMapArray(&curLvl.layer1, 0);
    curLvl.layer0.array[2][1] = 7;
    curLvl.layer1.array[2][1] = 8;
    for (int row = 0; row < 16; row++)
        for (int column = 0; column < 16; column++) {
            curLvl.layer0.colLayer[7][row][column] = static_cast<unsigned char>(row * 16 + column);
            curLvl.layer0.colLayer[8][row][column] = 1;
            curLvl.layer1.colLayer[7][row][column] = 4;
        }

    unsigned char out[16][16];
    returnColArray(out, 2, 1);
    EXPECT_EQ(memcmp(out, curLvl.layer0.colLayer[7], sizeof(out)), 0);
}

TEST_F(MapModel, FreeingALevelEmptiesItButKeepsTheMasks)
{
    strcpy(curLvl.name, "Moor ");
    strcpy(curLvl.tileset, "a");
    strcpy(curLvl.objTileset, "b");
    curLvl.layer0.tilesetPath = strdup("tiles.bmp");
    curLvl.layer1.tilesetPath = strdup("back.bmp");
    curLvl.layer0.tilesetIMG = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    curLvl.layer1.tilesetIMG = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    curLvl.layer0.w = 5;
    curLvl.layer0.h = 4;
    curLvl.layer1.w = 2;
    curLvl.layer1.h = 9;
    testing::internal::CaptureStdout();
    ASSERT_EQ(initMapArray(&curLvl.layer0), 0);
    ASSERT_EQ(initMapArray(&curLvl.layer1), 0);
    testing::internal::GetCapturedStdout();
    curLvl.start = Point{3, 4};
    curLvl.exit = Point{5, 6};
    curLvl.layer0.colLayer[200][15][15] = 3;

    EXPECT_EQ(freeMap(), 0);
    EXPECT_STREQ(curLvl.name, "");
    EXPECT_STREQ(curLvl.tileset, "");
    EXPECT_STREQ(curLvl.objTileset, "");
    for (const mapLayer *layer : {&curLvl.layer0, &curLvl.layer1}) {
        EXPECT_EQ(layer->array, nullptr);
        EXPECT_EQ(layer->tilesetPath, nullptr);
        EXPECT_EQ(layer->tilesetIMG, nullptr);
        EXPECT_EQ(layer->w, 0);
        EXPECT_EQ(layer->h, 0);
    }
    EXPECT_EQ(curLvl.start.x, 0);
    EXPECT_EQ(curLvl.start.y, 0);
    EXPECT_EQ(curLvl.exit.x, 0);
    EXPECT_EQ(curLvl.exit.y, 0);
    EXPECT_EQ(curLvl.layer0.colLayer[200][15][15], 3);

    // A second release without a load in between releases nothing twice.
    EXPECT_EQ(freeMap(), 0);
}
