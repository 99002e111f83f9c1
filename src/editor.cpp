#include "editor.h"

#include <cstdio>

#include "camera.h"
#include "fileio.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "sdldraw.h"
#include "sdlmain.h"

// Logic steps a held direction waits between two marker moves (after the
// moving step itself, so one move every 11 steps).
const int MARKER_REPEAT_STEPS = 10;

// Drawn frames the marker stays in one blink phase, after the toggling frame
// (so it toggles every 51 frames).
const int MARKER_BLINK_FRAMES = 50;

// The marker's colour, a dark green that hides the tile beneath it.
const Uint8 MARKER_RED = 8;
const Uint8 MARKER_GREEN = 56;
const Uint8 MARKER_BLUE = 8;

// Where the tile number is drawn, in pixels from the right and bottom edges.
const int TILE_NUMBER_FROM_RIGHT = 43;
const int TILE_NUMBER_FROM_BOTTOM = 16;

// The level saved when none was named on the command line.

int editorMode = EDITOR_UPDATE;
Box marker = {0, 0, 16, 16};
int markerWaitMoveTime = 0;
int markerBlinkTime = 0;
int markerDraw = 0;
int tmpTile = 0;
int lastTile = 0;
int newTile = 0;
char curTile[4];

// The marked cell of layer 0, or null when the marker lies outside the level
// (no level loaded).
static unsigned char *editorMarkedCell(void)
{
    const mapLayer &layer = curLvl.layer0;
    if (layer.array == nullptr || marker.x < 0 || marker.x >= layer.w || marker.y < 0 ||
        marker.y >= layer.h)
        return nullptr;
    return &layer.array[marker.x][marker.y];
}

// Keeps value within 0 .. size - 1; an empty axis (size 0) gives 0.
static int editorClamp(int value, int size)
{
    if (value > size - 1)
        value = size - 1;
    if (value < 0)
        value = 0;
    return value;
}

// Holds the marker inside layer 0. A marker kept from a visit to a larger
// level is brought back in here before it is used.
static void editorClampMarker(void)
{
    marker.x = editorClamp(marker.x, curLvl.layer0.w);
    marker.y = editorClamp(marker.y, curLvl.layer0.h);
}

// Reads the held directions into moveX, moveY; returns 1 when any is held.
static int editorReadDirections(int *moveX, int *moveY)
{
    *moveX = 0;
    *moveY = 0;
    if (keyPress.key[UP] == 1)
        *moveY = -1;
    if (keyPress.key[DOWN] == 1)
        *moveY = 1;
    if (keyPress.key[LEFT] == 1)
        *moveX = -1;
    if (keyPress.key[RIGHT] == 1)
        *moveX = 1;
    return keyPress.key[UP] == 1 || keyPress.key[DOWN] == 1 || keyPress.key[LEFT] == 1 ||
           keyPress.key[RIGHT] == 1;
}

// Moves the marker one cell, at most once every MARKER_REPEAT_STEPS + 1 steps
// while a direction is held; releasing all directions ends the wait.
static void editorMoveMarker(int moveX, int moveY, int anyMoveKeyPressed)
{
    if (markerWaitMoveTime > 0) {
        markerWaitMoveTime--;
    } else {
        marker.x += moveX;
        marker.y += moveY;
        editorClampMarker();
        markerWaitMoveTime = MARKER_REPEAT_STEPS;
    }
    if (!anyMoveKeyPressed)
        markerWaitMoveTime = 0;
}

// Leaves the editor in marker mode, so that the next visit starts there even
// when an edit was requested in the leaving step.
static int editorLeave(void)
{
    editorMode = EDITOR_UPDATE;
    return 1;
}

// One step of moving the marker; returns 1 when the editor is to be left
// (after saving on OK, without saving on MENU).
int editorUpdate(void)
{
    editorClampMarker();

    int moveX, moveY;
    int anyMoveKeyPressed = editorReadDirections(&moveX, &moveY);

    // JUMP starts an edit from the next step on. The value to restore on a
    // cancel is taken once the marker has moved, from the cell actually edited.
    int editRequested = 0;
    if (takePress(JUMP) && editorMarkedCell() != nullptr) {
        editorMode = EDITOR_EDIT;
        editRequested = 1;
    }

    // OK saves and leaves; a failed save is reported by saveMap.
    if (takePress(OK)) {
        saveMap(logicLevelFile());
        return editorLeave();
    }

    // MENU leaves without saving.
    if (takePress(MENU))
        return editorLeave();

    // Marker movement with its repeat delay.
    editorMoveMarker(moveX, moveY, anyMoveKeyPressed);
    if (editRequested)
        tmpTile = *editorMarkedCell();

    // The camera follows the marked cell's centre.
    centerCameraOnCoords(marker.x * TILE_SIZE + marker.w / 2, marker.y * TILE_SIZE + marker.h / 2);
    return 0;
}

// Ends the current edit: back to moving the marker.
static void editorEndEdit(void)
{
    editorMode = EDITOR_UPDATE;
}

// Cancels the current edit, giving the cell back the value it had when the
// edit began.
static void editorCancelEdit(unsigned char *cell)
{
    *cell = (unsigned char)tmpTile;
    editorEndEdit();
}

// One step of changing the marked tile: UP/DOWN a tileset row (16 tiles), LEFT/RIGHT one
// tile, JUMP accepts, ACTION or MENU cancels.
void editorTileEdit(void)
{
    // 1 while the next call is the first of an edit, so the empty-cell
    // pre-fill is still to be done; a cancel leaves it disarmed.
    static int lastTileCheck = 1;

    unsigned char *cell = editorMarkedCell();
    if (cell == nullptr) {
        editorEndEdit();
        return;
    }

    // An empty cell starts from the tile last placed on an empty cell.
    if (lastTileCheck == 1) {
        if (*cell == 0) {
            newTile = 1;
            *cell = (unsigned char)lastTile;
        }
        lastTileCheck = 0;
    }

    // Changes wrap around as a byte, so tile 0 is one step left of 255.
    if (takePress(UP))
        *cell = (unsigned char)(*cell - SHEET_CELLS_PER_ROW);
    if (takePress(DOWN))
        *cell = (unsigned char)(*cell + SHEET_CELLS_PER_ROW);
    if (takePress(LEFT))
        *cell = (unsigned char)(*cell - 1);
    if (takePress(RIGHT))
        *cell = (unsigned char)(*cell + 1);

    // Accept; an edit begun on an empty cell sets the tile offered next time.
    if (takePress(JUMP)) {
        if (newTile == 1)
            lastTile = *cell;
        newTile = 0;
        lastTileCheck = 1;
        editorEndEdit();
    }

    // ACTION or MENU cancels: the cell gets its old value back.
    if (takePress(ACTION))
        editorCancelEdit(cell);
    if (takePress(MENU))
        editorCancelEdit(cell);
}

// Draws the blinking marker (hidden while a tile is edited, so the tile shows)
// and the number of the marked tile in the bottom-right corner.
void editorDraw(void)
{
    int x = marker.x * TILE_SIZE - camera.x;
    int y = marker.y * TILE_SIZE - camera.y;

    // The blink is counted in drawn frames, not logic steps.
    if (markerBlinkTime > 0) {
        markerBlinkTime--;
    } else {
        markerBlinkTime = MARKER_BLINK_FRAMES;
        markerDraw = !markerDraw;
    }

    // Hidden while a tile is edited, so the tile itself shows.
    if (markerDraw == 1 && editorMode == EDITOR_UPDATE)
        dFillRect(x, y, marker.w, marker.h, MARKER_RED, MARKER_GREEN, MARKER_BLUE);

    // The marked tile's number.
    const unsigned char *cell = editorMarkedCell();
    if (cell == nullptr) {
        curTile[0] = '\0';
        return;
    }
    snprintf(curTile, sizeof curTile, "%d", *cell);
    dText(curTile, screenWidth - TILE_NUMBER_FROM_RIGHT, screenHeight - TILE_NUMBER_FROM_BOTTOM);
}
