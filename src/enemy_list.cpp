// The enemy list: making an enemy of each type with its program, freeing
// enemies, and linking nodes in and out of a list.
#include "enemy.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "animation.h"
#include "fileio.h"

EnemyList *EnemyListHead = nullptr;
EnemyList **enemyDeadKept = nullptr;

// The longest behaviour program of any type, in nodes.
const int ENEMY_MAX_PROGRAM_NODES = 3;

// What an enemy of one type is made of: its sprite sheet and how it is cut,
// its definition file, and its behaviour program.
struct EnemyKind {
    const char *sheet;
    int tileWidth;
    int tileHeight;
    int row;
    int numOfTiles;
    const char *file;
    int nodes;
    AINode program[ENEMY_MAX_PROGRAM_NODES]; // action, param1, param2, param3, value1
};

// Indexed by type + 1: key, monkey, shell, frog, squid, plant.
static const EnemyKind enemyKinds[ENEMY_TYPE_COUNT] = {
    {"data/gfx/keyAni.bmp", 16, 16, 1, 8, "data/mobs/key.dat", 1, {{AI_WAIT, 0, 0, 0, 0}}},
    {"data/gfx/monkeyAni.bmp", 16, 16, 16, TILE_COUNT, "data/mobs/monkey.dat", 2,
     {{AI_WAIT, 60, 0, 0, 0}, {AI_JUMP, 0, 20, 0, 0}}},
    {"data/gfx/shellAni.bmp", 16, 16, 16, TILE_COUNT, "data/mobs/shell.dat", 2,
     {{AI_WALK, 4, 0, 0, 0}, {AI_TURN, TURN_ROUND, 0, 0, 0}}},
    {"data/gfx/frogAni.bmp", 20, 16, 3, 24, "data/mobs/frog.dat", 3,
     {{AI_WAIT, 180, 0, 0, 0}, {AI_TURN, TURN_TO_PLAYER, 0, 0, 0}, {AI_JUMP, 10, 30, 0, 0}}},
    {"data/gfx/squidAni.bmp", 17, 16, 3, 24, "data/mobs/squid.dat", 2,
     {{AI_WALK, 2, 0, 0, 0}, {AI_TURN, TURN_ROUND, 0, 0, 0}}},
    {"data/gfx/plantAni.bmp", 16, 16, 3, 24, "data/mobs/plant.dat", 2,
     {{AI_WAIT, 60, 0, 0, 0}, {AI_JUMP, 0, 20, 0, 0}}},
};

// The definition files read during a level load, by type + 1. A level may
// hold thousands of creatures of a handful of kinds; while a load is under way
// each kind's file is read once and every further creature of that kind gets a
// copy, so the load opens six files rather than one per creature. Outside a
// load (the editor places one creature at a time) every creature reads its file.
// Loads may nest; what was read is kept until the outermost one ends.
static Creature loadDefinitions[ENEMY_TYPE_COUNT];
static int loadDefinitionRead[ENEMY_TYPE_COUNT];
static int loadDepth = 0;

// Gives list its own copy of from's sprite indices; with no memory the list is
// left with none, as the reader leaves it.
static void enemyCopyFrameList(animFrame *list, const animFrame *from)
{
    *list = *from;
    list->frames = nullptr;
    list->numOfFrames = 0;
    if (from->numOfFrames <= 0)
        return;
    const size_t bytes = sizeof(int) * static_cast<size_t>(from->numOfFrames);
    list->frames = static_cast<int *>(malloc(bytes));
    if (!list->frames) {
        fprintf(stderr, "ERROR (prependElement): Out of memory!\n");
        return;
    }
    memcpy(list->frames, from->frames, bytes);
    list->numOfFrames = from->numOfFrames;
}

// Copies what a definition file sets (box, health, the eight frame lists).
static void enemyCopyDefinition(Creature *c, const Creature *definition)
{
    c->w = definition->w;
    c->h = definition->h;
    c->hp = definition->hp;
    animDir *to[] = {&c->animation.idle, &c->animation.walk, &c->animation.jump, &c->animation.die};
    const animDir *from[] = {&definition->animation.idle, &definition->animation.walk, &definition->animation.jump,
                             &definition->animation.die};
    for (int i = 0; i < 4; i++) {
        enemyCopyFrameList(&to[i]->left, &from[i]->left);
        enemyCopyFrameList(&to[i]->right, &from[i]->right);
    }
}

// Reads the kind's definition into c, or copies it when this load read it already.
// A file that cannot be opened is tried again by the next creature, which says
// so again, as it would outside a load.
static void enemyReadDefinition(Creature *c, int kindIndex)
{
    const char *file = enemyKinds[kindIndex].file;
    if (loadDepth == 0) {
        loadMobConfig(c, file);
        return;
    }
    Creature *definition = &loadDefinitions[kindIndex];
    if (!loadDefinitionRead[kindIndex]) {
        if (loadMobConfig(definition, file) != 0)
            return;
        loadDefinitionRead[kindIndex] = 1;
    }
    enemyCopyDefinition(c, definition);
}

void enemyBeginLoad(void)
{
    loadDepth++;
}

void enemyEndLoad(void)
{
    if (loadDepth > 0 && --loadDepth > 0)
        return;
    for (int i = 0; i < ENEMY_TYPE_COUNT; i++) {
        freeAnim(&loadDefinitions[i].animation);
        loadDefinitions[i] = Creature{};
        loadDefinitionRead[i] = 0;
    }
}

// Reports an enemy that could not be made for want of memory; returns null.
static EnemyList *enemyOutOfMemory(void)
{
    fprintf(stderr, "ERROR (prependElement): Out of memory!\n");
    return nullptr;
}

// Gives the enemy its own copy of its type's behaviour program, to start at
// the first update. Returns 1 when out of memory, with nothing left allocated.
static int enemyBuildProgram(Enemy *mob, const EnemyKind *kind)
{
    mob->aiActions = static_cast<AINode **>(calloc(kind->nodes, sizeof(AINode *)));
    if (!mob->aiActions)
        return 1;
    mob->nmbrOfAIActions = kind->nodes;
    for (int i = 0; i < kind->nodes; i++) {
        mob->aiActions[i] = static_cast<AINode *>(malloc(sizeof(AINode)));
        if (!mob->aiActions[i])
            return 1;
        *mob->aiActions[i] = kind->program[i];
    }
    mob->curAction = -1;
    return 0;
}

void enemyPlaceAtRest(Enemy *mob, float x, float y)
{
    creaturePlaceAtRest(&mob->creature, x, y);
    mob->confusedTime = 0;
    mob->dead = 0;
    mob->carried = 0;
    mob->thrown = 0;
    mob->curAction = -1;
}

EnemyList *prependElement(EnemyList *oldHead, int x, int y, int type)
{
    // A type the game has no creature for is refused; the list stays as it was.
    if (type < ENEMY_TYPE_KEY || type > ENEMY_TYPE_PLANT) {
        printf("WARNING: (prependElement) Unknown enemy type %d at %d:%d. Ignoring...\n", type, x, y);
        return oldHead;
    }
    const EnemyKind *kind = &enemyKinds[type - ENEMY_TYPE_KEY];

    // Zeroed, so every pointer is null and a half-built node can be deleted.
    EnemyList *node = static_cast<EnemyList *>(calloc(1, sizeof(EnemyList)));
    if (!node)
        return enemyOutOfMemory();

    node->mob.type = type;
    printf("%d:%d:%d\n", x, y, type);

    // Sheet, definitions and program.
    initAnim(&node->mob.creature.animation, kind->sheet, kind->tileWidth, kind->tileHeight, kind->row,
             kind->numOfTiles);
    enemyReadDefinition(&node->mob.creature, type - ENEMY_TYPE_KEY);
    if (enemyBuildProgram(&node->mob, kind)) {
        enemyDelete(node);
        return enemyOutOfMemory();
    }

    enemyPlaceAtRest(&node->mob, static_cast<float>(x), static_cast<float>(y));
    node->next = oldHead;
    return node;
}

void cleanList(EnemyList *head)
{
    while (head) {
        EnemyList *next = head->next;
        enemyDelete(head);
        head = next;
    }
}

void enemyReset(void)
{
    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
}

void enemyDelete(EnemyList *enemyNode)
{
    if (!enemyNode)
        return;
    Enemy &mob = enemyNode->mob;
    if (mob.aiActions) {
        for (int i = 0; i < mob.nmbrOfAIActions; i++)
            free(mob.aiActions[i]);
        free(mob.aiActions);
    }
    // The frame lists are the enemy's own; its sheet goes with the last of its kind.
    freeAnim(&mob.creature.animation);
    free(enemyNode);
}


int enemyUnlink(EnemyList **head, EnemyList *node)
{
    int place = 0;
    for (EnemyList **link = head; *link; link = &(*link)->next, place++) {
        if (*link == node) {
            *link = node->next;
            node->next = nullptr;
            return place;
        }
    }
    return -1;
}

void enemyInsertAt(EnemyList **head, EnemyList *node, int place)
{
    EnemyList **link = head;
    for (int i = 0; i < place && *link; i++)
        link = &(*link)->next;
    node->next = *link;
    *link = node;
}
