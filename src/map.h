// The level held in memory: two tile layers, start and exit.
#pragma once
#include <SDL.h>
#include "global.h"

struct mapLayer {
    char *tilesetPath;               // tileset file name as written in the map file (owned)
    SDL_Surface *tilesetIMG;         // the loaded tileset
    SDL_Rect tileClip[256];          // source rectangle of each tile index
    unsigned char **array;           // array[x][y]: w columns of h bytes, null when empty
    unsigned char colLayer[256][16][16]; // collision mask of every tile: [tile][row][column]
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

// Allocates layer->array for the layer's w and h; 0 on success, 1 on failure.
int initMapArray(mapLayer *layer);

// Stores value, cut to a byte, in every cell of the layer.
void fillMapArray(mapLayer *layer, int value);

// Copies the collision mask of layer 0's tile at column x, row y into out.
void returnColArray(unsigned char out[16][16], int x, int y);

// Frees w columns and then the column table; returns 0.
int freeMapArray(unsigned char **array, int w);

// Releases the loaded level; returns 0.
int freeMap(void);

// Replaces the level with a new one named name: both layers w x h empty cells,
// no tilesets, start and exit at (0, 0). Returns 1, leaving no level, when the
// grids cannot be had.
int mapNewLevel(int w, int h, const char *name);
