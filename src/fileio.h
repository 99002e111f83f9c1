// Reading and writing the game's text files: the shared line reader and word
// splitter, and the four formats (settings, map, collision layer, creature
// definition), each in its own fileio_*.cpp file. What only those files share
// is in fileio_private.h.
#pragma once
#include <cstdio>
#include "creature.h"

// Line buffer and word table size of every loader.
const int LINE_MAX_CHARS = 1000;
const int LINE_MAX_WORDS = 1000;

// Reads the next line into line (capacity max), dropping any '#' comment.
// Returns the characters stored, or -1 at the end of the stream.
int fgetLine(FILE *fp, char *line, int max);

// Splits line in place into whitespace-separated words; returns their count.
int getWords(char *line, char **words, int maxwords);

// The loader skeleton: opens filename, then for every line (also empty ones)
// splits it into words and calls onLine. Reports "Can't open" and returns 1
// when the file cannot be opened or is not a regular file (a FIFO, a device,
// a folder), else 0 after the last line.
int readWordLines(const char *filename, void (*onLine)(char **words, int n, void *ctx), void *ctx);

// Settings file.
int loadConfig(const char *filename);
int saveConfig(const char *filename);

// Map file.
int loadMap(const char *filename);
int saveMap(const char *filename);

// Releases what a level file brings besides its grids (which freeMap
// releases): its creatures and the next level's name.
void freeMapObjects(void);

// Gives a layer the tileset image name from the tileset folder, as a level
// file's tileset line does; 1 when out of memory, the layer left as it was.
struct mapLayer;
int loadMapTileset(mapLayer *layer, const char *name);

// Collision layer file.
int loadCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename);
int saveCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename);

// Creature definition file.
int loadMobConfig(Creature *mob, const char *filename);
