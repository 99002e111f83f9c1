// Reading and writing the game's text files: the shared line reader and
// word splitter, the atomic file writer, and the four formats.
#pragma once
#include <cstdio>
#include "creature.h"

// Line buffer and word table size of every loader.
const int LINE_MAX_CHARS = 1000;
const int LINE_MAX_WORDS = 1000;

// The comment line every writer puts first.
extern const char *const GENERATED_HEADER;

// Reads the next line into line (capacity max), dropping any '#' comment.
// Returns the characters stored, or -1 at the end of the stream.
int fgetLine(FILE *fp, char *line, int max);

// Splits line in place into whitespace-separated words; returns their count.
int getWords(char *line, char **words, int maxwords);

// The loader skeleton: opens filename, then for every line (also empty ones)
// splits it into words and calls onLine. Reports "Can't open" and returns 1
// when the file cannot be opened, else 0 after the last line.
int readWordLines(const char *filename, void (*onLine)(char **words, int n, void *ctx), void *ctx);

// Writes filename through writeLines(ofp, ctx) so that a failed write never
// leaves a half-written file: the lines go to a new temporary file beside the
// target, which replaces it only once complete and on the disk. Symbolic links
// are followed and kept, the old file keeps its permission bits, and a file the
// user may not write is refused untouched; a FIFO or a device is written in
// place. Prints savingLine once the file is open; on any failure prints
// failedFormat with the file name to standard error and returns 1, else 0.
int saveAtomically(const char *filename, const char *savingLine, const char *failedFormat,
                   void (*writeLines)(FILE *ofp, const void *ctx), const void *ctx);

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
int loadCollisionLayer(unsigned char layer[][16][16], const char *filename);
int saveCollisionLayer(unsigned char layer[][16][16], const char *filename);

// Creature definition file.
int loadMobConfig(Creature *mob, const char *filename);
