// The editor's undo: the history of a visit's accepted changes, and taking
// them back one by one with BACK.
#include "editor_private.h"

#include "map.h"
#include "sound.h"

// The changes of this visit, oldest first, in a ring.
static EditorChange editorChanges[EDITOR_UNDO_DEPTH];
static int editorChangeOldest = 0;
static int editorChangeCount = 0;

// Frees what a change kept: the creatures it took out are gone for good.
static void editorForgetChange(EditorChange *change)
{
    cleanList(change->removed);
    change->removed = nullptr;
    change->added = nullptr;
}

void editorForgetChanges(void)
{
    for (int i = 0; i < editorChangeCount; i++)
        editorForgetChange(&editorChanges[(editorChangeOldest + i) % EDITOR_UNDO_DEPTH]);
    editorChangeOldest = 0;
    editorChangeCount = 0;
}

void editorRemember(const EditorChange &change)
{
    if (editorChangeCount == EDITOR_UNDO_DEPTH) {
        editorForgetChange(&editorChanges[editorChangeOldest]);
        editorChangeOldest = (editorChangeOldest + 1) % EDITOR_UNDO_DEPTH;
        editorChangeCount--;
    }
    editorChanges[(editorChangeOldest + editorChangeCount) % EDITOR_UNDO_DEPTH] = change;
    editorChangeCount++;
    soundPlay(SOUND_PLACE);
}

// Gives a cell back the value it had before the change.
static void editorUndoTile(const EditorChange *change)
{
    unsigned char *cell = editorCell(change->cell);
    if (cell)
        *cell = static_cast<unsigned char>(change->oldTile);
}

// Puts the creatures a change took out back at their places in the level's
// list. The last taken out comes first, so each goes back into the list as
// it was when it left.
static void editorPutBack(EnemyList *removed)
{
    while (removed) {
        EnemyList *node = removed;
        enemyUnlink(&removed, node);
        enemyInsertAt(&EnemyListHead, node, node->id);
    }
}

// Takes an object change back: the placed creature goes, the creatures it
// replaced come back where they were in the list, start and exit return.
void editorUndoObject(EditorChange *change)
{
    if (change->added && enemyUnlink(&EnemyListHead, change->added) >= 0)
        enemyDelete(change->added);
    editorPutBack(change->removed);
    curLvl.start = change->oldStart;
    curLvl.exit = change->oldExit;
    change->added = nullptr;
    change->removed = nullptr;
}

void editorUndo(void)
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
    soundPlay(SOUND_UNDO);
}
