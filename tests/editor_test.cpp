// The level editor: the marker and its repeat delay, editing a tile, the
// empty-cell pre-fill, leaving, and the marker's blink.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>
#include <string>

#include "camera.h"
#include "editor.h"
#include "input.h"
#include "main.h"
#include "map.h"
#include "sdlmain.h"
#include "test_util.h"

namespace {

const int W = 6; // the test level's size in tiles
const int H = 4;

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
        camera = {0, 0, 160, 120};
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, screenHeight, 16, 0, 0, 0, 0);
        editorMode = EDITOR_UPDATE;
        marker = {0, 0, 16, 16};
        markerWaitMoveTime = markerBlinkTime = markerDraw = tmpTile = lastTile = newTile = 0;
        memset(&keyPress, 0, sizeof keyPress);
    }
    void TearDown() override
    {
        curLvl.layer0.array = nullptr;
        curLvl.layer0.w = curLvl.layer0.h = 0;
        curLvl.layer0.tilesetPath = curLvl.layer1.tilesetPath = nullptr;
        SDL_FreeSurface(screen);
        screen = nullptr;
    }

    // One editor step in the current mode, as the editor mode runs it; 1 when left.
    static int step() { return editorMode == EDITOR_UPDATE ? editorUpdate() : (editorTileEdit(), 0); }

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
