// The camera: the rectangle of the level shown on the logical screen.
#pragma once
#include "global.h"

extern Box camera;

// The tiles of layer 0 that the camera shows and where they land on the screen.
// Columns firstColumn..endColumn-1 and rows firstRow..endRow-1 are drawn, cut
// to the layer; tile (i, j) lands at (screenX + 16*(i - cx), screenY + 16*(j - cy)).
struct TileView {
    int cx, cy;           // first visible column and row
    int cw, ch;           // whole tiles across and down the view
    int screenX, screenY; // screen position of the first, partly visible tile
    int firstColumn, endColumn;
    int firstRow, endRow;
};

// Puts the camera at the level's top-left corner with the screen's size.
void initCamera(void);

// Clamps cam to the level, shrinking it along an axis where the level is smaller.
void setCamera(Box *cam);

// Centres the camera on level pixel (x, y) and clamps it.
void centerCameraOnCoords(int x, int y);

// Works out which tiles of layer 0 the current camera shows.
void cameraTileView(TileView *view);
