// The level editor: change layer 0 one cell at a time.
#pragma once
#include "global.h"

enum editorModeEnum {
    EDITOR_UPDATE = 0, // moving the marker
    EDITOR_EDIT = 1    // changing a tile
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

// One step of moving the marker; returns 1 when the editor is to be left.
int editorUpdate(void);

// One step of changing the marked tile.
void editorTileEdit(void);

// Draws the marker and the marked tile's number.
void editorDraw(void);
