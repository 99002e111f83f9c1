// The camera: the rectangle of the level shown on the logical screen.
#pragma once
#include "global.h"

extern Box camera;

// Puts the camera at the level's top-left corner with the screen's size.
void initCamera(void);

// Clamps cam to the level, shrinking it along an axis where the level is smaller.
void setCamera(Box *cam);

// Centres the camera on level pixel (x, y) and clamps it.
void centerCameraOnCoords(int x, int y);
