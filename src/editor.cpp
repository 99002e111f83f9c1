// The editor's own mode: entering and leaving it, moving the marker, and
// drawing the level's objects, the marker and the marked tile's number.
// Editing tiles and objects, undo and the level's file have files of their own.
#include "editor_private.h"

#include <cmath>
#include <cstdio>

#include "camera.h"
#include "input.h"
#include "map.h"
#include "sdldraw.h"
#include "sdlmain.h"

// Logic steps a held direction waits between two marker moves (after the
// moving step itself, so one move every 11 steps).
const int MARKER_REPEAT_STEPS = 10;

// Drawn frames the marker stays in one blink phase, after the toggling frame
// (so it toggles every 51 frames).
const int MARKER_BLINK_FRAMES = 50;


// Where the tile number is drawn, in pixels from the right and bottom edges.
const int TILE_NUMBER_FROM_RIGHT = 43;
const int TILE_NUMBER_FROM_BOTTOM = 16;
// The object being chosen is named on the same line, from the left edge.
const int OBJECT_NAME_X = 2;
// A failed save is told in the top-left corner, clear of both of those and of
// the frame counter top right.
const int SAVE_FAILED_X = 2;
const int SAVE_FAILED_Y = 1;

// The start and exit signs: a light board with a dark frame and letter on a
// post, in the upper part of their cell. Offsets and sizes in pixels.
const int SIGN_X = 4;
const int SIGN_Y = 1;
const int SIGN_W = 9;
const int SIGN_H = 11;
const int SIGN_POST_X = 8;
const int SIGN_POST_W = 1;
const int SIGN_POST_H = 4;

// Creatures whose position is further from zero than this (pixels) are never
// in view, and their whole-pixel position would not fit an int.
const float FAR_BEYOND_ANY_LEVEL = 1e9f;

int editorMode = EDITOR_UPDATE;
Box marker = {0, 0, 16, 16};
int markerWaitMoveTime = 0;
int markerBlinkTime = 0;
int markerDraw = 0;
char curTile[4];
int editorSaveFailed = 0;

// ---- cells and the marker ----

unsigned char *editorCell(Point tile)
{
    const mapLayer &layer = curLvl.layer0;
    if (layer.array == nullptr || tile.x < 0 || tile.x >= layer.w || tile.y < 0 || tile.y >= layer.h)
        return nullptr;
    return &layer.array[tile.x][tile.y];
}

Point editorMarkedTile(void)
{
    return Point{marker.x, marker.y};
}

unsigned char *editorMarkedCell(void)
{
    return editorCell(editorMarkedTile());
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

// ---- entering, leaving and moving the marker ----

// Leaves the editor in marker mode, so that the next visit starts there even
// when an edit was requested in the leaving step. The visit's undo history
// and sample creatures go with it.
static int editorLeave(void)
{
    editorMode = EDITOR_UPDATE;
    editorSaveFailed = 0;
    editorForgetChanges();
    editorFreeSamples();
    return 1;
}

void editorReset(void)
{
    editorPlayForget();
    editorForgetChanges();
    editorFreeSamples();
    editorMode = EDITOR_UPDATE;
    marker = Box{0, 0, 16, 16};
    markerWaitMoveTime = 0;
    markerBlinkTime = 0;
    markerDraw = 0;
    editorSaveFailed = 0;
    tmpTile = 0;
    lastTile = 0;
    newTile = 0;
    curTile[0] = '\0';
    objectChoice = 0;
    lastTileCheck = 1;
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

// JUMP asks for a tile edit and ACTION for an object edit of the marked cell,
// from the next step on; returns 1 when one was asked for. With JUMP pressed,
// ACTION is left for the tile edit, which it cancels.
static int editorRequestEdit(void)
{
    if (takePress(JUMP)) {
        if (editorMarkedCell() == nullptr)
            return 0;
        editorMode = EDITOR_EDIT;
        return 1;
    }
    if (editorMarkedCell() != nullptr && takePress(ACTION)) {
        editorMode = EDITOR_OBJECT;
        return 1;
    }
    return 0;
}

// Takes what an edit starts from, from the cell it works on.
static void editorBeginEdit(void)
{
    if (editorMode == EDITOR_EDIT) {
        tmpTile = *editorMarkedCell();
    } else {
        objectChoice = editorChoiceInCell(editorMarkedTile());
        editorMakeSamples();
    }
}

// One step of moving the marker; returns 1 when the editor is to be left
// (after saving on OK, without saving on MENU). A save that fails does not leave.
int editorUpdate(void)
{
    editorClampMarker();

    int moveX, moveY;
    int anyMoveKeyPressed = editorReadDirections(&moveX, &moveY);

    // JUMP or ACTION starts an edit from the next step on. What it starts
    // from is taken once the marker has moved, from the cell actually edited.
    const int editRequested = editorRequestEdit();

    // OK saves a level that loaded, and leaves. When the level cannot be
    // written (a full disk, a folder that is gone or read-only) the editor
    // stays open with the edits and their undo history, so nothing is lost:
    // saveMap has said why, and the screen says so until the next try.
    if (takePress(OK)) {
        editorSaveFailed = editorSave(mapLevelFile());
        if (!editorSaveFailed)
            return editorLeave();
    }

    // MENU leaves without saving.
    if (takePress(MENU))
        return editorLeave();

    // Marker movement with its repeat delay; BACK then takes the last
    // change back and marks its cell.
    editorMoveMarker(moveX, moveY, anyMoveKeyPressed);
    if (takePress(BACK))
        editorUndo();
    if (editRequested)
        editorBeginEdit();

    // The camera follows the marked cell's centre.
    centerCameraOnCoords(marker.x * TILE_SIZE + marker.w / 2, marker.y * TILE_SIZE + marker.h / 2);
    return 0;
}

// Ends the current edit: back to moving the marker. BACK has no meaning in
// an edit; a press made during one is dropped, so it cannot undo afterwards.
void editorEndEdit(void)
{
    editorMode = EDITOR_UPDATE;
    keyPress.key[BACK] = 0;
}

// ---- drawing ----

// Draws a creature standing still, where it is in the level.
static void editorDrawCreature(const Creature *c, float x, float y)
{
    if (fabsf(x) > FAR_BEYOND_ANY_LEVEL || fabsf(y) > FAR_BEYOND_ANY_LEVEL)
        return;
    dCreatureStanding(c, (int)floorf(x) - camera.x, (int)floorf(y) - camera.y);
}

// Every creature of the level as New Game will load it; while an object is
// chosen, the cell shows what accepting would leave there.
static void editorDrawCreatures(void)
{
    const int choosing = editorMode == EDITOR_OBJECT;
    const Point tile = editorMarkedTile();
    for (EnemyList *node = EnemyListHead; node; node = node->next) {
        if (choosing && editorChoiceRemoves(objectChoice, tile, &node->mob))
            continue;
        editorDrawCreature(&node->mob.creature, node->mob.creature.x, node->mob.creature.y);
    }
    const Creature *sample = choosing ? editorSample(objectChoice) : nullptr;
    if (sample) {
        const Point at = editorStandingAt(tile, sample->h);
        editorDrawCreature(sample, (float)at.x, (float)at.y);
    }
}

// A small sign with a letter on a post in the cell at tile; not drawn when
// the tile lies outside the level.
static void editorDrawSign(Point tile, const char *letter)
{
    if (editorCell(tile) == nullptr)
        return;
    const int x = tile.x * TILE_SIZE - camera.x;
    const int y = tile.y * TILE_SIZE - camera.y;
    if (x <= -TILE_SIZE || y <= -TILE_SIZE || x >= screenWidth || y >= screenHeight)
        return;
    dFillRect(x + SIGN_X, y + SIGN_Y, SIGN_W, SIGN_H, DARK_R, DARK_G, DARK_B);
    dFillRect(x + SIGN_X + 1, y + SIGN_Y + 1, SIGN_W - 2, SIGN_H - 2, LIGHT_R, LIGHT_G, LIGHT_B);
    dFillRect(x + SIGN_POST_X, y + SIGN_Y + SIGN_H, SIGN_POST_W, SIGN_POST_H, DARK_R, DARK_G,
              DARK_B);
    dText(letter, x + SIGN_X + 2, y + SIGN_Y + 2);
}

// The start and exit signs; while one of them is chosen it shows at the cell.
static void editorDrawSigns(void)
{
    const int choosing = editorMode == EDITOR_OBJECT;
    editorDrawSign(choosing && objectChoice == CHOICE_START ? editorMarkedTile() : curLvl.start, "S");
    editorDrawSign(choosing && objectChoice == CHOICE_EXIT ? editorMarkedTile() : curLvl.exit, "E");
}

// Draws the level's creatures and signs, the blinking marker over them
// (hidden while a cell is edited, so the cell shows) and the number of the
// marked tile in the bottom-right corner; while an object is chosen, its name
// bottom left; after a save that failed, a line top left saying so, and
// under it the level's first problem a player would meet; while a tile is
// edited, the strip of tiles around it.
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

    // What New Game will load, under the marker.
    editorDrawCreatures();
    editorDrawSigns();

    // Hidden while a cell is edited, so the cell itself shows.
    if (markerDraw == 1 && editorMode == EDITOR_UPDATE)
        dFillRect(x, y, marker.w, marker.h, DARK_R, DARK_G, DARK_B);

    // The top-left corner's lines: a failed save, then the level's problem;
    // the strip of tiles keeps below them.
    int freeY = SAVE_FAILED_Y;
    if (editorSaveFailed) {
        dText("Save failed", SAVE_FAILED_X, SAVE_FAILED_Y);
        freeY += FONT_LINE_HEIGHT;
    }
    freeY = editorDrawHint(freeY);
    editorDrawStrip(freeY + 1);

    // The marked tile's number.
    const unsigned char *cell = editorMarkedCell();
    if (cell == nullptr) {
        curTile[0] = '\0';
        return;
    }
    snprintf(curTile, sizeof curTile, "%d", *cell);
    dText(curTile, screenWidth - TILE_NUMBER_FROM_RIGHT, screenHeight - TILE_NUMBER_FROM_BOTTOM);
    if (editorMode == EDITOR_OBJECT)
        dText(CHOICE_NAMES[objectChoice], OBJECT_NAME_X, screenHeight - TILE_NUMBER_FROM_BOTTOM);
}
