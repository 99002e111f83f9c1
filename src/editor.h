// The level editor: change layer 0 one cell at a time, place the creatures,
// the start and the exit, take changes back, and begin new levels. One file
// per concern: editor.cpp (the mode, the marker, drawing), editor_tiles.cpp,
// editor_objects.cpp, editor_undo.cpp and editor_file.cpp.
#pragma once
#include "global.h"

enum editorModeEnum {
    EDITOR_UPDATE = 0, // moving the marker
    EDITOR_EDIT = 1,   // changing a tile
    EDITOR_OBJECT = 2  // choosing what the marked cell holds
};

extern int editorMode;
extern Box marker;            // x, y: marked cell; w, h: marker size in pixels
extern int markerWaitMoveTime;
extern int markerBlinkTime;
extern int markerDraw;
extern int tmpTile;
extern int lastTile;
extern int newTile;
extern char curTile[4];
extern int objectChoice;      // the object offered while one is chosen, an index of the choices
extern int editorSaveFailed;  // 1 from a save that failed until the next save is tried or the editor is left

// Opens the level to edit: the file's level, or a new blank one named after
// the file when it does not exist. The visit starts with nothing to undo.
void editorOpen(const char *filename);

// Puts every editor global back to its state at the start of a run, and
// releases what a visit holds.
void editorReset(void);

// One step of moving the marker; returns 1 when the editor is to be left: OK
// with the level saved (or refused as no level), or MENU.
int editorUpdate(void);

// One step of changing the marked tile.
void editorTileEdit(void);

// One step of choosing the marked cell's object.
void editorObjectEdit(void);

// Draws the creatures, the start and exit signs, the marker and the marked
// tile's number (and the object being chosen).
void editorDraw(void);
