// The level editor: the marker and its repeat delay, editing a tile, the
// empty-cell pre-fill, leaving, and the marker's blink.
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
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

const int LEVEL_W = 6;
const int LEVEL_H = 4;

class EditorTest : public ::testing::Test {
protected:
    char tileset0[16] = "tiles.bmp";
    char tileset1[16] = "tiles.bmp";

    // A 6 x 4 layer 0 allocated column by column, every cell 0 (empty), with
    // the editor in its start-of-run state.
    void SetUp() override
    {
        curLvl.layer0.w = LEVEL_W;
        curLvl.layer0.h = LEVEL_H;
        curLvl.layer0.array = (unsigned char **)malloc(LEVEL_W * sizeof(unsigned char *));
        for (int x = 0; x < LEVEL_W; x++)
            curLvl.layer0.array[x] = (unsigned char *)calloc(LEVEL_H, 1);
        curLvl.layer0.tilesetPath = tileset0;
        curLvl.layer1.tilesetPath = tileset1;
        camera = {0, 0, 160, 120};
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, screenHeight, 16, 0, 0, 0, 0);
        ASSERT_NE(screen, nullptr);
        resetEditor();
    }

    void TearDown() override
    {
        for (int x = 0; x < curLvl.layer0.w; x++)
            free(curLvl.layer0.array[x]);
        free(curLvl.layer0.array);
        curLvl.layer0.array = nullptr;
        curLvl.layer0.w = 0;
        curLvl.layer0.h = 0;
        curLvl.layer0.tilesetPath = nullptr;
        curLvl.layer1.tilesetPath = nullptr;
        SDL_FreeSurface(screen);
        screen = nullptr;
        resetEditor();
    }

    static void resetEditor()
    {
        editorMode = EDITOR_UPDATE;
        marker = {0, 0, 16, 16};
        markerWaitMoveTime = 0;
        markerBlinkTime = 0;
        markerDraw = 0;
        tmpTile = 0;
        lastTile = 0;
        newTile = 0;
        mapFile = nullptr;
        memset(&keyPress, 0, sizeof keyPress);
    }

    static unsigned char &cell(int x, int y) { return curLvl.layer0.array[x][y]; }

    // One editor step in the current mode, as the editor mode's logic runs it;
    // returns 1 when the editor is left.
    static int step()
    {
        if (editorMode == EDITOR_UPDATE)
            return editorUpdate();
        editorTileEdit();
        return 0;
    }

    // A fresh press of button followed by one step.
    static int press(int button)
    {
        keyPress.key[button] = 1;
        return step();
    }

    // Marks cell (x, y) and begins an edit of it.
    static void beginEdit(int x, int y)
    {
        marker.x = x;
        marker.y = y;
        EXPECT_EQ(press(JUMP), 0);
        EXPECT_EQ(editorMode, EDITOR_EDIT);
    }

    // Accepts one edit of a non-empty cell, which arms the empty-cell pre-fill
    // whatever edits ran before in this process.
    static void armPrefill()
    {
        cell(LEVEL_W - 1, LEVEL_H - 1) = 99;
        beginEdit(LEVEL_W - 1, LEVEL_H - 1);
        press(JUMP);
        cell(LEVEL_W - 1, LEVEL_H - 1) = 0;
        lastTile = 0;
        newTile = 0;
    }
};

} // namespace

TEST_F(EditorTest, AHeldDirectionMovesOnSteps1_12And23AndEachTapMovesAtOnce)
{
    keyPress.key[RIGHT] = 1;
    int movedOn[LEVEL_W] = {0};
    int moves = 0;
    for (int s = 1; s <= 23; s++) {
        int before = marker.x;
        step();
        if (marker.x != before)
            movedOn[moves++] = s;
    }
    EXPECT_EQ(marker.x, 3);
    ASSERT_EQ(moves, 3);
    EXPECT_EQ(movedOn[0], 1);
    EXPECT_EQ(movedOn[1], 12);
    EXPECT_EQ(movedOn[2], 23);

    // A release between two taps ends the wait.
    keyPress.key[RIGHT] = 0;
    step();
    press(LEFT);
    keyPress.key[LEFT] = 0;
    step();
    press(LEFT);
    EXPECT_EQ(marker.x, 1);

    // Two directions held together move diagonally; the later of a pair wins.
    keyPress.key[LEFT] = 0;
    step();
    keyPress.key[UP] = keyPress.key[DOWN] = 1;
    keyPress.key[LEFT] = keyPress.key[RIGHT] = 1;
    step();
    EXPECT_EQ(marker.x, 2);
    EXPECT_EQ(marker.y, 1);
}

TEST_F(EditorTest, TheMarkerStopsAtTheLevelEdgesAndStillWaitsBeforeTheNextMove)
{
    press(LEFT);
    EXPECT_EQ(marker.x, 0);
    EXPECT_EQ(markerWaitMoveTime, 10);
    keyPress.key[LEFT] = 0;
    step();
    press(UP);
    EXPECT_EQ(marker.y, 0);
    EXPECT_EQ(markerWaitMoveTime, 10);

    keyPress.key[UP] = 0;
    marker.x = LEVEL_W - 1;
    marker.y = LEVEL_H - 1;
    step();
    keyPress.key[RIGHT] = keyPress.key[DOWN] = 1;
    step();
    EXPECT_EQ(marker.x, LEVEL_W - 1);
    EXPECT_EQ(marker.y, LEVEL_H - 1);
    EXPECT_EQ(markerWaitMoveTime, 10);
}

TEST_F(EditorTest, TileChangesWrapAroundAsAByteAndACancelRestoresTheCell)
{
    cell(2, 1) = 5;
    beginEdit(2, 1);
    EXPECT_EQ(tmpTile, 5);
    EXPECT_EQ(cell(2, 1), 5) << "the edit starts at the next step";
    for (int i = 0; i < 6; i++)
        press(LEFT);
    EXPECT_EQ(cell(2, 1), 255);
    press(DOWN);
    EXPECT_EQ(cell(2, 1), 15);
    press(UP);
    press(UP);
    EXPECT_EQ(cell(2, 1), 239);
    press(ACTION);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(cell(2, 1), 5);

    // Accepted changes stay; 250 + 16 wraps to 10.
    cell(3, 1) = 250;
    beginEdit(3, 1);
    press(DOWN);
    press(JUMP);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(cell(3, 1), 10);
    press(RIGHT);
    EXPECT_EQ(cell(3, 1), 10) << "directions move the marker again";
}

TEST_F(EditorTest, AnEmptyCellStartsFromTheTileLastPlacedOnAnEmptyCell)
{
    armPrefill();

    // First empty cell of the run: offered tile 0; accept 37.
    beginEdit(0, 0);
    step();
    EXPECT_EQ(newTile, 1);
    press(DOWN);
    press(DOWN);
    for (int i = 0; i < 5; i++)
        press(RIGHT);
    press(JUMP);
    EXPECT_EQ(cell(0, 0), 37);
    EXPECT_EQ(lastTile, 37);
    EXPECT_EQ(newTile, 0);

    // A non-empty cell is not pre-filled and does not change the offer.
    cell(1, 0) = 3;
    beginEdit(1, 0);
    press(RIGHT);
    press(JUMP);
    EXPECT_EQ(cell(1, 0), 4);
    EXPECT_EQ(lastTile, 37);

    // The next empty cell shows 37 at once; a cancel empties it again...
    beginEdit(2, 0);
    step();
    EXPECT_EQ(cell(2, 0), 37);
    press(ACTION);
    EXPECT_EQ(cell(2, 0), 0);
    EXPECT_EQ(newTile, 1);

    // ...and disarms the pre-fill for the next edit, whose accepted tile
    // still becomes the offer because the cancelled edit began on an empty cell.
    beginEdit(3, 0);
    step();
    EXPECT_EQ(cell(3, 0), 0);
    press(RIGHT);
    press(JUMP);
    EXPECT_EQ(lastTile, 1);

    // Accepting re-arms it.
    beginEdit(4, 0);
    step();
    EXPECT_EQ(cell(4, 0), 1);
    press(JUMP);
}

TEST_F(EditorTest, MenuCancelsAnEditButLeavesWhileTheMarkerMoves)
{
    TempDir dir;
    InDirectory inDir(dir.path);
    ASSERT_EQ(mkdir("data", 0755), 0);
    ASSERT_EQ(mkdir("data/maps", 0755), 0);

    cell(1, 1) = 20;
    beginEdit(1, 1);
    press(RIGHT);
    EXPECT_EQ(press(MENU), 0);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(cell(1, 1), 20);
    EXPECT_EQ(step(), 0) << "one press cancels or leaves, never both";

    EXPECT_EQ(press(MENU), 1);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_FALSE(fileExists("data/maps/map01.map")) << "MENU leaves without saving";
}

TEST_F(EditorTest, OkLeavesTheEditorWhetherOrNotTheSaveSucceeds)
{
    TempDir dir;
    InDirectory inDir(dir.path);

    // No level named, and no ./data/maps to save into.
    EXPECT_EQ(press(OK), 1);
    EXPECT_EQ(keyPress.key[OK], 0);

    std::string named = dir.path + "/missing/level.map";
    mapFile = &named[0];
    EXPECT_EQ(press(OK), 1);

    // An edit asked for in the leaving step is dropped with the visit, so the
    // next visit starts by moving the marker.
    keyPress.key[JUMP] = 1;
    EXPECT_EQ(press(OK), 1);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    mapFile = nullptr;
}

TEST_F(EditorTest, AnEditStartedWhileMovingRestoresTheCellItWorksOn)
{
    cell(1, 1) = 7;
    cell(2, 1) = 9;
    marker.x = 1;
    marker.y = 1;
    keyPress.key[RIGHT] = 1;
    press(JUMP);
    keyPress.key[RIGHT] = 0;
    ASSERT_EQ(marker.x, 2);
    ASSERT_EQ(editorMode, EDITOR_EDIT);
    EXPECT_EQ(tmpTile, 9);

    press(LEFT);
    EXPECT_EQ(cell(2, 1), 8);
    press(ACTION);
    EXPECT_EQ(cell(2, 1), 9);
    EXPECT_EQ(cell(1, 1), 7);
}

TEST_F(EditorTest, AMarkerLeftOutsideASmallerLevelIsBroughtBackInside)
{
    // Even in a step that only waits before the next move.
    marker.x = 30;
    marker.y = 20;
    markerWaitMoveTime = 5;
    keyPress.key[RIGHT] = 1;
    EXPECT_EQ(step(), 0);
    EXPECT_EQ(marker.x, LEVEL_W - 1);
    EXPECT_EQ(marker.y, LEVEL_H - 1);
    keyPress.key[RIGHT] = 0;

    cell(0, LEVEL_H - 1) = 42;
    marker.x = -3;
    marker.y = 50;
    press(JUMP);
    EXPECT_EQ(marker.x, 0);
    EXPECT_EQ(marker.y, LEVEL_H - 1);
    EXPECT_EQ(editorMode, EDITOR_EDIT);
    EXPECT_EQ(tmpTile, 42);
}

TEST_F(EditorTest, WithNoLevelLoadedThereIsNoCellToEdit)
{
    for (int x = 0; x < LEVEL_W; x++)
        free(curLvl.layer0.array[x]);
    free(curLvl.layer0.array);
    curLvl.layer0.array = nullptr;
    curLvl.layer0.w = 0;
    curLvl.layer0.h = 0;

    marker.x = 4;
    keyPress.key[RIGHT] = 1;
    EXPECT_EQ(press(JUMP), 0);
    EXPECT_EQ(keyPress.key[JUMP], 0);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(marker.x, 0);
    editorDraw();
    EXPECT_STREQ(curTile, "");
    EXPECT_EQ(press(MENU), 1);
}

TEST_F(EditorTest, TheMarkerBlinksEvery51FramesAndTheTileNumberFollowsTheCell)
{
    int toggledOn[3] = {0};
    int toggles = 0;
    for (int frame = 1; frame <= 103; frame++) {
        int before = markerDraw;
        editorDraw();
        if (markerDraw != before && toggles < 3)
            toggledOn[toggles++] = frame;
    }
    EXPECT_EQ(toggles, 3);
    EXPECT_EQ(toggledOn[0], 1);
    EXPECT_EQ(toggledOn[1], 52);
    EXPECT_EQ(toggledOn[2], 103);
    EXPECT_EQ(markerDraw, 1);
    EXPECT_STREQ(curTile, "0");

    // The number of the marked cell is shown at once when an edit begins and
    // follows every change, up to three digits.
    cell(0, 0) = 1;
    beginEdit(0, 0);
    editorDraw();
    EXPECT_STREQ(curTile, "1");
    press(LEFT);
    press(LEFT);
    editorDraw();
    EXPECT_STREQ(curTile, "255");
    press(ACTION);
}
