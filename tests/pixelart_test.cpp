// The art tool's sheet, picture and text commands, and the layout of the
// interface art made with it (font, life bar, logo, title cards).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

// A 24-bit BMP as the art tool writes it, read back top-down as RGB.
struct Bitmap {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
};

unsigned le32(const std::string &s, size_t at)
{
    unsigned v = 0;
    for (int i = 3; i >= 0; i--)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

Bitmap readBitmap(const std::string &path)
{
    Bitmap bmp;
    const std::string file = readFile(path);
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || file[28] != 24)
        return bmp;
    bmp.w = static_cast<int>(le32(file, 18));
    bmp.h = static_cast<int>(le32(file, 22));
    const size_t rowBytes = (static_cast<size_t>(bmp.w) * 3 + 3) & ~size_t(3);
    if (file.size() < 54 + rowBytes * bmp.h)
        return Bitmap();
    for (int y = bmp.h - 1; y >= 0; y--)
        for (int x = 0; x < bmp.w; x++) {
            const size_t at = 54 + rowBytes * y + x * 3;
            bmp.rgb.push_back(static_cast<unsigned char>(file[at + 2]));
            bmp.rgb.push_back(static_cast<unsigned char>(file[at + 1]));
            bmp.rgb.push_back(static_cast<unsigned char>(file[at]));
        }
    return bmp;
}

// The pixel at (x, y) as RRGGBB.
unsigned pixel(const Bitmap &bmp, int x, int y)
{
    const unsigned char *p = &bmp.rgb[(static_cast<size_t>(y) * bmp.w + x) * 3];
    return static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2];
}

const unsigned magenta = 0xff00ff;

// Runs the art tool on SOURCE (written into DIR as NAME.txt); true if it
// succeeded. What it complains about is left in NAME.err.
bool runPixelart(const TempDir &dir, const std::string &name, const std::string &source)
{
    const std::string base = dir.path + "/" + name;
    writeFile(base + ".txt", source);
    const std::string cmd = std::string(KETTLEMOOR_BINARY_DIR) + "/pixelart " + base + ".txt " + base +
                            ".bmp 2>" + base + ".err";
    return std::system(cmd.c_str()) == 0;
}

// Whether cell CELL of a sheet laid out as the game cuts it has a drawn pixel.
bool drawnInCell(const Bitmap &bmp, int cellW, int cellH, int perLine, int cell)
{
    const int left = cell % perLine * (cellW + 1), top = cell / perLine * (cellH + 1);
    for (int y = top; y < top + cellH; y++)
        for (int x = left; x < left + cellW; x++)
            if (pixel(bmp, x, y) != magenta)
                return true;
    return false;
}

// Whether any pixel in the 1-pixel gaps between a sheet's cells is drawn.
bool drawnInGaps(const Bitmap &bmp, int cellW, int cellH)
{
    for (int y = 0; y < bmp.h; y++)
        for (int x = 0; x < bmp.w; x++)
            if ((x % (cellW + 1) == cellW || y % (cellH + 1) == cellH) && pixel(bmp, x, y) != magenta)
                return true;
    return false;
}

} // namespace

TEST(Pixelart, ASheetCellLandsWhereTheGameCutsIt)
{
    TempDir dir;
    ASSERT_TRUE(runPixelart(dir, "sheet",
                            "size 96 128\ncolor # 0f380f\ncolor . none\nsheet 5 7 16\ncell 65\n#....\n....#\nend\n"));
    const Bitmap bmp = readBitmap(dir.path + "/sheet.bmp");
    ASSERT_EQ(bmp.w, 96);
    EXPECT_EQ(pixel(bmp, 6, 32), 0x0f380fu); // 'A' is cell 65: x = 1 * 6, y = 4 * 8
    EXPECT_EQ(pixel(bmp, 10, 33), 0x0f380fu);
    EXPECT_EQ(pixel(bmp, 7, 32), magenta);

    EXPECT_FALSE(runPixelart(dir, "nosheet", "size 8 8\ncolor # 000000\ncell 0\n#\nend\n"));
    EXPECT_FALSE(runPixelart(dir, "badsheet", "size 8 8\nsheet 0 7 16\n"));
}

TEST(Pixelart, TextIsWrittenInTheFontsCellsScaledWithBlanksKept)
{
    TempDir dir;
    // A font of 2x2 cells, 16 to a line: '%' (37) is a block missing its
    // bottom-right pixel.
    writeFile(dir.path + "/font.txt", "size 48 9\ncolor # 000000\nsheet 2 2 16\ncell 37\n##\n#\nend\n");
    ASSERT_TRUE(runPixelart(dir, "card",
                            "size 20 8\ncolor w ffffff\ncolor r ff0000\nfill w\nfont font.txt\n"
                            "text 1 1 2 r %  %\n"));
    const Bitmap bmp = readBitmap(dir.path + "/card.bmp");
    ASSERT_EQ(bmp.w, 20);
    EXPECT_EQ(pixel(bmp, 1, 1), 0xff0000u); // each glyph pixel is a 2x2 block
    EXPECT_EQ(pixel(bmp, 4, 2), 0xff0000u);
    EXPECT_EQ(pixel(bmp, 2, 4), 0xff0000u);
    EXPECT_EQ(pixel(bmp, 3, 4), 0xffffffu); // the glyph's magenta is not drawn
    // Each character advances (2 + 1) * 2 = 6: the second '%' comes after
    // the two blanks, at x = 1 + 3 * 6.
    EXPECT_EQ(pixel(bmp, 7, 1), 0xffffffu);
    EXPECT_EQ(pixel(bmp, 13, 1), 0xffffffu);
    EXPECT_EQ(pixel(bmp, 19, 1), 0xff0000u);

    EXPECT_FALSE(runPixelart(dir, "nofont", "size 8 8\ncolor r ff0000\ntext 0 0 1 r A\n"));
    EXPECT_FALSE(runPixelart(dir, "nolayout", "size 8 8\ncolor r ff0000\nfont card.txt\ntext 0 0 1 r A\n"));
}

TEST(Pixelart, APictureDrawnOnAnotherKeepsItsMagentaTransparent)
{
    TempDir dir;
    writeFile(dir.path + "/dot.txt", "size 2 1\ncolor # 00ff00\ngrid 1 0\n#\nend\n");
    ASSERT_TRUE(runPixelart(dir, "scene", "size 6 3\ncolor w ffffff\nfill w\npicture dot.txt 1 1 2\n"));
    const Bitmap bmp = readBitmap(dir.path + "/scene.bmp");
    ASSERT_EQ(bmp.w, 6);
    EXPECT_EQ(pixel(bmp, 1, 1), 0xffffffu); // the dot's magenta left the white alone
    EXPECT_EQ(pixel(bmp, 3, 1), 0x00ff00u);
    EXPECT_EQ(pixel(bmp, 4, 2), 0x00ff00u);
    EXPECT_EQ(pixel(bmp, 5, 1), 0xffffffu);

    // Sources that draw on each other fail rather than recurse forever.
    writeFile(dir.path + "/b.txt", "size 2 2\npicture a.txt 0 0\n");
    EXPECT_FALSE(runPixelart(dir, "a", "size 2 2\npicture b.txt 0 0\n"));
    EXPECT_NE(readFile(dir.path + "/a.err").find("draw on each other too deeply"), std::string::npos);
    EXPECT_FALSE(runPixelart(dir, "missing", "size 2 2\npicture nowhere.txt 0 0\n"));
}

TEST(InterfaceArt, FontHasAGlyphForEveryPrintableCharacterInsideItsCell)
{
    const Bitmap font = readBitmap("data/gfx/font02.bmp");
    ASSERT_GE(font.w, 95);
    ASSERT_GE(font.h, 127);
    for (int c = 33; c < 127; c++)
        EXPECT_TRUE(drawnInCell(font, 5, 7, 16, c)) << "no glyph for '" << static_cast<char>(c) << "'";
    EXPECT_FALSE(drawnInCell(font, 5, 7, 16, ' '));
    EXPECT_FALSE(drawnInGaps(font, 5, 7));
}

TEST(InterfaceArt, LifeBarLogoAndTitleCardsHaveTheSizesTheScreensNeed)
{
    const Bitmap lifebar = readBitmap("data/gfx/lifebar.bmp");
    ASSERT_GE(lifebar.w, 11);
    ASSERT_GE(lifebar.h, 7);
    EXPECT_TRUE(drawnInCell(lifebar, 5, 7, 2, 0));
    EXPECT_TRUE(drawnInCell(lifebar, 5, 7, 2, 1));
    EXPECT_FALSE(drawnInGaps(lifebar, 5, 7));

    // The logo sits at y = 5 and must end above "Press start" at y = 80.
    const Bitmap logo = readBitmap("data/gfx/gamelogo.bmp");
    EXPECT_EQ(logo.w, 112);
    EXPECT_LE(logo.h, 70);

    for (const char *name : {"data/gfx/splash01.bmp", "data/gfx/splash02.bmp"}) {
        const Bitmap card = readBitmap(name);
        ASSERT_EQ(card.w, 320) << name;
        ASSERT_EQ(card.h, 240) << name;
        int seeThrough = 0;
        for (int y = 0; y < card.h; y++)
            for (int x = 0; x < card.w; x++)
                seeThrough += pixel(card, x, y) == magenta;
        EXPECT_EQ(seeThrough, 0) << name << " is drawn unscaled over the display and must fill it";
    }
}
