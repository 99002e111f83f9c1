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

// The same, but reading stops after the line for which onLine returns 1.
int readWordLinesUntil(const char *filename, int (*onLine)(char **words, int n, void *ctx), void *ctx);

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

// Reads the collision masks of layer 0's tiles from the file all levels
// share, as every level load does; 0 on success.
int loadMapCollision(void);

// What a level file says before its tile section: enough to name a level
// and follow a campaign without reading any grid.
struct mapHeader {
    char name[40];             // the NAME: words, each followed by a blank, as loadMap reads them
    char next[LINE_MAX_CHARS]; // the NEXT: file name, or empty
};

// Reads a level file's lines up to its tile section (MAP:) or its creature
// section, whichever comes first, into header. Returns 0 when the file reads
// as a level: a regular file whose tile section begins after a play layer
// size the game takes; else 1, saying nothing, so that a caller peeking at a
// file that may not exist reports what it means.
int loadMapHeader(const char *filename, mapHeader *header);

// Collision layer file.
int loadCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename);
int saveCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename);

// Creature definition file.
int loadMobConfig(Creature *mob, const char *filename);

// Progress file: the levels won, one "WON name" line each. loadProgress
// hands each name to onLevel in file order; it returns 0 when every line was
// an entry, PROGRESS_MISSING or PROGRESS_UNREADABLE (saying nothing) when
// there is no such file or it cannot be read, else the number (from 1) of the
// first line that is no entry: a damaged file, whose entries the caller should
// not trust. saveProgress writes count names through the atomic writer; 1
// (with a message) on any failure.
const int PROGRESS_MISSING = -1;
const int PROGRESS_UNREADABLE = -2;
int loadProgress(const char *filename, void (*onLevel)(const char *level, void *ctx), void *ctx);
int saveProgress(const char *filename, const char *const *levels, int count);

// Sound files. An effect's source is "tone" lines (synth.h) read into tones
// (at most max); *count gets how many. 1 (with a message) when the file
// cannot be read or a line is no tone.
struct SynthTone;
int loadSoundEffect(const char *filename, SynthTone *tones, int max, int *count);

// An effect as a WAV file: 8-bit unsigned mono at SOUND_RATE, the only form
// the game reads. saveSoundWav writes through the atomic writer; 1 (with a
// message) on failure. loadSoundWav returns the samples (malloc'd, the
// caller frees them) and their number in *length, or nullptr, saying nothing,
// when the file cannot be opened or is no such sound: the caller sums up.
int saveSoundWav(const char *filename, const unsigned char *samples, int length);
unsigned char *loadSoundWav(const char *filename, int *length);

// A tune: "speed STEPS_A_MINUTE", then for each voice "voice WAVE VOLUME"
// followed by "notes" lines of note names (C4, As3 for A sharp ...), "." for a rest and
// "-" to hold the note before. 1 (with a message) on any fault, the tune left empty.
struct Tune;
int loadTune(const char *filename, Tune *tune);

// The sound volume file: "volume N". loadSoundVolume returns N, or
// SOUND_VOLUME_DEFAULT when there is no such file or it holds no volume.
int loadSoundVolume(const char *filename);
int saveSoundVolume(const char *filename, int volume);
