// Drawing primitives: images, sheets, pixels, text, life bar, background,
// and the drawing of the tile map and of creatures.
#pragma once
#include <SDL.h>
#include "creature.h"

struct mapLayer;

extern SDL_Surface *fontIMG;
extern SDL_Surface *splash1IMG;
extern SDL_Surface *splash2IMG;
extern SDL_Surface *gameLogoIMG;
extern SDL_Surface *lifebarIMG;
extern SDL_Surface *keySignIMG;
extern SDL_Rect fontClip[256];
extern SDL_Rect lifebarClip[2];

// Loads a BMP converted to the display format with magenta transparent; null on failure.
SDL_Surface *loadImage(const char *filename);

// Releases an image (null is accepted) and clears the pointer.
void freeImage(SDL_Surface **image);

// Releases the font, splash, logo, life-bar and key-sign images, which the game keeps
// to the end once loaded.
void dFreeImages(void);

// Cuts a sheet into cells of tileWidth x tileHeight, row per line, 1-pixel gaps.
void clipImage(SDL_Rect *source, int tileWidth, int tileHeight, int row, int numOfTiles);

// Blits source (or its clip part) to destination at (x, y).
void applySurface(int x, int y, SDL_Surface *source, SDL_Surface *destination, SDL_Rect *clip);

void putPixel(SDL_Surface *surface, int x, int y, Uint32 pixel);
Uint32 getPixel(SDL_Surface *surface, int x, int y);

// Fills a rectangle of the logical screen with an RGB colour.
void dFillRect(int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b);

// Pixels the pen moves per character of the 5x7 font: a line of text holds
// screenWidth / FONT_ADVANCE characters before it wraps.
const int FONT_ADVANCE = 6;
// Pixels the pen moves per line of the 5x7 font.
const int FONT_LINE_HEIGHT = 8;

// Text in the 5x7 font from (x, y) on the logical screen.
void dText(const char *text, int x, int y);

// Text centred horizontally (i = 0, j = top y) or vertically (i = 1, j = left x).
void dTextCentered(const char *text, int i, int j);

// The three-piece life bar at (x, y).
void dLifebar(int x, int y, int hp);

// One line of text centred horizontally with its top at y, on a plate of the
// sky's green one pixel around it, so a prompt reads over any ground or
// creature; a text of several lines draws nothing.
void dTextCenteredOnPlate(const char *text, int y);

// The plate the life bar at (x, y) stands on: the sky's green one pixel
// around its pieces, so its dark hearts read over dark ground too. Drawn
// before the life bar; nothing while the life-bar image is missing.
void dLifebarBacking(int x, int y);

// Clears the logical screen to the background colour.
void dBackground(void);

// Draws layer 0 of the level through the camera.
void dMap(void);

// Draws tile of the layer's tileset at half its size (every other pixel of
// every other row, 8 x 8) with its top-left corner at (x, y) of the logical
// screen; only the pixels inside window are drawn, and the colour key lets
// what is beneath show through.
void dTileHalf(const mapLayer *layer, int tile, int x, int y, const SDL_Rect *window);

// Draws mob with its box at screen position coord in animation state and facing, and advances its animation.
void drawAnim(Creature *mob, SDL_Rect coord, int state, int dir);

// Draws mob's first standing frame, for its facing, with its box corner at
// screen position (x, y); its animation counters are left alone.
void dCreatureStanding(const Creature *mob, int x, int y);
