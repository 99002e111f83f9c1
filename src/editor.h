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
extern int editorSaveFailed;
extern Box editorStripDrawn;  // where the last frame drew the strip of tiles (w 0: not drawn)
extern int editorPlaying;     // 1 while the level is played from the marked cell ("play here")  // 1 from a save that failed until the next save is tried or the editor is left

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
// tile's number (and the object being chosen), the strip of tiles while a
// tile is edited, and the level's first problem.
void editorDraw(void);

// The first problem of the level that a player would meet, as the line the
// editor shows ("Start is in ground", "No key in the level", "No door on the
// exit"), or null when there is none or no level.
const char *editorLevelProblem(void);

// ---- play here (editor_play.cpp) ----

// Begins playing the level as it stands from the marked cell: keeps what play
// will change (the creatures' places, the camera) and sets editorPlaying.
// Leaves editorPlaying at 0 when there is no memory to keep them in.
void editorPlayBegin(void);

// Starts (or, after a game over, starts again) the test: the creatures as the
// editor had them, the loaded player standing in the marked cell with full
// health.
void editorPlayStart(void);

// Ends the test: the level, its creatures and the camera exactly as before
// it; buttons held from play count only when pressed anew.
void editorPlayEnd(void);

// Lets go of a test without giving anything back (the game is ending).
void editorPlayForget(void);
