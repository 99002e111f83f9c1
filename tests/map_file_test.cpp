// The map file: reading a level into curLvl and the enemy list, and writing it back.
#include <gtest/gtest.h>

#include <sstream>

#include "enemy.h"
#include "fileio.h"
#include "main.h"
#include "map.h"
#include "sdldraw.h"
#include "test_util.h"

// The whole loaded level as one line: name, tilesets, start, exit, next level,
// both grids row by row (a layer without a grid as "-", with its size if it kept one)
// and the creatures from the list head on as type@x,y.
static std::string level()
{
    std::ostringstream s;
    auto text = [](const char *t) { return t ? t : "-"; };
    s << "[" << curLvl.name << "] " << text(curLvl.layer0.tilesetPath) << " " << text(curLvl.layer1.tilesetPath) << " "
      << curLvl.start.x << "," << curLvl.start.y << " " << curLvl.exit.x << "," << curLvl.exit.y << " "
      << text(mapFileNext);
    for (const mapLayer *l : {&curLvl.layer0, &curLvl.layer1}) {
        s << (l->array ? " |" : " | -");
        if (!l->array && (l->w || l->h))
            s << l->w << "x" << l->h;
        for (int i = 0; l->array && i < l->w * l->h; i++)
            s << " " << (int)l->array[i % l->w][i / l->w] << (i % l->w == l->w - 1 ? " /" : "");
    }
    s << " |";
    for (const EnemyList *n = EnemyListHead; n; n = n->next)
        s << " " << n->mob.type << "@" << (int)n->mob.creature.x << "," << (int)n->mob.creature.y;
    return s.str();
}

// A level in the editor's own layout, with layers of different, non-square sizes, up to its creatures.
const std::string FEN = "#This file was generated automatically, any extra lines will be overwritten\n"
                        "#Created by editor v0.0.1\n\nNAME: Misty Fen \nLAYER0_MAPTILESET: fen.bmp\nLAYER0_SIZE: 3 2\n"
                        "LAYER1_MAPTILESET: sky.bmp\nLAYER1_SIZE: 2 3\nSTART: 1 0\nEXIT: 2 1\nNEXT: map02.map\n"
                        "MAP:\nLAYER0\n1 2 3 \n4 5 6 \nLAYER1\n7 8 \n9 10 \n11 12 \nOBJECTS:\n";

// Every test ends with no level, no creatures and no next level.
struct MapFile : public ::testing::Test {
    TempDir dir;
    const std::string file = dir.path + "/level.map";

    void TearDown() override
    {
        freeMap();
        cleanList(EnemyListHead);
        free(mapFileNext);
        EnemyListHead = nullptr, mapFileNext = nullptr;
    }
    // Loads a level file after releasing the level before; returns what it printed as "stdout|stderr".
    std::string load(const std::string &path)
    {
        freeMap();
        return printed([&] { EXPECT_EQ(loadMap(path.c_str()), 0) << path; });
    }
    std::string loadText(const std::string &text) { writeFile(file, text); return load(file); }
    // Saves the level over the level file and returns the file's text.
    std::string save() { printed([this] { EXPECT_EQ(saveMap(file.c_str()), 0); }); return readFile(file); }
};

TEST_F(MapFile, ALevelSavedAndLoadedBackIsTheSameWithItsCreaturesReversed)
{
    EXPECT_EQ(loadText(FEN + "-1 16 32\n2 32 48\n1 48 0\n").substr(0, 63),
              "Map of 3, 2 inited\nMap of 2, 3 inited\n16:32:-1\n32:48:2\n48:0:1\n|");
    const std::string fen = "[Misty Fen ] fen.bmp sky.bmp 1,0 2,1 map02.map | 1 2 3 / 4 5 6 / | 7 8 / 9 10 / 11 12 / |";
    EXPECT_EQ(level(), fen + " 1@48,0 2@32,48 -1@16,32");
    EnemyListHead->next->mob.creature.y = -3.7f; // saved as a whole pixel, cut toward zero
    EXPECT_EQ(save(), FEN + "1 48 0\n2 32 -3\n-1 16 32\n");
    load(file);
    EXPECT_EQ(level(), fen + " -1@16,32 2@32,-3 1@48,0");
}

TEST_F(MapFile, KeywordsChangeOnlyTheirOwnPartAndTileNumbersMayBreakAnywhere)
{
    // Bytes wrap round and comments end the numbers; a layer keyword ends its
    // line, and before "MAP:" it selects nothing.
    for (const char *tiles : {"LAYER0\n10 256 -1 # row 0\n4 5 6#row 1\nLAYER1\n1 2\n3 300\n",
                              "LAYER0\n10\n\n256\n-1\n# between\n4\n5\n6\nLAYER1\n1\n2\n3\n300\n",
                              "10 256\n-1 4 5 6\nLAYER1 8 9\n1 2 3\n300\n"}) {
        loadText(std::string("LAYER1\nLAYER0_SIZE: 3 2\nLAYER1_SIZE: 2 2\nMAP:\n") + tiles);
        EXPECT_EQ(level(), "[] - - 0,0 0,0 - | 10 0 255 / 4 5 6 / | 1 2 / 3 44 / |") << tiles;
    }

    // The name is its words, each followed by a blank.
    loadText("NAME: Old   Mill\nNAME: Road # comment\nNEXT: a.map\nNEXT: b.map\nOBJECTS:\n2 32 48\n");
    EXPECT_EQ(level(), "[Old Mill Road ] - - 0,0 0,0 b.map | - | - | 2@32,48");
    // Creatures and the next level are only what the file names: none here. The name is cut at 39.
    loadText("NAME: " + std::string(30, 'a') + " " + std::string(30, 'b') + "\nNAME: more\n");
    EXPECT_EQ(level(), "[" + std::string(30, 'a') + " bbbbbbbb] - - 0,0 0,0 - | - | - |");
    // Nor are they kept from the level before when a file cannot be read.
    loadText("NEXT: a.map\nOBJECTS:\n2 32 48\n");
    EXPECT_EQ(printed([this] { EXPECT_EQ(loadMap((file + ".gone").c_str()), 1); }), "|Can't open " + file + ".gone\n");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | - | - |");
    // An empty "OBJECTS:" empties the list; empty texts save as a bare keyword and load back empty.
    loadText("LAYER0_SIZE: 1 1\nLAYER1_SIZE: 1 1\nMAP:\nOBJECTS:\n\n# none\n");
    EXPECT_EQ(save().substr(FEN.find("NAME:")), "NAME: \nLAYER0_MAPTILESET: \nLAYER0_SIZE: 1 1\nLAYER1_MAPTILESET: \n"
              "LAYER1_SIZE: 1 1\nSTART: 0 0\nEXIT: 0 0\nNEXT: \nMAP:\nLAYER0\n0 \nLAYER1\n0 \nOBJECTS:\n");
    load(file);
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | 0 / | 0 / |");
}

TEST_F(MapFile, DamagedFilesNeverCrashTheReader)
{
    // Missing arguments and unknown creature types are ignored.
    EXPECT_NE(load("tests/data/map_missing_arguments.map").find("Unknown enemy type 9 at 16:16."), std::string::npos);
    EXPECT_EQ(level(), "[Short ] - - 4,5 7,8 after.map | 1 2 / | 3 / | -1@32,48");
    // Sizes that cannot make a grid refuse it, say why, skip its numbers and leave the layer 0 x 0.
    EXPECT_NE(load("tests/data/map_bad_sizes.map").find("|ERROR: Layer width/height must be greater than zero!\n"
              "ERROR: Layer of 2000000000 x 2000000000 tiles is too large!\n"), std::string::npos);
    EXPECT_EQ(level(), "[Broken ] - - 0,0 0,0 - | - | - | 2@16,16");
    EXPECT_NE(save().find("MAP:\nLAYER0\nLAYER1\nOBJECTS:\n2 16 16\n"), std::string::npos);
    load("tests/data/map_numbers_before_sizes.map");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | - | - |");
    load("tests/data/map_sizes_inside_tiles.map");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | 1 2 3 4 / 5 6 7 8 / 9 10 0 100 / 100 0 0 0 / | 42 / |");
    load("tests/data/map_damaged.map");
    EXPECT_EQ(level(), "[" + std::string(39, 'n') + "] - - 0,0 0,0 - | - | 1 1 / 1 1 / |");
}

TEST_F(MapFile, LevelsUpToTheCapLoadAndAbsurdNumbersAreRefusedOrKeptWithinALevelsReach)
{
    // Beyond 32768 tiles a side, or 16 Mi cells, a layer is too large; a size
    // without a tile section is no size at all.
    const std::string said = "Map of 32768, 15 inited\n-524288:524288:2\n|ERROR: Layer of 1 x 2147483647 tiles is too large!\n";
    EXPECT_EQ(loadText("LAYER0_SIZE: 32768 15\nLAYER1_SIZE: 1 99999999999\nSTART: -2147483648 99999999999\n"
                       "MAP:\nOBJECTS:\n2 -2147483648 2147483647\n").substr(0, said.size()), said);
    const mapLayer &l0 = curLvl.layer0, &l1 = curLvl.layer1;
    EXPECT_EQ(std::tuple(l0.w, l0.h, l0.array != nullptr, l1.w, l1.h, curLvl.start.x, curLvl.start.y),
              std::tuple(32768, 15, true, 0, 0, -32768, 32768));
    EXPECT_EQ(loadText("LAYER0_SIZE: 4097 4097\nLAYER1_SIZE: 2 2\nMAP:\nLAYER0\n"),
              "Map of 2, 2 inited\n|ERROR: Layer of 4097 x 4097 tiles is too large!\n");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | - | 0 0 / 0 0 / |");
    loadText("LAYER0_SIZE: 3 3\n");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | - | - |");
}

// The title and the menu pages write their text over the demo level from the
// top of the screen down to y = 90; with the menu's camera 30 pixels down,
// that is the level above y = 120: rows 0-6 and the top half of row 7.
TEST_F(MapFile, TheShippedLevelsSaveBackInTheEditorsLayoutAndTheDemoSuitsTheTitle)
{
    // Each level names the one that follows it; the last names none.
    const struct {
        const char *name, *next;
    } shipped[] = {{"data/maps/map01.map", "map02.map"}, {"data/maps/map02.map", "map03.map"},
                   {"data/maps/map03.map", "map04.map"}, {"data/maps/map04.map", "map05.map"},
                   {"data/maps/map05.map", "-"},         {"data/maps/demo01.map", "demo01.map"}};
    for (const auto &[name, next] : shipped) {
        load(name);
        EXPECT_EQ(std::string(mapFileNext ? mapFileNext : "-"), next) << name;
        save();
        load(file); // the creatures turned round twice are in the file's order again
        EXPECT_EQ(save(), readFile(name)) << name;
    }
    SDL_Surface *tiles = SDL_LoadBMP("data/gfx/tiles01.bmp");
    ASSERT_NE(tiles, nullptr);
    const Uint32 transparent = SDL_MapRGB(tiles->format, 255, 0, 255);
    const mapLayer &l = curLvl.layer0, &l1 = curLvl.layer1;
    for (int x = 0; x < l.w; x++)
        for (int y = 0; y < 8; y++) {
            // Only sky and the pale clouds (tiles 112-115) above row 7; in row 7 nothing in the top 8 pixels.
            int t = l.array[x][y], drawn = 0;
            for (int p = 0; p < 16 * 8; p++)
                drawn += getPixel(tiles, t % 16 * 17 + p % 16, t / 16 * 17 + p / 16) != transparent;
            EXPECT_TRUE(t == 0 || (y < 7 ? t >= 112 && t <= 115 : drawn == 0)) << t << " at " << x << "," << y;
        }
    SDL_FreeSurface(tiles);
    // After the last 10 columns, a 160-pixel screen, the scroll restarts from column 0 showing
    // the same; layer 1, never drawn, has layer 0's size and is empty.
    ASSERT_TRUE(l1.w == l.w && l1.h == l.h);
    for (int x = 0; x < l.w; x++)
        for (int y = 0; y < l.h; y++)
            EXPECT_TRUE(l1.array[x][y] == 0 && (x >= 10 || l.array[x][y] == l.array[l.w - 10 + x][y])) << x << "," << y;
}
