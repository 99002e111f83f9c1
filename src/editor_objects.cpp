// The editor's object editing: choosing what the marked cell holds (a
// creature, the start, the exit or nothing) and placing it in the level.
#include "editor_private.h"

#include <cmath>

#include "input.h"
#include "map.h"

const char *const CHOICE_NAMES[CHOICES] = {"key",   "monkey", "shell", "frog",   "squid",
                                           "plant", "start",  "exit",  "nothing", "play here"};

int objectChoice = 0;

// One creature of each type, shown while an object is chosen; made when the
// first object edit of a visit begins.
static EnemyList *objectSamples[ENEMY_TYPE_COUNT];

// ---- the creatures of a cell ----

// 1 when a creature's position (its box's top-left corner) lies in tile.
static int editorCreatureInCell(const Enemy *mob, Point tile)
{
    const float x = floorf(mob->creature.x);
    const float y = floorf(mob->creature.y);
    return x >= (float)(tile.x * TILE_SIZE) && x < (float)((tile.x + 1) * TILE_SIZE) &&
           y >= (float)(tile.y * TILE_SIZE) && y < (float)((tile.y + 1) * TILE_SIZE);
}

// A creature or nothing replaces the creatures of the cell, and a level keeps
// one key, so a key placed anywhere moves it.
int editorChoiceRemoves(int choice, Point tile, const Enemy *mob)
{
    if (choice == CHOICE_START || choice == CHOICE_EXIT || choice == CHOICE_PLAY)
        return 0;
    if (editorCreatureInCell(mob, tile))
        return 1;
    return choice == CHOICE_KEY && mob->type == ENEMY_TYPE_KEY;
}

// Its first creature, else the start, else the exit, else nothing.
int editorChoiceInCell(Point tile)
{
    for (const EnemyList *node = EnemyListHead; node; node = node->next) {
        const int choice = node->mob.type - ENEMY_TYPE_KEY;
        if (editorCreatureInCell(&node->mob, tile) && choice >= 0 && choice < ENEMY_TYPE_COUNT)
            return choice;
    }
    if (curLvl.start.x == tile.x && curLvl.start.y == tile.y)
        return CHOICE_START;
    if (curLvl.exit.x == tile.x && curLvl.exit.y == tile.y)
        return CHOICE_EXIT;
    return CHOICE_NOTHING;
}

// ---- the sample creatures ----

void editorMakeSamples(void)
{
    for (int i = 0; i < ENEMY_TYPE_COUNT; i++) {
        if (!objectSamples[i])
            objectSamples[i] = prependElement(nullptr, 0, 0, i + ENEMY_TYPE_KEY);
    }
}

void editorFreeSamples(void)
{
    for (EnemyList *&sample : objectSamples) {
        enemyDelete(sample);
        sample = nullptr;
    }
}

// "play here" shows the monkey standing where the player will.
const Creature *editorSample(int choice)
{
    if (choice == CHOICE_PLAY)
        choice = ENEMY_TYPE_MONKEY - ENEMY_TYPE_KEY;
    if (choice < 0 || choice >= ENEMY_TYPE_COUNT || !objectSamples[choice])
        return nullptr;
    return &objectSamples[choice]->mob.creature;
}

// Its box's bottom and left edges on the cell's.
Point editorStandingAt(Point tile, int h)
{
    return Point{tile.x * TILE_SIZE, (tile.y + 1) * TILE_SIZE - h};
}

// ---- changing the level ----

// Tells whether the level already holds as many creatures as a level file may,
// and says so when it does: one more would be left out at the next load.
static int editorLevelIsFull(void)
{
    int creatures = 0;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        creatures++;
    if (creatures < ENEMY_MAX_PER_LEVEL)
        return 0;
    printf("WARNING: (editorObjectEdit) The level holds %d creatures, as many as a level may; no more can be placed\n",
           creatures);
    return 1;
}

// Places a creature of the chosen kind standing in tile, at the head of the
// level's list; null when it cannot be made or the level is full.
static EnemyList *editorAddCreature(int choice, Point tile)
{
    const Creature *sample = editorSample(choice);
    if (!sample || editorLevelIsFull())
        return nullptr;
    const Point at = editorStandingAt(tile, sample->h);
    EnemyList *node = prependElement(EnemyListHead, at.x, at.y, choice + ENEMY_TYPE_KEY);
    if (node)
        EnemyListHead = node;
    return node;
}

// Takes out of the level every creature that accepting choice at tile
// replaces, keeping them in change->removed with their places in the list.
static void editorTakeOut(EditorChange *change, int choice, Point tile)
{
    EnemyList *node = EnemyListHead;
    while (node) {
        EnemyList *next = node->next;
        if (editorChoiceRemoves(choice, tile, &node->mob)) {
            node->id = enemyUnlink(&EnemyListHead, node);
            enemyInsertAt(&change->removed, node, 0);
        }
        node = next;
    }
}

// 1 when the change altered the level.
static int editorChangeMade(const EditorChange &change)
{
    return change.added || change.removed || change.oldStart.x != curLvl.start.x ||
           change.oldStart.y != curLvl.start.y || change.oldExit.x != curLvl.exit.x ||
           change.oldExit.y != curLvl.exit.y;
}

// Gives the marked cell the chosen object: a creature replaces the cell's
// creatures, the start or exit moves here, nothing empties the cell of
// creatures. A change that alters the level can be undone. "play here"
// changes nothing: it begins a test of the level from the cell.
static void editorAcceptObject(void)
{
    if (objectChoice == CHOICE_PLAY) {
        editorPlayBegin();
        return;
    }
    const Point tile = editorMarkedTile();
    EditorChange change = {CHANGE_OBJECT, tile, 0, curLvl.start, curLvl.exit, nullptr, nullptr};
    if (objectChoice == CHOICE_START) {
        curLvl.start = tile;
    } else if (objectChoice == CHOICE_EXIT) {
        curLvl.exit = tile;
    } else {
        editorTakeOut(&change, objectChoice, tile);
        if (objectChoice < ENEMY_TYPE_COUNT)
            change.added = editorAddCreature(objectChoice, tile);
        // A creature that cannot be made replaces nothing.
        if (objectChoice < ENEMY_TYPE_COUNT && !change.added)
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
