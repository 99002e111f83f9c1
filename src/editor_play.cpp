// The editor's "play here": the level as it stands in the editor, unsaved,
// played from the marked cell through the game's own play, then given back to
// the editor exactly as it was. Nothing is read or written: what play changes
// in a level is only where its creatures are and which of them are left, so
// the positions are kept aside and the creatures that die are kept rather
// than freed (the undo history may point at them).
#include "editor_private.h"

#include <cstdio>
#include <cstdlib>

#include "camera.h"
#include "input.h"
#include "player.h"

int editorPlaying = 0;

// Every creature's position when the test began, in list order, x then y.
static float *playPositions = nullptr;
static int playCreatures = 0;
// The creatures that died in the test, the last first.
static EnemyList *playDead = nullptr;
static Box playCamera = {0, 0, 0, 0};

void editorPlayBegin(void)
{
    int creatures = 0;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        creatures++;
    float *positions = static_cast<float *>(malloc(sizeof(float) * 2 * (creatures > 0 ? creatures : 1)));
    if (!positions) {
        fprintf(stderr, "ERROR: (editorPlayBegin) Out of memory; the level cannot be played from here\n");
        return;
    }
    float *at = positions;
    for (const EnemyList *node = EnemyListHead; node; node = node->next) {
        *at++ = node->mob.creature.x;
        *at++ = node->mob.creature.y;
    }
    playPositions = positions;
    playCreatures = creatures;
    playCamera = camera;
    enemyDeadKept = &playDead;
    editorPlaying = 1;
}

// Puts the creatures that died back at their places in the list, last dead
// first, so each goes back into the list as it was when it left, then every
// creature where it stood, at rest.
static void editorPlayRestoreCreatures(void)
{
    while (playDead) {
        EnemyList *node = playDead;
        enemyUnlink(&playDead, node);
        enemyInsertAt(&EnemyListHead, node, node->id);
    }
    const float *at = playPositions;
    for (EnemyList *node = EnemyListHead; node && at < playPositions + 2 * playCreatures; node = node->next) {
        enemyPlaceAtRest(&node->mob, at[0], at[1]);
        at += 2;
    }
}

void editorPlayStart(void)
{
    editorPlayRestoreCreatures();
    const Point at = editorStandingAt(editorMarkedTile(), player.h);
    playerPlaceAt(static_cast<float>(at.x), static_cast<float>(at.y));
}

void editorPlayEnd(void)
{
    if (!editorPlaying)
        return;
    editorPlayRestoreCreatures();
    camera = playCamera;
    editorPlayForget();
    // A direction still held from play (walking into the door) must not move
    // the marker away from the cell it marked: buttons count from new presses.
    for (int b = 0; b < BUTTON_COUNT; b++)
        keyPress.key[b] = 0;
}

void editorPlayForget(void)
{
    cleanList(playDead);
    playDead = nullptr;
    free(playPositions);
    playPositions = nullptr;
    playCreatures = 0;
    enemyDeadKept = nullptr;
    editorPlaying = 0;
}
