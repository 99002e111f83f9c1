#include "editor.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "camera.h"
#include "enemy.h"
#include "fileio.h"
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

// The marker's colour, a dark green that hides the tile beneath it.
const Uint8 MARKER_RED = 8;
const Uint8 MARKER_GREEN = 56;
const Uint8 MARKER_BLUE = 8;

// Where the tile number is drawn, in pixels from the right and bottom edges.
const int TILE_NUMBER_FROM_RIGHT = 43;
const int TILE_NUMBER_FROM_BOTTOM = 16;
// The object being chosen is named on the same line, from the left edge.
const int OBJECT_NAME_X = 2;

// The start and exit signs: a light board with a dark frame and letter on a
// post, in the upper part of their cell. Offsets and sizes in pixels.
const int SIGN_X = 4;
const int SIGN_Y = 1;
const int SIGN_W = 9;
const int SIGN_H = 11;
const int SIGN_POST_X = 8;
const int SIGN_POST_W = 1;
const int SIGN_POST_H = 4;
const Uint8 SIGN_DARK_RED = 8;
const Uint8 SIGN_DARK_GREEN = 56;
const Uint8 SIGN_DARK_BLUE = 8;
const Uint8 SIGN_LIGHT_RED = 232;
const Uint8 SIGN_LIGHT_GREEN = 240;
const Uint8 SIGN_LIGHT_BLUE = 200;

// What a new level is made of: the shipped tileset, a floor of grass-topped
// ground along the bottom row, the start on the left and the exit near the
// right end, both just above the floor.
static const char *const NEW_LEVEL_TILESET = "tiles01.bmp";
const unsigned char NEW_LEVEL_FLOOR_TILE = 2;
const int NEW_LEVEL_START_X = 1;
const int NEW_LEVEL_EXIT_X = NEW_LEVEL_W - 3;

// The objects a cell can be given, in the order LEFT and RIGHT step through
// them: the six creature types (numbered in level files from -1, the key),
// then the start, the exit, and nothing.
const int KEY_TYPE = -1;
const int CHOICE_KEY = 0;
const int CREATURE_TYPES = 6;
const int CHOICE_START = CREATURE_TYPES;
const int CHOICE_EXIT = CREATURE_TYPES + 1;
const int CHOICE_NOTHING = CREATURE_TYPES + 2;
const int CHOICES = CREATURE_TYPES + 3;
static const char *const CHOICE_NAMES[CHOICES] = {"key",   "monkey", "shell", "frog",   "squid",
                                                  "plant", "start",  "exit",  "nothing"};

// Creatures whose position is further from zero than this (pixels) are never
// in view, and their whole-pixel position would not fit an int.
const float FAR_BEYOND_ANY_LEVEL = 1e9f;

// One accepted change, as much as undoing it needs.
enum { CHANGE_TILE, CHANGE_OBJECT };
struct EditorChange {
    int kind;
    Point cell;        // the cell changed; an undo marks it again
    int oldTile;       // a tile change: the value the cell had
    Point oldStart;    // an object change: the start and exit before it
    Point oldExit;
    EnemyList *added;  // the creature it placed, or null
    EnemyList *removed; // the creatures it took out, in list order, linked by
                        // next; each one's id is its place in the list before
};

int editorMode = EDITOR_UPDATE;
Box marker = {0, 0, 16, 16};
int markerWaitMoveTime = 0;
int markerBlinkTime = 0;
int markerDraw = 0;
int tmpTile = 0;
int lastTile = 0;
int newTile = 0;
char curTile[4];
int objectChoice = 0;

// 1 while the next editorTileEdit call is the first of an edit, so the
// empty-cell pre-fill is still to be done; a cancel leaves it disarmed.
static int lastTileCheck = 1;

// The changes of this visit, oldest first, in a ring.
static EditorChange editorChanges[EDITOR_UNDO_DEPTH];
static int editorChangeOldest = 0;
static int editorChangeCount = 0;

// One creature of each type, shown while an object is chosen; made when the
// first object edit of a visit begins.
static EnemyList *objectSamples[CREATURE_TYPES];

// ---- cells and the marker ----

// The cell of layer 0 at tile, or null outside the level (or with no level).
static unsigned char *editorCell(Point tile)
{
    const mapLayer &layer = curLvl.layer0;
    if (layer.array == nullptr || tile.x < 0 || tile.x >= layer.w || tile.y < 0 || tile.y >= layer.h)
        return nullptr;
    return &layer.array[tile.x][tile.y];
}

static Point editorMarkedTile(void)
{
    return Point{marker.x, marker.y};
}

// The marked cell of layer 0, or null when the marker lies outside the level
// (no level loaded).
static unsigned char *editorMarkedCell(void)
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

// ---- the creatures of a cell ----

// 1 when a creature's position (its box's top-left corner) lies in tile.
static int editorCreatureInCell(const Enemy *mob, Point tile)
{
    const float x = floorf(mob->creature.x);
    const float y = floorf(mob->creature.y);
    return x >= (float)(tile.x * TILE_SIZE) && x < (float)((tile.x + 1) * TILE_SIZE) &&
           y >= (float)(tile.y * TILE_SIZE) && y < (float)((tile.y + 1) * TILE_SIZE);
}

// 1 when accepting choice at tile takes this creature out of the level: a
// creature or nothing replaces the creatures of the cell, and a level keeps
// one key, so a key placed anywhere moves it.
static int editorChoiceRemoves(int choice, Point tile, const Enemy *mob)
{
    if (choice == CHOICE_START || choice == CHOICE_EXIT)
        return 0;
    if (editorCreatureInCell(mob, tile))
        return 1;
    return choice == CHOICE_KEY && mob->type == KEY_TYPE;
}

// What the cell at tile holds now, as a choice: its first creature, else the
// start, else the exit, else nothing.
static int editorChoiceInCell(Point tile)
{
    for (const EnemyList *node = EnemyListHead; node; node = node->next) {
        const int choice = node->mob.type - KEY_TYPE;
        if (editorCreatureInCell(&node->mob, tile) && choice >= 0 && choice < CREATURE_TYPES)
            return choice;
    }
    if (curLvl.start.x == tile.x && curLvl.start.y == tile.y)
        return CHOICE_START;
    if (curLvl.exit.x == tile.x && curLvl.exit.y == tile.y)
        return CHOICE_EXIT;
    return CHOICE_NOTHING;
}

// Makes the creatures shown while an object is chosen.
static void editorMakeSamples(void)
{
    for (int i = 0; i < CREATURE_TYPES; i++) {
        if (!objectSamples[i])
            objectSamples[i] = prependElement(nullptr, 0, 0, i + KEY_TYPE);
    }
}

static void editorFreeSamples(void)
{
    for (EnemyList *&sample : objectSamples) {
        enemyDelete(sample);
        sample = nullptr;
    }
}

// Where a creature of height h stands on the floor of tile: its box's bottom
// and left edges on the cell's.
static Point editorStandingAt(Point tile, int h)
{
    return Point{tile.x * TILE_SIZE, (tile.y + 1) * TILE_SIZE - h};
}

// Places a creature of the chosen kind standing in tile, at the head of the
// level's list; null when it cannot be made.
static EnemyList *editorAddCreature(int choice, Point tile)
{
    const EnemyList *sample = objectSamples[choice];
    if (!sample)
        return nullptr;
    const Point at = editorStandingAt(tile, sample->mob.creature.h);
    EnemyList *node = prependElement(EnemyListHead, at.x, at.y, choice + KEY_TYPE);
    if (node)
        EnemyListHead = node;
    return node;
}

// Takes out of the level every creature that accepting choice at tile
// replaces, keeping them in change->removed with their places in the list.
static void editorTakeOut(EditorChange *change, int choice, Point tile)
{
    EnemyList **link = &EnemyListHead;
    EnemyList **tail = &change->removed;
    for (int place = 0; *link; place++) {
        EnemyList *node = *link;
        if (!editorChoiceRemoves(choice, tile, &node->mob)) {
            link = &node->next;
            continue;
        }
        *link = node->next;
        node->id = place;
        node->next = nullptr;
        *tail = node;
        tail = &node->next;
    }
}

// Puts creatures taken out by editorTakeOut back at their places. Taken in
// list order, each one's earlier neighbours are back before it.
static void editorPutBack(EnemyList *removed)
{
    while (removed) {
        EnemyList *node = removed;
        removed = node->next;
        EnemyList **link = &EnemyListHead;
        for (int i = 0; i < node->id && *link; i++)
            link = &(*link)->next;
        node->next = *link;
        *link = node;
    }
}

// Unlinks a creature from the level's list and frees it.
static void editorDeleteCreature(EnemyList *creature)
{
    for (EnemyList **link = &EnemyListHead; *link; link = &(*link)->next) {
        if (*link == creature) {
            *link = creature->next;
            enemyDelete(creature);
            return;
        }
    }
}

// ---- undo ----

// Frees what a change kept: the creatures it took out are gone for good.
static void editorForgetChange(EditorChange *change)
{
    cleanList(change->removed);
    change->removed = nullptr;
    change->added = nullptr;
}

static void editorForgetChanges(void)
{
    for (int i = 0; i < editorChangeCount; i++)
        editorForgetChange(&editorChanges[(editorChangeOldest + i) % EDITOR_UNDO_DEPTH]);
    editorChangeOldest = 0;
    editorChangeCount = 0;
}

// Keeps a change for undo; when the history is full the oldest is forgotten.
static void editorRemember(const EditorChange &change)
{
    if (editorChangeCount == EDITOR_UNDO_DEPTH) {
        editorForgetChange(&editorChanges[editorChangeOldest]);
        editorChangeOldest = (editorChangeOldest + 1) % EDITOR_UNDO_DEPTH;
        editorChangeCount--;
    }
    editorChanges[(editorChangeOldest + editorChangeCount) % EDITOR_UNDO_DEPTH] = change;
    editorChangeCount++;
}

// Gives a cell back the value it had before the last change, and marks it.
static void editorUndoTile(const EditorChange *change)
{
    unsigned char *cell = editorCell(change->cell);
    if (cell)
        *cell = static_cast<unsigned char>(change->oldTile);
}

// Takes back an object change: the placed creature goes, the creatures it
// replaced come back where they were in the list, start and exit return.
static void editorUndoObject(EditorChange *change)
{
    if (change->added)
        editorDeleteCreature(change->added);
    editorPutBack(change->removed);
    curLvl.start = change->oldStart;
    curLvl.exit = change->oldExit;
    change->added = nullptr;
    change->removed = nullptr;
}

// Takes back the last change of this visit, if any, and marks its cell.
static void editorUndo(void)
{
    if (editorChangeCount == 0)
        return;
    editorChangeCount--;
    EditorChange *change = &editorChanges[(editorChangeOldest + editorChangeCount) % EDITOR_UNDO_DEPTH];
    if (change->kind == CHANGE_TILE)
        editorUndoTile(change);
    else
        editorUndoObject(change);
    marker.x = change->cell.x;
    marker.y = change->cell.y;
}

// ---- opening, saving and leaving ----

// 1 when filename names nothing at all (a file that exists but cannot be
// read is not missing).
static int editorFileMissing(const char *filename)
{
    struct stat st;
    return stat(filename, &st) != 0 && errno == ENOENT;
}

// A new level's name: the file's name without folder and extension, ended by
// a blank as the level reader ends every word of a name.
static void editorNameAfterFile(const char *filename, char *name, size_t size)
{
    const char *base = strrchr(filename, '/');
    base = base ? base + 1 : filename;
    const char *dot = strrchr(base, '.');
    const int length = static_cast<int>(dot && dot != base ? dot - base : strlen(base));
    snprintf(name, size, "%.*s ", length, base);
}

// Makes the new blank level for a file that does not exist yet: it holds no
// creatures and leads to no next level.
static void editorNewLevel(const char *filename)
{
    char name[sizeof curLvl.name];
    editorNameAfterFile(filename, name, sizeof name);
    printf("New map: %s\n", filename);
    freeMapObjects();
    if (mapNewLevel(NEW_LEVEL_W, NEW_LEVEL_H, name))
        return;
    loadMapTileset(&curLvl.layer0, NEW_LEVEL_TILESET);
    loadMapTileset(&curLvl.layer1, NEW_LEVEL_TILESET);
    for (int x = 0; x < NEW_LEVEL_W; x++)
        curLvl.layer0.array[x][NEW_LEVEL_H - 1] = NEW_LEVEL_FLOOR_TILE;
    curLvl.start = Point{NEW_LEVEL_START_X, NEW_LEVEL_H - 2};
    curLvl.exit = Point{NEW_LEVEL_EXIT_X, NEW_LEVEL_H - 2};
}

void editorOpen(const char *filename)
{
    editorForgetChanges();
    editorFreeSamples();
    if (editorFileMissing(filename))
        editorNewLevel(filename);
    else
        loadMap(filename);
}

// Saves the level, but only one that has its play layer's grid: a file that did
// not load as a level (not a level, a refused size, a damaged file) is never
// written. Layer 1 may be missing; the level then saves without it.
static void editorSave(const char *filename)
{
    if (curLvl.layer0.array == nullptr) {
        fprintf(stderr, "ERROR: (editorUpdate) %s did not load as a level; not saving over it\n", filename);
        return;
    }
    saveMap(filename);
}

// Leaves the editor in marker mode, so that the next visit starts there even
// when an edit was requested in the leaving step. The visit's undo history
// and sample creatures go with it.
static int editorLeave(void)
{
    editorMode = EDITOR_UPDATE;
    editorForgetChanges();
    editorFreeSamples();
    return 1;
}

void editorReset(void)
{
    editorForgetChanges();
    editorFreeSamples();
    editorMode = EDITOR_UPDATE;
    marker = Box{0, 0, 16, 16};
    markerWaitMoveTime = 0;
    markerBlinkTime = 0;
    markerDraw = 0;
    tmpTile = 0;
    lastTile = 0;
    newTile = 0;
    curTile[0] = '\0';
    objectChoice = 0;
    lastTileCheck = 1;
}

// ---- moving the marker ----

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
// (after saving on OK, without saving on MENU).
int editorUpdate(void)
{
    editorClampMarker();

    int moveX, moveY;
    int anyMoveKeyPressed = editorReadDirections(&moveX, &moveY);

    // JUMP or ACTION starts an edit from the next step on. What it starts
    // from is taken once the marker has moved, from the cell actually edited.
    const int editRequested = editorRequestEdit();

    // OK saves a level that loaded, and leaves; a failed save is reported by saveMap.
    if (takePress(OK)) {
        editorSave(mapLevelFile());
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

// ---- editing a tile ----

// Ends the current edit: back to moving the marker. BACK has no meaning in
// an edit; a press made during one is dropped, so it cannot undo afterwards.
static void editorEndEdit(void)
{
    editorMode = EDITOR_UPDATE;
    keyPress.key[BACK] = 0;
}

// Cancels the current edit, giving the cell back the value it had when the
// edit began.
static void editorCancelEdit(unsigned char *cell)
{
    *cell = (unsigned char)tmpTile;
    editorEndEdit();
}

// Accepts the tile edit; an edit begun on an empty cell sets the tile
// offered next time, and a tile that differs can be undone.
static void editorAcceptTile(unsigned char *cell)
{
    if (newTile == 1)
        lastTile = *cell;
    newTile = 0;
    lastTileCheck = 1;
    if (*cell != tmpTile)
        editorRemember(EditorChange{CHANGE_TILE, editorMarkedTile(), tmpTile, {0, 0}, {0, 0}, nullptr, nullptr});
    editorEndEdit();
}

// One step of changing the marked tile: UP/DOWN a tileset row, LEFT/RIGHT one
// tile, JUMP accepts, ACTION or MENU cancels.
void editorTileEdit(void)
{
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

    if (takePress(JUMP))
        editorAcceptTile(cell);

    // ACTION or MENU cancels: the cell gets its old value back.
    if (takePress(ACTION))
        editorCancelEdit(cell);
    if (takePress(MENU))
        editorCancelEdit(cell);
}

// ---- editing an object ----

// 1 when the change altered the level.
static int editorChangeMade(const EditorChange &change)
{
    return change.added || change.removed || change.oldStart.x != curLvl.start.x ||
           change.oldStart.y != curLvl.start.y || change.oldExit.x != curLvl.exit.x ||
           change.oldExit.y != curLvl.exit.y;
}

// Gives the marked cell the chosen object: a creature replaces the cell's
// creatures, the start or exit moves here, nothing empties the cell of
// creatures. A change that alters the level can be undone.
static void editorAcceptObject(void)
{
    const Point tile = editorMarkedTile();
    EditorChange change = {CHANGE_OBJECT, tile, 0, curLvl.start, curLvl.exit, nullptr, nullptr};
    if (objectChoice == CHOICE_START) {
        curLvl.start = tile;
    } else if (objectChoice == CHOICE_EXIT) {
        curLvl.exit = tile;
    } else {
        editorTakeOut(&change, objectChoice, tile);
        if (objectChoice < CREATURE_TYPES)
            change.added = editorAddCreature(objectChoice, tile);
        // A creature that cannot be made replaces nothing.
        if (objectChoice < CREATURE_TYPES && !change.added)
            editorUndoObject(&change);
    }
    if (editorChangeMade(change))
        editorRemember(change);
}

// One step of choosing the marked cell's object: LEFT/RIGHT step through the
// choices, wrapping; JUMP accepts; ACTION or MENU cancels, leaving the level
// as it was. UP and DOWN mean nothing here.
void editorObjectEdit(void)
{
    if (editorMarkedCell() == nullptr) {
        editorEndEdit();
        return;
    }
    if (takePress(LEFT))
        objectChoice = (objectChoice + CHOICES - 1) % CHOICES;
    if (takePress(RIGHT))
        objectChoice = (objectChoice + 1) % CHOICES;
    takePress(UP);
    takePress(DOWN);
    if (takePress(JUMP)) {
        editorAcceptObject();
        editorEndEdit();
    }
    if (takePress(ACTION))
        editorEndEdit();
    if (takePress(MENU))
        editorEndEdit();
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
    if (choosing && objectChoice < CREATURE_TYPES && objectSamples[objectChoice]) {
        const Creature *sample = &objectSamples[objectChoice]->mob.creature;
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
    dFillRect(x + SIGN_X, y + SIGN_Y, SIGN_W, SIGN_H, SIGN_DARK_RED, SIGN_DARK_GREEN, SIGN_DARK_BLUE);
    dFillRect(x + SIGN_X + 1, y + SIGN_Y + 1, SIGN_W - 2, SIGN_H - 2, SIGN_LIGHT_RED, SIGN_LIGHT_GREEN,
              SIGN_LIGHT_BLUE);
    dFillRect(x + SIGN_POST_X, y + SIGN_Y + SIGN_H, SIGN_POST_W, SIGN_POST_H, SIGN_DARK_RED, SIGN_DARK_GREEN,
              SIGN_DARK_BLUE);
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
// bottom left.
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
        dFillRect(x, y, marker.w, marker.h, MARKER_RED, MARKER_GREEN, MARKER_BLUE);

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
