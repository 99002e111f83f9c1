// The level held in memory: two tile layers, start and exit.
#pragma once
#include <SDL.h>
#include "global.h"

struct mapLayer {
    char *tilesetPath;               // tileset file name as written in the map file (owned)
    SDL_Surface *tilesetIMG;         // the loaded tileset
    SDL_Rect tileClip[TILE_COUNT];   // source rectangle of each tile index
    unsigned char **array;           // array[x][y]: w columns of h bytes, null when empty
    unsigned char colLayer[TILE_COUNT][TILE_SIZE][TILE_SIZE]; // collision mask of every tile: [tile][row][column]
    int w;                           // size in tiles
    int h;
};

struct levelMap {
    char name[40];
    char tileset[40];
    char objTileset[40];
    mapLayer layer0; // the play layer: drawn and collided with
    mapLayer layer1; // loaded and saved only
    Point start;     // player's start tile (column, row)
    Point exit;      // exit tile (column, row)
};

extern levelMap curLvl;

extern char *mapFile;       // level path given with -map (owned), or null
extern char *mapFileNext;   // next-level name read from the level file (owned), or null
extern char *mapChosenFile; // a later level of the campaign, chosen on the title or by JUMP (owned), or null

// The first level of the campaign: the -map path or the default one.
const char *mapFirstLevelFile(void);

// The level the game and the editor work on: the chosen one, else the first.
const char *mapLevelFile(void);

// Makes file the level the game and the editor work on; null goes back to the
// first level. Returns 1 when out of memory, the choice left as it was.
int mapChooseLevelFile(const char *file);

// Largest grid a layer may have: at most this many columns or rows, and at
// most this many cells (bytes) in all. Far beyond any level one builds in the
// editor, yet a damaged size in a level file is refused as too large instead
// of asking the heap for gigabytes. A level is then at most 2^19 pixels along
// a side, which keeps every sum of level positions, box sizes and speeds far
// inside int and exact in float.
const int MAP_MAX_SIDE_TILES = 32768;
const long long MAP_MAX_CELLS = 16LL * 1024 * 1024;
const int MAP_MAX_SIDE_PIXELS = MAP_MAX_SIDE_TILES * TILE_SIZE;

// 1 when a layer of w x h tiles is one the game takes: both positive and
// within the limits above.
int mapSizeAllowed(int w, int h);

// A layer holds a grid exactly when its array is not null, and then w and h
// are greater than zero. A layer without a grid has a size of 0 x 0: after
// freeMap, after initMapArray refused its size, and after a loadMap whose file
// gave it no grid (not a level, no tile section, a refused size). So
// "curLvl.layer0.array != nullptr" after a load tells that the file was a level.

// Allocates layer->array for the layer's w and h; 0 on success, 1 on failure.
// A size that is not positive or too large is reported and, like a failed
// allocation, leaves the layer with no grid and a size of 0 x 0.
int initMapArray(mapLayer *layer);

// Stores value, cut to a byte, in every cell of the layer.
void fillMapArray(mapLayer *layer, int value);

// Copies the collision mask of layer 0's tile at column x, row y into out.
void returnColArray(unsigned char out[TILE_SIZE][TILE_SIZE], int x, int y);

// The same mask read in place, without the copy: collision asks for it many
// times a step. Outside the grid it is a mask with nothing to collide with.
const unsigned char (*mapTileMask(int x, int y))[TILE_SIZE];

// Frees w columns and then the column table; returns 0.
int freeMapArray(unsigned char **array, int w);

// Releases the loaded level; returns 0.
int freeMap(void);

// Releases the level and forgets the -map path and the next level's name:
// the level model as at start-up. The game never needs it; tests do.
void mapReset(void);

// Frees the -map path, the chosen level and the next level's name.
void mapForgetFiles(void);

// Replaces the level with a new one named name: both layers w x h empty cells,
// no tilesets, start and exit at (0, 0). Returns 1, leaving no level, when the
// grids cannot be had.
int mapNewLevel(int w, int h, const char *name);

// A new level as the editor begins one: 64 x 15 tiles, a floor along the
// bottom row, the start near the left end and the exit near the right, both
// standing on the floor, and both layers drawn with the shipped tileset.
const int MAP_BLANK_W = 64;
const int MAP_BLANK_H = 15;
const char *const MAP_BLANK_TILESET = "tiles01.bmp";

// Replaces the level with a new blank one named name, as above. Its tileset
// is named but not loaded: images are the caller's. Returns 1, leaving no
// level, when the grids cannot be had.
int mapNewBlankLevel(const char *name);
