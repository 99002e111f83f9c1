// The map file: reading a level into curLvl and the enemy list, and writing it back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "enemy.h"
#include "fileio.h"
#include "main.h"
#include "map.h"
#include "sdldraw.h"
#include "test_util.h"

namespace {

typedef std::vector<std::vector<int>> Grid; // [row][column]

// The grid of a layer, row by row, as a file lists it.
Grid gridOf(const mapLayer &layer)
{
    Grid grid;
    if (!layer.array)
        return grid;
    for (int y = 0; y < layer.h; y++) {
        std::vector<int> row;
        for (int x = 0; x < layer.w; x++)
            row.push_back(layer.array[x][y]);
        grid.push_back(row);
    }
    return grid;
}

// The creatures from the list head on, as "type x y" texts.
std::vector<std::string> creatures()
{
    std::vector<std::string> out;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        out.push_back(std::to_string(node->mob.type) + " " + std::to_string(static_cast<int>(node->mob.creature.x)) +
                      " " + std::to_string(static_cast<int>(node->mob.creature.y)));
    return out;
}

std::string repeated(const char *text, int times)
{
    std::string out;
    for (int i = 0; i < times; i++)
        out += text;
    return out;
}

std::string dataFile(const char *name)
{
    return std::string(KETTLEMOOR_SOURCE_DIR) + "/tests/data/" + name;
}

std::string shippedFile(const char *name)
{
    return std::string(KETTLEMOOR_SOURCE_DIR) + "/data/" + name;
}

// A level's text with its creature lines in the opposite order, as a load
// and a save turn them round.
std::string withCreaturesReversed(const std::string &text)
{
    const std::string section = "OBJECTS:\n";
    const size_t at = text.find(section);
    if (at == std::string::npos)
        return text;
    std::istringstream in(text.substr(at + section.size()));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    std::string out = text.substr(0, at + section.size());
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        out += *it + "\n";
    return out;
}

const char *const FEN_LEVEL = "NAME: Misty Fen\n"
                              "LAYER0_MAPTILESET: fen.bmp\n"
                              "LAYER0_SIZE: 3 2\n"
                              "LAYER1_MAPTILESET: sky.bmp\n"
                              "LAYER1_SIZE: 2 3\n"
                              "START: 1 0\n"
                              "EXIT: 2 1\n"
                              "NEXT: map02.map\n"
                              "MAP:\n"
                              "LAYER0\n"
                              "1 2 3\n"
                              "4 5 6\n"
                              "LAYER1\n"
                              "7 8\n"
                              "9 10\n"
                              "11 12\n"
                              "OBJECTS:\n"
                              "-1 16 32\n"
                              "2 32 48\n"
                              "1 48 0\n";

// Every test starts and ends with no level, no creatures and no next level.
class MapFile : public ::testing::Test {
protected:
    TempDir dir;
    std::string out;
    std::string err;

    void SetUp() override { resetLevel(); }
    void TearDown() override { resetLevel(); }

    static void resetLevel()
    {
        freeMap();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        free(mapFileNext);
        mapFileNext = nullptr;
    }

    std::string path(const char *name) const { return dir.path + "/" + name; }

    // Loads a level file, keeping what it printed in out and err.
    int loadFile(const std::string &file)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int result = loadMap(file.c_str());
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return result;
    }

    // Loads text as a level, after releasing the level loaded before.
    int loadText(const std::string &text)
    {
        freeMap();
        writeFile(path("level.map"), text);
        return loadFile(path("level.map"));
    }

    // Saves the level and returns the file's text.
    std::string saveText(const char *name = "saved.map")
    {
        testing::internal::CaptureStdout();
        EXPECT_EQ(saveMap(path(name).c_str()), 0);
        out = testing::internal::GetCapturedStdout();
        return readFile(path(name));
    }
};

} // namespace

TEST_F(MapFile, ALevelSavedAndLoadedBackIsTheSameWithItsCreaturesReversed)
{
    ASSERT_EQ(loadText(FEN_LEVEL), 0);
    EXPECT_STREQ(curLvl.name, "Misty Fen ");
    EXPECT_STREQ(curLvl.layer0.tilesetPath, "fen.bmp");
    EXPECT_STREQ(curLvl.layer1.tilesetPath, "sky.bmp");
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{7, 8}, {9, 10}, {11, 12}}));
    EXPECT_EQ(curLvl.start.x, 1);
    EXPECT_EQ(curLvl.start.y, 0);
    EXPECT_EQ(curLvl.exit.x, 2);
    EXPECT_EQ(curLvl.exit.y, 1);
    ASSERT_NE(mapFileNext, nullptr);
    EXPECT_STREQ(mapFileNext, "map02.map");
    EXPECT_EQ(creatures(), (std::vector<std::string>{"1 48 0", "2 32 48", "-1 16 32"}));
    EXPECT_NE(out.find("Map of 3, 2 inited\nMap of 2, 3 inited\n"), std::string::npos);
    EXPECT_NE(out.find("16:32:-1\n32:48:2\n48:0:1\n"), std::string::npos);

    // Positions are written as whole pixels, cut toward zero.
    EnemyListHead->mob.creature.x = 48.9f;
    EnemyListHead->next->mob.creature.y = -3.7f;

    const std::string saved = saveText();
    EXPECT_EQ(out, "Saving map\n");
    EXPECT_EQ(saved, "#This file was generated automatically, any extra lines will be overwritten\n"
                     "#Created by editor v0.0.1\n"
                     "\n"
                     "NAME: Misty Fen \n"
                     "LAYER0_MAPTILESET: fen.bmp\n"
                     "LAYER0_SIZE: 3 2\n"
                     "LAYER1_MAPTILESET: sky.bmp\n"
                     "LAYER1_SIZE: 2 3\n"
                     "START: 1 0\n"
                     "EXIT: 2 1\n"
                     "NEXT: map02.map\n"
                     "MAP:\n"
                     "LAYER0\n"
                     "1 2 3 \n"
                     "4 5 6 \n"
                     "LAYER1\n"
                     "7 8 \n"
                     "9 10 \n"
                     "11 12 \n"
                     "OBJECTS:\n"
                     "1 48 0\n"
                     "2 32 -3\n"
                     "-1 16 32\n");

    freeMap();
    ASSERT_EQ(loadFile(path("saved.map")), 0);
    EXPECT_STREQ(curLvl.name, "Misty Fen ");
    EXPECT_STREQ(curLvl.layer0.tilesetPath, "fen.bmp");
    EXPECT_STREQ(curLvl.layer1.tilesetPath, "sky.bmp");
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{7, 8}, {9, 10}, {11, 12}}));
    EXPECT_EQ(curLvl.start.x, 1);
    EXPECT_EQ(curLvl.exit.y, 1);
    EXPECT_STREQ(mapFileNext, "map02.map");
    EXPECT_EQ(creatures(), (std::vector<std::string>{"-1 16 32", "2 32 -3", "1 48 0"}));
    EXPECT_EQ(saveText("again.map"), saved.substr(0, saved.find("OBJECTS:\n")) + "OBJECTS:\n-1 16 32\n2 32 -3\n1 48 0\n");
}

TEST_F(MapFile, ANonSquareLayerIsSavedAsOneLineOfNumbersPerRow)
{
    std::string rows;
    Grid expected;
    for (int y = 0; y < 15; y++) {
        std::vector<int> row;
        for (int x = 0; x < 40; x++) {
            row.push_back((x * 7 + y * 13) % 256);
            rows += std::to_string(row.back()) + " ";
        }
        expected.push_back(row);
        rows += "\n";
    }
    ASSERT_EQ(loadText("LAYER0_SIZE: 40 15\nLAYER1_SIZE: 1 1\nMAP:\nLAYER0\n" + rows + "LAYER1\n5\n"), 0);
    ASSERT_EQ(gridOf(curLvl.layer0), expected);

    // The save holds the same 15 lines of 40 numbers, each with its blank.
    const std::string saved = saveText();
    EXPECT_NE(saved.find("MAP:\nLAYER0\n" + rows + "LAYER1\n5 \n"), std::string::npos);

    freeMap();
    ASSERT_EQ(loadFile(path("saved.map")), 0);
    EXPECT_EQ(gridOf(curLvl.layer0), expected);
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{5}}));
}

TEST_F(MapFile, ATileSectionSplitOverLinesLoadsLikeOneLinePerRow)
{
    const std::string head = "LAYER0_SIZE: 3 2\nLAYER1_SIZE: 2 2\nMAP:\n";
    const Grid layer0 = {{10, 0, 255}, {4, 5, 6}};
    const Grid layer1 = {{1, 2}, {3, 44}};

    // One row per line, with the byte wrap-around and trailing comments.
    ASSERT_EQ(loadText(head + "LAYER0\n10 256 -1 # row 0\n4 5 6#row 1\nLAYER1\n1 2\n3 300\n"), 0);
    EXPECT_EQ(gridOf(curLvl.layer0), layer0);
    EXPECT_EQ(gridOf(curLvl.layer1), layer1);

    // One number per line, with blank and comment lines in between.
    ASSERT_EQ(loadText(head + "LAYER0\n10\n\n256\n-1\n# between\n4\n5\n6\nLAYER1\n1\n2\n3\n300\n"), 0);
    EXPECT_EQ(gridOf(curLvl.layer0), layer0);
    EXPECT_EQ(gridOf(curLvl.layer1), layer1);

    // Lines that cut across rows.
    ASSERT_EQ(loadText(head + "LAYER0\n10 256\n-1 4 5 6\nLAYER1\n1 2 3\n300\n"), 0);
    EXPECT_EQ(gridOf(curLvl.layer0), layer0);
    EXPECT_EQ(gridOf(curLvl.layer1), layer1);

    // A file that ends inside the tile section leaves the rest of the cells 0.
    ASSERT_EQ(loadText(head + "LAYER0\n10 256 -1\n4\n"), 0);
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{10, 0, 255}, {4, 0, 0}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{0, 0}, {0, 0}}));
}

TEST_F(MapFile, LayerKeywordsOnlyCountInsideTheTileSectionAndEndTheirLine)
{
    ASSERT_EQ(loadText("LAYER1\nLAYER0_SIZE: 2 1\nLAYER1_SIZE: 2 1\nMAP:\n"
                       "1 2\nLAYER1 8 9\n3 4\n"),
              0);
    // "LAYER1" before "MAP:" did not select layer 1, and "8 9" after it were ignored.
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 2}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{3, 4}}));
}

TEST_F(MapFile, TheNameIsTheWordsAfterItsKeywordEachWithOneBlank)
{
    ASSERT_EQ(loadText("NAME: Old   Mill\nNAME: Road # comment\n"), 0);
    EXPECT_STREQ(curLvl.name, "Old Mill Road ");

    // A name longer than the record holds is cut to 39 characters.
    ASSERT_EQ(loadText("NAME: " + std::string(30, 'a') + " " + std::string(30, 'b') + "\nNAME: more\n"), 0);
    EXPECT_EQ(std::string(curLvl.name), std::string(30, 'a') + " " + std::string(8, 'b'));

    // An empty name is saved as the keyword and a blank and loads back empty.
    ASSERT_EQ(loadText("LAYER0_SIZE: 1 1\nLAYER1_SIZE: 1 1\n"), 0);
    const std::string saved = saveText();
    EXPECT_NE(saved.find("\nNAME: \n"), std::string::npos);
    freeMap();
    ASSERT_EQ(loadFile(path("saved.map")), 0);
    EXPECT_STREQ(curLvl.name, "");
}

TEST_F(MapFile, TheCreaturesAreReplacedOnlyByAnObjectsSection)
{
    ASSERT_EQ(loadText("OBJECTS:\n2 32 48\n"), 0);
    EXPECT_EQ(creatures(), (std::vector<std::string>{"2 32 48"}));
    EXPECT_NE(out.find("32:48:2\n"), std::string::npos);

    ASSERT_EQ(loadText("NAME: No creatures here\n"), 0);
    EXPECT_EQ(creatures(), (std::vector<std::string>{"2 32 48"}));

    ASSERT_EQ(loadText("OBJECTS:\n\n# none\n"), 0);
    EXPECT_EQ(EnemyListHead, nullptr);
}

TEST_F(MapFile, TheNextLevelNameIsReplacedAndAMissingOneSavesAsABareKeyword)
{
    ASSERT_EQ(loadText("NEXT: a.map\nNEXT: b.map\nLAYER0_SIZE: 1 1\nLAYER1_SIZE: 1 1\n"), 0);
    EXPECT_STREQ(mapFileNext, "b.map");

    // A level that names no next level does not pass on the one loaded before.
    ASSERT_EQ(loadText("LAYER0_SIZE: 1 1\nLAYER1_SIZE: 1 1\n"), 0);
    EXPECT_EQ(mapFileNext, nullptr);
    const std::string saved = saveText();
    EXPECT_NE(saved.find("\nNEXT: \n"), std::string::npos);
    EXPECT_NE(saved.find("\nLAYER0_MAPTILESET: \n"), std::string::npos);

    ASSERT_EQ(loadText("NEXT: c.map\n"), 0);
    freeMap();
    ASSERT_EQ(loadFile(path("saved.map")), 0);
    EXPECT_EQ(mapFileNext, nullptr);
    EXPECT_EQ(curLvl.layer0.tilesetPath, nullptr);
}

TEST_F(MapFile, KeywordsWithoutTheirArgumentsAndUnknownCreaturesAreIgnored)
{
    ASSERT_EQ(loadFile(dataFile("map_missing_arguments.map")), 0);
    EXPECT_STREQ(curLvl.name, "Short ");
    EXPECT_EQ(curLvl.start.x, 4);
    EXPECT_EQ(curLvl.start.y, 5);
    EXPECT_EQ(curLvl.exit.x, 7);
    EXPECT_EQ(curLvl.exit.y, 8);
    EXPECT_EQ(mapFileNext, nullptr);
    EXPECT_EQ(curLvl.layer0.tilesetPath, nullptr);
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 2}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{3}}));
    EXPECT_EQ(creatures(), (std::vector<std::string>{"-1 32 48"}));
    EXPECT_NE(out.find("WARNING: (prependElement) Unknown enemy type 9"), std::string::npos);
    EXPECT_NE(out.find("WARNING: (prependElement) Unknown enemy type -2"), std::string::npos);
}

TEST_F(MapFile, SizesThatCannotMakeAGridSkipTheNumbersAndWriteNothingOutside)
{
    ASSERT_EQ(loadFile(dataFile("map_bad_sizes.map")), 0);
    EXPECT_EQ(curLvl.layer0.array, nullptr);
    EXPECT_EQ(curLvl.layer1.array, nullptr);
    EXPECT_NE(err.find("ERROR: Layer width/height must be greater than zero!\n"), std::string::npos);
    EXPECT_NE(err.find("ERROR: Not enough memory for loading the map!\n"), std::string::npos);
    EXPECT_EQ(creatures(), (std::vector<std::string>{"2 16 16"}));
    // A level without grids saves its sizes but no rows.
    const std::string saved = saveText();
    EXPECT_NE(saved.find("MAP:\nLAYER0\nLAYER1\nOBJECTS:\n2 16 16\n"), std::string::npos);
    resetLevel();

    ASSERT_EQ(loadFile(dataFile("map_numbers_before_sizes.map")), 0);
    EXPECT_EQ(curLvl.layer0.array, nullptr);
    EXPECT_EQ(curLvl.layer1.array, nullptr);
    EXPECT_EQ(curLvl.layer0.w, 0);
    resetLevel();

    ASSERT_EQ(loadFile(dataFile("map_sizes_inside_tiles.map")), 0);
    EXPECT_EQ(curLvl.layer0.w, 4);
    EXPECT_EQ(curLvl.layer0.h, 4);
    EXPECT_EQ(curLvl.layer1.w, 1);
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 0, 100}, {100, 0, 0, 0}}));
    EXPECT_EQ(gridOf(curLvl.layer1), (Grid{{42}}));
}

TEST_F(MapFile, DamagedFilesNeverCrashTheReader)
{
    // Over-long lines are cut by the line reader; the name is cut to fit.
    ASSERT_EQ(loadText("NAME: " + std::string(5000, 'n') + "\nLAYER0_SIZE: 2 2\nLAYER1_SIZE: 1 1\nMAP:\nLAYER0\n" +
                       std::string(5000, '7') + "\n" + repeated("1 ", 2500) + "\n"),
              0);
    EXPECT_EQ(strlen(curLvl.name), 39u);
    EXPECT_EQ(gridOf(curLvl.layer0), (Grid{{1, 1}, {1, 1}}));

    // Bytes of every kind, and a shipped-looking level with random bytes changed.
    unsigned int seed = 12345;
    auto nextByte = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<char>((seed >> 16) & 0xFF);
    };
    std::string garbage;
    for (int i = 0; i < 20000; i++)
        garbage += nextByte();
    ASSERT_EQ(loadText(garbage), 0);

    for (int variant = 0; variant < 200; variant++) {
        std::string text = FEN_LEVEL;
        for (int change = 0; change < 6; change++) {
            const size_t at = static_cast<unsigned char>(nextByte()) * text.size() / 256;
            text[at] = "0123456789 -\n#:LAYER1OBJECTS"[static_cast<unsigned char>(nextByte()) % 28];
        }
        ASSERT_EQ(loadText(text), 0) << text;
        for (const mapLayer *layer : {&curLvl.layer0, &curLvl.layer1})
            if (layer->array) {
                EXPECT_GT(layer->w, 0);
                EXPECT_GT(layer->h, 0);
            }
    }
}

TEST_F(MapFile, AMissingFileChangesNothing)
{
    ASSERT_EQ(loadText(FEN_LEVEL), 0);
    const std::string missing = path("no/such.map");
    EXPECT_EQ(loadFile(missing), 1);
    EXPECT_EQ(err, "Can't open " + missing + "\n");
    EXPECT_STREQ(curLvl.name, "Misty Fen ");
    EXPECT_STREQ(mapFileNext, "map02.map");
    EXPECT_EQ(creatures().size(), 3u);
}

TEST_F(MapFile, ASaveThatFailsLeavesTheOldLevelIntact)
{
    ASSERT_EQ(loadText(FEN_LEVEL), 0);

    // A place that cannot be written.
    const std::string nowhere = path("missing/dir/level.map");
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveMap(nowhere.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (saveMap) Can't open " + nowhere + "\n");
    EXPECT_FALSE(fileExists(nowhere));

    // A disk that fills up halfway through the level.
    const std::string good = path("good.map");
    writeFile(good, "NAME: the good level\n");
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 200;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = saveMap(good.c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(readFile(good), "NAME: the good level\n");
    EXPECT_FALSE(fileExists(good + ".tmp"));
}

TEST_F(MapFile, TheShippedLevelsAreInTheEditorsOwnLayout)
{
    for (const char *name : {"maps/map01.map", "maps/demo01.map"}) {
        const std::string shipped = readFile(shippedFile(name));
        ASSERT_EQ(loadFile(shippedFile(name)), 0) << name;
        EXPECT_EQ(saveText(), withCreaturesReversed(shipped)) << name;
        resetLevel();
    }
}

// The title and the menu pages write their text over the demo level from the
// top of the screen down to y = 90; with the menu's camera 30 pixels down,
// that is the level above y = 120: rows 0-6 and the top half of row 7.
TEST_F(MapFile, TheDemoLevelKeepsTheTitleTextOverSkyAndRestartsSeamlessly)
{
    const int textBandRows = 7;   // rows wholly above level y 120
    const int halfRow = 7;        // the row whose top 8 pixels are in the band
    const int restartColumns = 10; // a 160-pixel screen: the scroll restarts from column 0
    ASSERT_EQ(loadFile(shippedFile("maps/demo01.map")), 0);
    SDL_Surface *tiles = SDL_LoadBMP(shippedFile("gfx/tiles01.bmp").c_str());
    ASSERT_NE(tiles, nullptr);
    const Uint32 transparent = SDL_MapRGB(tiles->format, 255, 0, 255);
    const mapLayer &layer = curLvl.layer0;

    for (int x = 0; x < layer.w; x++) {
        // Sky and the pale clouds (tiles 112-115) only.
        for (int y = 0; y < textBandRows; y++) {
            const int t = layer.array[x][y];
            EXPECT_TRUE(t == 0 || (t >= 112 && t <= 115)) << "tile " << t << " at " << x << "," << y;
        }
        // Row 7 holds only what stays in its bottom half.
        const int t = layer.array[x][halfRow];
        int drawnInTopHalf = 0;
        for (int py = 0; py < 8; py++)
            for (int px = 0; px < 16; px++)
                drawnInTopHalf += getPixel(tiles, (t % 16) * 17 + px, (t / 16) * 17 + py) != transparent;
        EXPECT_TRUE(t == 0 || drawnInTopHalf == 0) << "tile " << t << " at " << x << "," << halfRow;
    }

    // When the scroll starts over, the screen shows what it showed at the end.
    for (int x = 0; x < restartColumns; x++)
        for (int y = 0; y < layer.h; y++)
            EXPECT_EQ(layer.array[x][y], layer.array[layer.w - restartColumns + x][y]) << x << "," << y;

    // Layer 1 is never drawn: the same size, and empty.
    EXPECT_EQ(curLvl.layer1.w, layer.w);
    EXPECT_EQ(curLvl.layer1.h, layer.h);
    for (int x = 0; x < curLvl.layer1.w; x++)
        for (int y = 0; y < curLvl.layer1.h; y++)
            EXPECT_EQ(curLvl.layer1.array[x][y], 0);
    SDL_FreeSurface(tiles);
}
