// The collision layer file: the line framing of the reader and the writer's layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fileio.h"
#include "test_util.h"

// n row lines of count numbers v each; a tile block is a header and 16 such rows.
static std::string rows(int v, int n, int count = 16)
{
    std::string line, text;
    for (int i = 0; i < count; i++) line += std::to_string(v) + " ";
    for (int i = 0; i < n; i++) text += line + "\n";
    return text;
}
static std::string block(int header, int v) { return "TILE " + std::to_string(header) + "\n" + rows(v, 16); }

// The layer lives in a heap block of exactly 65,536 bytes, so a store past its end is caught.
struct CollisionFile : public ::testing::Test {
    TempDir dir;
    std::vector<unsigned char> bytes = std::vector<unsigned char>(256 * 16 * 16, 9);
    std::string file() const { return dir.path + "/layer.col"; }
    unsigned char (*layer())[16][16] { return reinterpret_cast<unsigned char (*)[16][16]>(bytes.data()); }
    // n cells of tile t from row r on.
    std::string cells(int t, int r, int n = 16) { return std::string((char *)&bytes[t * 256 + r * 16], n); }
    int load(const std::string &text) { writeFile(file(), text); return loadCollisionLayer(layer(), file().c_str()); }
};

TEST_F(CollisionFile, ASavedLayerLoadsBackByteForByte)
{
    for (size_t i = 0; i < bytes.size(); i++) bytes[i] = static_cast<unsigned char>(i + i / 256 * 3);
    const std::vector<unsigned char> saved = bytes;
    EXPECT_EQ(printed([&] { EXPECT_EQ(saveCollisionLayer(layer(), file().c_str()), 0); }), "Saving collision layer\n|");
    const std::string text = readFile(file());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4356);
    EXPECT_EQ(text.substr(0, 159), "#This file was generated automatically, any extra lines will be overwritten\n"
              "#Created by editor v0.0.1\n\nLAYER:\nTILE 0\n0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 \n16 ");
    bytes.assign(bytes.size(), 0xAA);
    ASSERT_EQ(load(text), 0);
    EXPECT_EQ(bytes, saved);
}

TEST_F(CollisionFile, TilesAreFramedByLineCountNotByTheirHeaders)
{
    // Numbers before "LAYER:" are ignored; the block headed "TILE 7" fills tile 3;
    // blank lines after a sixteenth row are skipped. Tile 4 has a row of 20 numbers
    // and one of 10; tile 5 a blank row; tile 6 ends the file after one row.
    std::string text = "1 2 3\nTILE 0\n" + rows(4, 1) + " LAYER: \n#\n" + block(0, 1) + block(1, 2) + block(2, 3) +
                       block(7, 30) + "\n\n# gap\nTILE 4\n" + rows(5, 1, 20) + rows(6, 1, 10) + rows(7, 14) +
                       "TILE 5\n" + rows(8, 1) + "\n" + rows(8, 14) + "TILE 6\n" + rows(11, 1) + "# end\n";
    ASSERT_EQ(load(text), 0);
    for (int t = 0; t < 4; t++)
        EXPECT_EQ(cells(t, 0, 256), std::string(256, t < 3 ? t + 1 : 30)) << "tile " << t;
    EXPECT_EQ(cells(4, 0) + cells(4, 1) + cells(5, 1) + cells(4, 15) + cells(5, 15),
              std::string(16, 5) + std::string(10, 6) + std::string(22, 9) + std::string(16, 7) + std::string(16, 8));
    EXPECT_EQ(cells(6, 0) + cells(6, 1) + cells(7, 0, 249 * 256), std::string(16, 11) + std::string(16 + 249 * 256, 9));

    // More than 256 tiles: the extra ones are dropped.
    text = "LAYER:\n";
    for (int t = 0; t < 300; t++) text += block(t, t < 256 ? t % 5 : 77);
    ASSERT_EQ(load(text), 0);
    for (int t = 0; t < 256; t++) EXPECT_EQ(cells(t, 0, 256), std::string(256, t % 5)) << "tile " << t;
}
