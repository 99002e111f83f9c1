// The level editor: the marker and its repeat delay, editing a tile, the
// empty-cell pre-fill, leaving, the marker's blink, placing objects, undo,
// new levels, and levels that must not be saved over.
#include <gtest/gtest.h>

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "camera.h"
#include "editor.h"
#include "enemy.h"
#include "fileio.h"
#include "input.h"
#include "main.h"
#include "map.h"
#include "sdlmain.h"
#include "test_util.h"

namespace {

const int W = 6; // the test level's size in tiles
const int H = 4;

// The level's objects: "type@x,y" for each creature in list order, then start and exit.
std::string level()
{
    std::string text;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        text += std::to_string(node->mob.type) + "@" + std::to_string((int)node->mob.creature.x) + "," +
                std::to_string((int)node->mob.creature.y) + " ";
    return text + "S" + std::to_string(curLvl.start.x) + "," + std::to_string(curLvl.start.y) + " E" +
           std::to_string(curLvl.exit.x) + "," + std::to_string(curLvl.exit.y);
}

struct EditorTest : ::testing::Test {
    unsigned char cells[W][H] = {};
    unsigned char *columns[W];
    char tileset[16] = "tiles.bmp";

    // A 6 x 4 layer 0 of empty cells, with the editor in its start-of-run state.
    void SetUp() override
    {
        for (int x = 0; x < W; x++)
            columns[x] = cells[x];
        curLvl.layer0.array = columns;
        curLvl.layer0.w = W;
        curLvl.layer0.h = H;
        curLvl.layer0.tilesetPath = curLvl.layer1.tilesetPath = tileset;
        curLvl.start = {0, 3};
        curLvl.exit = {5, 0};
        camera = {0, 0, 160, 120};
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, screenHeight, 16, 0, 0, 0, 0);
        editorReset();
        memset(&keyPress, 0, sizeof keyPress);
        EnemyListHead = nullptr;
    }
    void TearDown() override
    {
        editorReset();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        curLvl.start = curLvl.exit = {0, 0};
        curLvl.layer0.array = nullptr;
        curLvl.layer0.w = curLvl.layer0.h = 0;
        curLvl.layer0.tilesetPath = curLvl.layer1.tilesetPath = nullptr;
        SDL_FreeSurface(screen);
        screen = nullptr;
    }

    // One editor step in the current mode, as the editor mode runs it; 1 when left.
    static int step()
    {
        if (editorMode == EDITOR_UPDATE)
            return editorUpdate();
        editorMode == EDITOR_EDIT ? editorTileEdit() : editorObjectEdit();
        return 0;
    }

    // A fresh press of button, times times, one step each; returns the last step's result.
    static int press(int button, int times = 1)
    {
        int result = 0;
        for (int i = 0; i < times; i++)
            keyPress.key[button] = 1, result = step();
        return result;
    }

    // Marks cell (x, y) and begins an edit of it.
    static void beginEdit(int x, int y)
    {
        marker.x = x, marker.y = y;
        press(JUMP);
        ASSERT_EQ(editorMode, EDITOR_EDIT);
    }

    // Marks cell (x, y), begins an object edit of it and presses each button
    // of buttons in turn, quietly (creatures announce themselves).
    static void objectEdit(int x, int y, const std::vector<int> &buttons)
    {
        marker.x = x, marker.y = y;
        printed([&] {
            press(ACTION);
            for (int button : buttons)
                press(button);
        });
    }

    // A frog standing in cell (2, 1) and the key in (5, 3), as the editor places them.
    static void addFrogAndKey()
    {
        objectEdit(5, 3, {RIGHT, JUMP});
        objectEdit(2, 1, {RIGHT, RIGHT, RIGHT, RIGHT, JUMP});
        ASSERT_EQ(level(), "2@32,20 -1@80,56 S0,3 E5,0");
    }
};

} // namespace

TEST_F(EditorTest, AHeldDirectionMovesOnSteps1_12And23AndAtEveryTap)
{
    keyPress.key[RIGHT] = 1;
    std::string movedOn;
    for (int s = 1; s <= 23; s++) {
        const int before = marker.x;
        step();
        movedOn += marker.x != before ? std::to_string(s) + " " : "";
    }
    EXPECT_EQ(movedOn, "1 12 23 ");

    // A release between two taps ends the wait.
    keyPress.key[RIGHT] = 0;
    step();
    press(LEFT);
    keyPress.key[LEFT] = 0;
    step();
    press(LEFT);
    EXPECT_EQ(marker.x, 1);
}

TEST_F(EditorTest, TheMarkerStopsAtTheLevelEdgesAndStillWaitsBeforeTheNextMove)
{
    marker.x = 0, marker.y = H - 1;
    keyPress.key[LEFT] = keyPress.key[DOWN] = 1;
    step();
    EXPECT_EQ(std::make_pair(marker.x, marker.y), std::make_pair(0, H - 1));
    EXPECT_EQ(markerWaitMoveTime, 10);
}

TEST_F(EditorTest, TileChangesWrapAroundAsAByteAndACancelRestoresTheCell)
{
    cells[2][1] = 5;
    beginEdit(2, 1);
    press(LEFT, 6);
    EXPECT_EQ(cells[2][1], 255);
    press(DOWN);
    EXPECT_EQ(cells[2][1], 15);
    press(ACTION);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(cells[2][1], 5);
}

TEST_F(EditorTest, AnEmptyCellStartsFromTheTileLastPlacedOnAnEmptyCell)
{
    beginEdit(0, 0);
    press(DOWN, 2); // 0 + 2 * 16 + 5 = 37
    press(RIGHT, 5);
    press(JUMP);
    EXPECT_EQ(std::make_pair(cells[0][0] + 0, lastTile), std::make_pair(37, 37));

    // The next empty cell shows 37 at once; a cancel empties it again...
    beginEdit(2, 0);
    step();
    EXPECT_EQ(cells[2][0], 37);
    press(ACTION);
    EXPECT_EQ(std::make_pair(cells[2][0] + 0, newTile), std::make_pair(0, 1));

    // ...and disarms the pre-fill for the next edit, whose accepted tile still
    // becomes the offer because the cancelled edit began on an empty cell.
    beginEdit(3, 0);
    step();
    EXPECT_EQ(cells[3][0], 0);
    press(RIGHT);
    press(JUMP);
    EXPECT_EQ(lastTile, 1);

    // Accepting re-arms it.
    beginEdit(4, 0);
    step();
    EXPECT_EQ(cells[4][0], 1);
}

TEST_F(EditorTest, MenuCancelsAnEditButLeavesWhileTheMarkerMoves)
{
    TempDir dir; // a faulty save would land here
    InDirectory inDir(dir.path);
    cells[1][1] = 20;
    beginEdit(1, 1);
    press(RIGHT);
    EXPECT_EQ(press(MENU), 0);
    EXPECT_EQ(std::make_pair(editorMode, cells[1][1] + 0), std::make_pair((int)EDITOR_UPDATE, 20));
    EXPECT_EQ(step(), 0) << "one press cancels or leaves, never both";
    EXPECT_EQ(press(MENU), 1);
}

TEST_F(EditorTest, AnEditStartedWhileMovingRestoresTheCellItWorksOn)
{
    cells[1][1] = 7;
    cells[2][1] = 9;
    marker.x = marker.y = 1;
    keyPress.key[RIGHT] = 1;
    press(JUMP);
    keyPress.key[RIGHT] = 0;
    ASSERT_EQ(std::make_pair(marker.x, editorMode), std::make_pair(2, (int)EDITOR_EDIT));
    press(LEFT);
    EXPECT_EQ(cells[2][1], 8);
    press(ACTION);
    EXPECT_EQ(std::make_pair(cells[1][1] + 0, cells[2][1] + 0), std::make_pair(7, 9));
}

TEST_F(EditorTest, AMarkerLeftOutsideASmallerLevelIsBroughtBackInsideAndBlinksEvery51Draws)
{
    // Even in a step that only waits before the next move.
    marker.x = 30, marker.y = 20;
    markerWaitMoveTime = 5;
    keyPress.key[RIGHT] = 1;
    step();
    EXPECT_EQ(std::make_pair(marker.x, marker.y), std::make_pair(W - 1, H - 1));

    std::string toggledOn;
    for (int frame = 1; frame <= 103; frame++) {
        const int before = markerDraw;
        editorDraw();
        toggledOn += markerDraw != before ? std::to_string(frame) + " " : "";
    }
    EXPECT_EQ(toggledOn, "1 52 103 ");
}

TEST_F(EditorTest, ActionPlacesEachObjectFromWhatTheCellHoldsAndCancelsLeaveTheLevelAsItWas)
{
    struct Row {
        int x, y;
        std::vector<int> buttons;
        const char *expected; // the level afterwards
    } rows[] = {
        // From an empty cell ("nothing"): each creature stands on the cell's floor.
        {1, 1, {RIGHT, JUMP}, "-1@16,24 2@32,20 S0,3 E5,0"}, // the key moves
        {1, 1, {RIGHT, RIGHT, JUMP}, "0@16,17 2@32,20 -1@80,56 S0,3 E5,0"},
        {1, 1, {RIGHT, RIGHT, RIGHT, JUMP}, "1@16,22 2@32,20 -1@80,56 S0,3 E5,0"},
        {1, 1, {LEFT, LEFT, LEFT, LEFT, LEFT, JUMP}, "2@16,20 2@32,20 -1@80,56 S0,3 E5,0"},
        {1, 1, {LEFT, LEFT, LEFT, LEFT, JUMP}, "3@16,18 2@32,20 -1@80,56 S0,3 E5,0"},
        {1, 1, {LEFT, LEFT, LEFT, JUMP}, "4@16,17 2@32,20 -1@80,56 S0,3 E5,0"},
        {1, 1, {LEFT, LEFT, UP, DOWN, JUMP}, "2@32,20 -1@80,56 S1,1 E5,0"},
        {1, 1, {LEFT, JUMP}, "2@32,20 -1@80,56 S0,3 E1,1"},
        // From the frog: another creature replaces it, nothing removes it.
        {2, 1, {RIGHT, JUMP}, "3@32,18 -1@80,56 S0,3 E5,0"},
        {2, 1, {LEFT, LEFT, LEFT, LEFT, JUMP}, "-1@80,56 S0,3 E5,0"},
        // From the start: the exit moves onto it; cancels change nothing.
        {0, 3, {RIGHT, JUMP}, "2@32,20 -1@80,56 S0,3 E0,3"},
        {2, 1, {RIGHT, ACTION}, "2@32,20 -1@80,56 S0,3 E5,0"},
        {2, 1, {RIGHT, MENU}, "2@32,20 -1@80,56 S0,3 E5,0"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.y) + " -> " + row.expected);
        addFrogAndKey();
        objectEdit(row.x, row.y, row.buttons);
        EXPECT_EQ(level(), row.expected);
        EXPECT_EQ(editorMode, EDITOR_UPDATE);
        EXPECT_EQ(std::make_pair(marker.x, marker.y), std::make_pair(row.x, row.y));
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        curLvl.start = {0, 3};
        curLvl.exit = {5, 0};
    }

    // A cancelling MENU is consumed: the editor is left only by the next one.
    addFrogAndKey();
    marker.x = 2, marker.y = 1;
    printed([] { press(ACTION); });
    EXPECT_EQ(objectChoice, 3) << "the frog";
    EXPECT_EQ(press(MENU), 0);
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(press(MENU), 1);
}

TEST_F(EditorTest, BackUndoesTileAndObjectChangesInTurnMarkingTheirCellsThenDoesNothing)
{
    addFrogAndKey();
    beginEdit(3, 2);
    press(RIGHT, 2);
    press(JUMP);
    objectEdit(1, 1, {RIGHT, JUMP}); // the key moves here
    objectEdit(4, 0, {LEFT, LEFT, JUMP}); // the start
    cells[4][3] = 9;
    beginEdit(4, 3);
    press(JUMP); // accepted unchanged: nothing to undo
    ASSERT_EQ(level(), "-1@16,24 2@32,20 S4,0 E5,0");

    const char *undone[] = {
        "4,0 2 -1@16,24 2@32,20 S0,3 E5,0", "1,1 2 2@32,20 -1@80,56 S0,3 E5,0", "3,2 0 2@32,20 -1@80,56 S0,3 E5,0",
        "2,1 0 -1@80,56 S0,3 E5,0",         "5,3 0 S0,3 E5,0",                  "5,3 0 S0,3 E5,0",
    };
    for (const char *expected : undone) {
        press(BACK);
        EXPECT_EQ(std::to_string(marker.x) + "," + std::to_string(marker.y) + " " + std::to_string(cells[3][2]) +
                      " " + level(),
                  expected);
    }

    // 130 changes: the last 128 are taken back, the first two stay.
    cells[0][0] = 1;
    for (int i = 0; i < 130; i++) {
        beginEdit(0, 0);
        press(RIGHT);
        press(JUMP);
    }
    press(BACK, 200);
    EXPECT_EQ(cells[0][0], 3);
}

// Editing level files on disk, from the directory that holds ./data.
struct EditorFileTest : ::testing::Test {
    TempDir dir;
    std::string path = dir.path + "/made.map";
    void SetUp() override
    {
        editorReset();
        memset(&keyPress, 0, sizeof keyPress);
        EnemyListHead = nullptr;
        freeMap();
        mapFile = strdup(path.c_str());
    }
    void TearDown() override
    {
        editorReset();
        freeMap();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        free(mapFile);
        free(mapFileNext);
        mapFile = mapFileNext = nullptr;
    }
    static int press(int button)
    {
        keyPress.key[button] = 1;
        if (editorMode == EDITOR_UPDATE)
            return editorUpdate();
        editorMode == EDITOR_EDIT ? editorTileEdit() : editorObjectEdit();
        return 0;
    }
};

TEST_F(EditorFileTest, AMissingFileBecomesANewLevelThatOkCreatesAndPlayLoadsWithTheSameObjects)
{
    mapFileNext = strdup("previous.map");
    printed([&] { editorOpen(path.c_str()); });
    int floor = 0, other = 0;
    for (int x = 0; x < NEW_LEVEL_W; x++)
        for (int y = 0; y < NEW_LEVEL_H; y++)
            (y == NEW_LEVEL_H - 1 && curLvl.layer0.array[x][y] == 2 ? floor : other) += curLvl.layer0.array[x][y] != 0;
    EXPECT_EQ(std::make_pair(floor, other), std::make_pair(NEW_LEVEL_W, 0));
    EXPECT_EQ(std::make_tuple(curLvl.layer1.w, curLvl.layer1.h, std::string(curLvl.layer1.tilesetPath),
                              std::string(curLvl.name), mapFileNext),
              std::make_tuple(64, 15, std::string("tiles01.bmp"), std::string("made "), (char *)nullptr));
    EXPECT_EQ(level(), "S1,13 E61,13");

    // MENU creates nothing; OK creates the level with what was placed.
    EXPECT_EQ(press(MENU), 1);
    EXPECT_FALSE(fileExists(path));
    printed([&] {
        editorOpen(path.c_str());
        marker.x = 5, marker.y = 13;
        for (int button : {ACTION, LEFT, LEFT, LEFT, LEFT, LEFT, JUMP, ACTION, RIGHT, RIGHT, RIGHT, JUMP})
            press(button);
        marker.x = 9;
        for (int button : {ACTION, RIGHT, JUMP})
            press(button);
        ASSERT_EQ(level(), "-1@144,216 2@80,212 S5,13 E61,13");
        EXPECT_EQ(press(OK), 1);
        freeMap();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        ASSERT_EQ(loadMap(path.c_str()), 0);
    });
    EXPECT_EQ(level(), "2@80,212 -1@144,216 S5,13 E61,13");
    EXPECT_EQ(mapFileNext, nullptr);
}

TEST_F(EditorFileTest, AFileThatGaveNoGridIsNeverSavedOver)
{
    const char *contents[] = {
        "some notes, not a level\n",
        "LAYER0_SIZE: 40000 15\nLAYER1_SIZE: 2 2\nMAP:\nLAYER0\n1 2\nLAYER1\n3 4 5 6\n",
        "LAYER0_SIZE: 2 2\nLAYER1_SIZE: 0 0\nMAP:\nLAYER0\n1 2 3 4\n",
    };
    for (const char *text : contents) {
        writeFile(path, text);
        int left = 0;
        const std::string out = printed([&] {
            editorOpen(path.c_str());
            left = press(OK);
        });
        EXPECT_EQ(left, 1);
        // The last line on standard error names the file.
        const std::string refusal = "ERROR: (editorUpdate) " + path + " did not load as a level; not saving over it\n";
        EXPECT_EQ(out.substr(out.size() - std::min(out.size(), refusal.size())), refusal) << out;
        EXPECT_EQ(out.find("Saving map"), std::string::npos);
        EXPECT_EQ(readFile(path), text);
        freeMap();
    }
}
