#include "editor.h"

int editorMode = EDITOR_UPDATE;
Box marker = {0, 0, 16, 16};
int markerWaitMoveTime = 0;
int markerBlinkTime = 0;
int markerDraw = 0;
int tmpTile = 0;
int lastTile = 0;
int newTile = 0;
char curTile[4];

int editorUpdate(void)
{
    return 0;
}

void editorTileEdit(void) {}
void editorDraw(void) {}
