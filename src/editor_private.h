// Only the editor's own files include this: what they share beyond editor.h.
#pragma once
#include "editor.h"
#include "enemy.h"

// The palette's darkest green: the marker, which hides the tile beneath it,
// the frames and letters of the start and exit signs and the tile strip's
// frames. The light board of the signs and of the strip.
const Uint8 DARK_R = 8, DARK_G = 56, DARK_B = 8;
const Uint8 LIGHT_R = 232, LIGHT_G = 240, LIGHT_B = 200;

// Changes the editor keeps for undo, at most; older ones are forgotten.
const int EDITOR_UNDO_DEPTH = 128;

// The objects a cell can be given, in the order LEFT and RIGHT step through
// them: the creature types in their order from the key, then the start, the
// exit, nothing, and last playing the level from the cell, which changes
// nothing in it.
const int CHOICE_KEY = 0;
const int CHOICE_START = ENEMY_TYPE_COUNT;
const int CHOICE_EXIT = ENEMY_TYPE_COUNT + 1;
const int CHOICE_NOTHING = ENEMY_TYPE_COUNT + 2;
const int CHOICE_PLAY = ENEMY_TYPE_COUNT + 3;
const int CHOICES = ENEMY_TYPE_COUNT + 4;
extern const char *const CHOICE_NAMES[CHOICES];

// One accepted change, as much as undoing it needs.
enum { CHANGE_TILE, CHANGE_OBJECT };
struct EditorChange {
    int kind;
    Point cell;         // the cell changed; an undo marks it again
    int oldTile;        // a tile change: the value the cell had
    Point oldStart;     // an object change: the start and exit before it
    Point oldExit;
    EnemyList *added;   // the creature it placed, or null
    EnemyList *removed; // the creatures it took out, the last taken first;
                        // each one's id is its place in the list it left
};

// 1 while the next editorTileEdit call is the first of an edit, so the
// empty-cell pre-fill is still to be done; a cancel leaves it disarmed.
extern int lastTileCheck;

// ---- the marker and its cell (editor.cpp) ----

// The cell of layer 0 at tile, or null outside the level (or with no level).
unsigned char *editorCell(Point tile);

// The marked cell's column and row.
Point editorMarkedTile(void);

// The marked cell of layer 0, or null when the marker lies outside the level
// (no level loaded).
unsigned char *editorMarkedCell(void);

// Ends the current edit: back to moving the marker.
void editorEndEdit(void);

// ---- the objects of a cell (editor_objects.cpp) ----

// 1 when accepting choice at tile takes this creature out of the level.
int editorChoiceRemoves(int choice, Point tile, const Enemy *mob);

// What the cell at tile holds now, as a choice.
int editorChoiceInCell(Point tile);

// Makes the creatures shown while an object is chosen, once per visit.
void editorMakeSamples(void);

// Frees the creatures shown while an object is chosen.
void editorFreeSamples(void);

// The creature shown for choice, or null for a choice that is no creature or
// a sample that could not be made.
const Creature *editorSample(int choice);

// Where a creature of height h stands on the floor of tile.
Point editorStandingAt(Point tile, int h);

// ---- undo (editor_undo.cpp) ----

// Keeps a change for undo; when the history is full the oldest is forgotten.
void editorRemember(const EditorChange &change);

// Forgets every change of the visit, freeing the creatures they took out.
void editorForgetChanges(void);

// Takes back an object change that is not, or no longer, in the history.
void editorUndoObject(EditorChange *change);

// Takes back the last change of this visit, if any, and marks its cell.
void editorUndo(void);

// ---- the level's file (editor_file.cpp) ----

// Saves the level to filename, but only one that loaded as a level. Returns 1
// when the level could not be written, so its edits exist only in the editor.
int editorSave(const char *filename);

// ---- what the screen tells the designer (editor_guide.cpp) ----

// Draws the line naming the level's first problem, if it has one, at the left
// of the text line at y; returns the y of the next free line.
int editorDrawHint(int y);

// While a tile is edited, draws the strip of the tileset around it at the
// top (no higher than topFreeY) or the bottom of the screen, whichever is
// farther from the edited cell.
void editorDrawStrip(int topFreeY);
