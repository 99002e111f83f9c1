// The collision layer file: the line framing of the reader and the writer's layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>

#include "fileio.h"
#include "test_util.h"

namespace {

typedef unsigned char Layer[256][16][16];

// A heap layer of exactly 65,536 bytes, so a store past its end is caught.
std::unique_ptr<Layer> makeLayer(unsigned char fill)
{
    std::unique_ptr<Layer> layer(reinterpret_cast<Layer *>(new unsigned char[sizeof(Layer)]));
    memset(layer.get(), fill, sizeof(Layer));
    return layer;
}

// A row line of count numbers, all equal to value.
std::string row(int value, int count = 16)
{
    std::string line;
    for (int i = 0; i < count; i++)
        line += std::to_string(value) + " ";
    return line + "\n";
}

// A tile block: its header and 16 rows of value.
std::string block(int header, int value)
{
    std::string text = "TILE " + std::to_string(header) + "\n";
    for (int r = 0; r < 16; r++)
        text += row(value);
    return text;
}

const char *const HEAD = "#This file was generated automatically, any extra lines will be overwritten\n"
                         "#Created by editor v0.0.1\n\nLAYER:\n";

// 1 when every cell of tile t holds value.
bool tileIs(const Layer &layer, int t, unsigned char value)
{
    return std::all_of(&layer[t][0][0], &layer[t][0][0] + 256, [value](unsigned char c) { return c == value; });
}

class CollisionFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string file() const { return dir.path + "/layer.col"; }

    // Loads text into layer.
    int load(const std::string &text, Layer *layer)
    {
        writeFile(file(), text);
        return loadCollisionLayer(*layer, file().c_str());
    }
};

} // namespace

TEST_F(CollisionFile, ASavedLayerLoadsBackByteForByte)
{
    auto layer = makeLayer(0);
    for (int t = 0; t < 256; t++)
        for (int r = 0; r < 16; r++)
            for (int c = 0; c < 16; c++)
                (*layer)[t][r][c] = static_cast<unsigned char>(t * 3 + r * 16 + c);

    testing::internal::CaptureStdout();
    ASSERT_EQ(saveCollisionLayer(*layer, file().c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Saving collision layer\n");

    const std::string text = readFile(file());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4356);
    EXPECT_EQ(text.compare(0, strlen(HEAD), HEAD), 0);
    const std::string firstRows = "TILE 0\n0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 \n16 ";
    EXPECT_EQ(text.substr(strlen(HEAD), firstRows.size()), firstRows);
    EXPECT_NE(text.find("\nTILE 255\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), " \n");

    auto loaded = makeLayer(0xAA);
    ASSERT_EQ(loadCollisionLayer(*loaded, file().c_str()), 0);
    EXPECT_EQ(memcmp(layer.get(), loaded.get(), sizeof(Layer)), 0);
}

TEST_F(CollisionFile, TilesAreFramedByLineCountNotByTheirHeaders)
{
    auto layer = makeLayer(9);

    // Anything before the "LAYER:" line is ignored, numbers included; headers
    // are never read, so the block headed "TILE 7" still fills tile 3.
    std::string text = "1 2 3\nTILE 0\n" + row(4) + "\n  LAYER:  \n\n# comment\n";
    for (int t = 0; t < 3; t++)
        text += block(t, t + 1);
    text += block(7, 30);
    // Tile 4: a row of 20 numbers keeps 16; a row of 10 leaves the rest of its row as it was.
    text += "TILE 4\n" + row(5, 20) + row(6, 10);
    for (int r = 2; r < 16; r++)
        text += row(7);
    // Tile 5: a blank line inside the block is a row without numbers.
    text += "TILE 5\n" + row(8) + "\n";
    for (int r = 2; r < 16; r++)
        text += row(8);
    text += "TILE 6\n" + row(11) + "# last row of tile 6 onwards missing\n";
    ASSERT_EQ(load(text, layer.get()), 0);

    for (int t = 0; t < 3; t++)
        EXPECT_TRUE(tileIs(*layer, t, static_cast<unsigned char>(t + 1))) << "tile " << t;
    EXPECT_TRUE(tileIs(*layer, 3, 30));
    for (int c = 0; c < 16; c++) {
        EXPECT_EQ((*layer)[4][0][c], 5);
        EXPECT_EQ((*layer)[4][1][c], c < 10 ? 6 : 9);
        EXPECT_EQ((*layer)[4][15][c], 7);
        EXPECT_EQ((*layer)[5][1][c], 9);
        EXPECT_EQ((*layer)[5][15][c], 8);
        EXPECT_EQ((*layer)[6][0][c], 11);
        EXPECT_EQ((*layer)[6][2][c], 9);
    }
    for (int t = 7; t < 256; t++)
        EXPECT_TRUE(tileIs(*layer, t, 9)) << "tile " << t;

    // Words after "LAYER:" on its own line make that line the first header.
    layer = makeLayer(9);
    ASSERT_EQ(load("LAYER: TILE 0\n" + row(1) + row(2), layer.get()), 0);
    EXPECT_EQ((*layer)[0][0][0], 1);
    EXPECT_EQ((*layer)[0][1][15], 2);
    EXPECT_EQ((*layer)[0][2][0], 9);

    // Numbers are stored as bytes; words that are not numbers read as 0.
    layer = makeLayer(9);
    ASSERT_EQ(load("LAYER:\nTILE 0\n256 -1 300 x 2\n", layer.get()), 0);
    EXPECT_EQ((*layer)[0][0][0], 0);
    EXPECT_EQ((*layer)[0][0][1], 255);
    EXPECT_EQ((*layer)[0][0][2], 44);
    EXPECT_EQ((*layer)[0][0][3], 0);
    EXPECT_EQ((*layer)[0][0][4], 2);
}

TEST_F(CollisionFile, NothingIsStoredOutsideTheLayer)
{
    // More than 256 tiles: the extra ones are dropped.
    auto layer = makeLayer(0);
    std::string text = "LAYER:\n";
    for (int t = 0; t < 300; t++)
        text += block(t, t < 256 ? t % 5 : 77);
    ASSERT_EQ(load(text, layer.get()), 0);
    for (int t = 0; t < 256; t++)
        EXPECT_TRUE(tileIs(*layer, t, static_cast<unsigned char>(t % 5))) << "tile " << t;

    // Blank lines after a tile's sixteenth row do not run its rows past the
    // end; the next line with words is the next header.
    layer = makeLayer(0);
    ASSERT_EQ(load(std::string("LAYER:\n") + block(0, 1) + "\n\n# gap\n" + block(1, 2) + block(2, 3), layer.get()), 0);
    EXPECT_TRUE(tileIs(*layer, 0, 1));
    EXPECT_TRUE(tileIs(*layer, 1, 2));
    EXPECT_TRUE(tileIs(*layer, 2, 3));

    // Lines of any length, and a file of garbage, stay inside the layer too.
    layer = makeLayer(0);
    std::string noise = "LAYER:\n";
    unsigned int seed = 99;
    for (int i = 0; i < 60000; i++) {
        seed = seed * 1103515245u + 12345u;
        noise += "0123456789 \n\n-#x"[(seed >> 16) % 16];
    }
    noise += std::string(5000, '1') + "\n" + std::string(5000, ' ') + "\n";
    EXPECT_EQ(load(noise, layer.get()), 0);
}

TEST_F(CollisionFile, AMissingFileLeavesTheLayerAsItWas)
{
    auto layer = makeLayer(4);
    const std::string missing = dir.path + "/none.col";
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadCollisionLayer(*layer, missing.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can't open " + missing + "\n");
    for (int t = 0; t < 256; t++)
        EXPECT_TRUE(tileIs(*layer, t, 4));
}

TEST_F(CollisionFile, ASaveThatFailsLeavesTheOldFileIntact)
{
    auto layer = makeLayer(1);
    const std::string nowhere = dir.path + "/missing/default.col";
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveCollisionLayer(*layer, nowhere.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (saveCollisionLayer) Can't open " + nowhere + "\n");
    EXPECT_FALSE(fileExists(nowhere));

    // The disk fills up partway through the layer.
    writeFile(file(), "old masks\n");
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = saveCollisionLayer(*layer, file().c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(readFile(file()), "old masks\n");
    EXPECT_FALSE(fileExists(file() + ".tmp"));
}
