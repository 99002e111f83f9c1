// The map file: a level read into curLvl and the enemy list, and written back.
#include "fileio.h"
#include "fileio_private.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "enemy.h"
#include "global.h"
#include "map.h"
#include "sdldraw.h"

// Where the tileset images named in a level file live.
static const char MAP_TILESET_DIR[] = "./data/gfx/";
// The collision masks of every level.
static const char MAP_COLLISION_FILE[] = "./data/maps/default.col";

// Where the map reader stands in its file, kept from line to line.
struct MapReader {
    int parseName;    // the rest of this line is the level name
    int nameArgument; // the next word is a file name after its keyword
    int parseMap;     // inside the tile section
    int parseLayer;   // the layer the numbers fill, 0 or 1
    int parseObjects; // every line is a creature
    int objects;      // creatures made from the object lines
    int refused;      // object lines beyond the most a level may hold
    int mapInited;    // both grids have been allocated
    int k;            // tile cursor: column
    int l;            // tile cursor: row
    char *next;       // the next level's name read so far, or null
};

// Reports a name that could not be copied; returns 1 so the rest of the line is skipped.
static int mapOutOfMemory(void)
{
    fprintf(stderr, "ERROR: out of memory!\n");
    return 1;
}

// Appends a word and one blank to a level name; what does not fit is cut.
void mapAppendName(char *name, size_t size, const char *word)
{
    const size_t used = strlen(name);
    snprintf(name + used, size - used, "%s ", word);
}

// Allocates and clears both grids with the sizes known at the start of the
// tile section. A layer whose size is bad reports it and keeps no grid.
static void mapInitArrays(MapReader *r)
{
    initMapArray(&curLvl.layer0);
    fillMapArray(&curLvl.layer0, 0);
    initMapArray(&curLvl.layer1);
    r->mapInited = 1;
    fillMapArray(&curLvl.layer1, 0);
}

// Stores one number of the tile section and moves the cursor on, row by row.
static void mapStoreTile(MapReader *r, const char *word)
{
    mapLayer *layer = r->parseLayer == 1 ? &curLvl.layer1 : &curLvl.layer0;
    // A layer without a grid takes no numbers.
    if (!layer->array)
        return;
    // After a switch to a smaller layer the cursor may lie outside it; it then
    // starts again at the top-left cell, as after a full layer.
    if (r->k >= layer->w || r->l >= layer->h) {
        r->k = 0;
        r->l = 0;
    }
    layer->array[r->k][r->l] = static_cast<unsigned char>(atoi(word));
    r->k++;
    if (r->k >= layer->w) {
        r->k = 0;
        r->l++;
    }
    if (r->l >= layer->h) {
        r->k = 0;
        r->l = 0;
        // The tile section ends once layer 1 is full.
        if (r->parseLayer == 1)
            r->parseMap = 0;
    }
}

// Creates the creature of an object line (type, x, y) in front of the list.
// A line without all three is ignored; without memory the list stays as it was.
// The position is kept within a level's largest reach. Once the level holds
// ENEMY_MAX_PER_LEVEL creatures the other lines are only counted, so a small
// file cannot claim memory without bound.
static void mapReadObject(MapReader *r, char **words, int i, int n)
{
    if (i + 2 >= n)
        return;
    if (r->objects >= ENEMY_MAX_PER_LEVEL) {
        r->refused++;
        return;
    }
    const int x = readBoundedNumber(words[i + 1], -MAP_MAX_SIDE_PIXELS, MAP_MAX_SIDE_PIXELS);
    const int y = readBoundedNumber(words[i + 2], -MAP_MAX_SIDE_PIXELS, MAP_MAX_SIDE_PIXELS);
    EnemyList *head = prependElement(EnemyListHead, x, y, atoi(words[i]));
    if (head && head != EnemyListHead) {
        EnemyListHead = head;
        r->objects++;
    }
}

// Loads a layer's tileset from the tileset folder and cuts it into tiles.
// Returns 1 when out of memory, leaving the layer as it was.
int loadMapTileset(mapLayer *layer, const char *name)
{
    const size_t imagePathSize = sizeof(MAP_TILESET_DIR) + strlen(name);
    char *path = strdup(name);
    char *imagePath = static_cast<char *>(malloc(imagePathSize));
    if (!path || !imagePath) {
        free(path);
        free(imagePath);
        return mapOutOfMemory();
    }
    snprintf(imagePath, imagePathSize, "%s%s", MAP_TILESET_DIR, name);

    // A second tileset line for the same layer replaces the first.
    free(layer->tilesetPath);
    freeImage(&layer->tilesetIMG);
    layer->tilesetPath = path;
    layer->tilesetIMG = loadImage(imagePath);
    free(imagePath);
    clipImage(layer->tileClip, TILE_SIZE, TILE_SIZE, SHEET_CELLS_PER_ROW, TILE_COUNT);
    return 0;
}

// Reads a layer's size. Once the grids exist they keep the size they were made
// with, so a size given inside the tile section is ignored. Digits beyond int
// read as the largest int, which the grid allocation then refuses.
static void mapReadSize(const MapReader *r, mapLayer *layer, char **words, int i, int n)
{
    if (i + 2 >= n || r->mapInited)
        return;
    layer->w = readBoundedNumber(words[i + 1], INT_MIN, INT_MAX);
    layer->h = readBoundedNumber(words[i + 2], INT_MIN, INT_MAX);
}

// Reads a tile position (column, row), kept within a level's largest reach;
// ignored when the line lacks it.
static void mapReadPoint(Point *point, char **words, int i, int n)
{
    if (i + 2 >= n)
        return;
    point->x = readBoundedNumber(words[i + 1], -MAP_MAX_SIDE_TILES, MAP_MAX_SIDE_TILES);
    point->y = readBoundedNumber(words[i + 2], -MAP_MAX_SIDE_TILES, MAP_MAX_SIDE_TILES);
}

// Reads the next level's name. A bare keyword is ignored like every other
// keyword missing its argument. Returns 1 when out of memory, keeping the name
// read before.
static int mapReadNext(MapReader *r, char **words, int i, int n)
{
    if (i + 1 >= n)
        return 0;
    r->nameArgument = 1;
    char *next = strdup(words[i + 1]);
    if (!next)
        return mapOutOfMemory();
    free(r->next);
    r->next = next;
    return 0;
}

// A layer's tileset, named by the word after its keyword.
static int mapReadTileset(MapReader *r, mapLayer *layer, const char *name)
{
    r->nameArgument = 1;
    return loadMapTileset(layer, name);
}

// Starts the creature section: the list read before is dropped.
static void mapStartObjects(MapReader *r)
{
    enemyReset();
    r->parseObjects = 1;
    r->objects = 0;
    r->refused = 0;
}

// A word of the tile section: a layer's marker, which ends its line, or a
// tile number. Returns 1 when the rest of the line is to be skipped.
static int mapReadGridWord(MapReader *r, const char *word)
{
    if (!r->mapInited)
        mapInitArrays(r);
    if (strcmp(word, "LAYER0") == 0) {
        r->parseLayer = 0;
        return 1;
    }
    if (strcmp(word, "LAYER1") == 0) {
        r->parseLayer = 1;
        return 1;
    }
    mapStoreTile(r, word);
    return 0;
}

// A keyword that opens a section or carries a value; anything else is passed
// over. Returns 1 when the rest of the line is to be skipped.
static int mapReadKeyword(MapReader *r, char **words, int i, int n)
{
    const char *word = words[i];
    if (strcmp(word, "NAME:") == 0)
        r->parseName = 1;
    else if (strcmp(word, "LAYER0_MAPTILESET:") == 0 && i + 1 < n)
        return mapReadTileset(r, &curLvl.layer0, words[i + 1]);
    else if (strcmp(word, "LAYER1_MAPTILESET:") == 0 && i + 1 < n)
        return mapReadTileset(r, &curLvl.layer1, words[i + 1]);
    else if (strcmp(word, "LAYER0_SIZE:") == 0)
        mapReadSize(r, &curLvl.layer0, words, i, n);
    else if (strcmp(word, "LAYER1_SIZE:") == 0)
        mapReadSize(r, &curLvl.layer1, words, i, n);
    else if (strcmp(word, "START:") == 0)
        mapReadPoint(&curLvl.start, words, i, n);
    else if (strcmp(word, "EXIT:") == 0)
        mapReadPoint(&curLvl.exit, words, i, n);
    else if (strcmp(word, "NEXT:") == 0)
        return mapReadNext(r, words, i, n);
    else if (strcmp(word, "MAP:") == 0)
        r->parseMap = 1;
    else if (strcmp(word, "OBJECTS:") == 0)
        mapStartObjects(r);
    return 0;
}

// Runs word i of a line through every section that is open, then through the
// keywords, in that order. Returns 1 when the rest of the line is to be skipped.
static int mapReadWord(MapReader *r, char **words, int i, int n)
{
    // The level name, a word at a time.
    if (r->parseName)
        mapAppendName(curLvl.name, sizeof curLvl.name, words[i]);
    if (r->parseMap && mapReadGridWord(r, words[i]))
        return 1;
    if (r->parseObjects) {
        mapReadObject(r, words, i, n);
        return 1;
    }
    // A word of the name, and the file name after a tileset or NEXT:
    // keyword, are only that. The writer puts each of them after its keyword
    // as it stands, so a level called "The MAP: Road", or one whose tileset
    // file is called "OBJECTS:", must not open a section there: every save
    // and load would read the lines that follow as something else and change
    // the level.
    if (r->nameArgument) {
        r->nameArgument = 0;
        return 0;
    }
    if (r->parseName)
        return 0;
    return mapReadKeyword(r, words, i, n);
}

// One line of a level file; a line without words changes nothing.
static void mapReadLine(char **words, int n, void *ctx)
{
    MapReader *r = static_cast<MapReader *>(ctx);
    if (n == 0)
        return;
    r->parseName = 0;
    r->nameArgument = 0;
    for (int i = 0; i < n; i++) {
        if (mapReadWord(r, words, i, n))
            return;
    }
}

// A layer the file gave no grid (no tile section, a refused size) keeps no
// size either, so nothing computes with a size that has no grid behind it.
static void mapForgetSizeWithoutGrid(mapLayer *layer)
{
    if (layer->array)
        return;
    layer->w = 0;
    layer->h = 0;
}

// Releases the creature list and the next level's name.
void freeMapObjects(void)
{
    enemyReset();
    free(mapFileNext);
    mapFileNext = nullptr;
}

// Reads a level file into curLvl and the enemy list; 1 if it cannot be opened.
int loadMap(const char *filename)
{
    // A level's creatures and next level are exactly what its file says: none
    // are carried over from the level loaded before, even when this file
    // cannot be read.
    freeMapObjects();

    MapReader reader = {};
    enemyBeginLoad();
    const int unread = readWordLines(filename, mapReadLine, &reader);
    enemyEndLoad();
    if (unread)
        return 1;
    mapFileNext = reader.next;
    if (reader.refused > 0)
        printf("WARNING: (loadMap) %s holds more than %d creatures; the other %d are left out\n", filename,
               ENEMY_MAX_PER_LEVEL, reader.refused);
    mapForgetSizeWithoutGrid(&curLvl.layer0);
    mapForgetSizeWithoutGrid(&curLvl.layer1);
    loadMapCollision();
    return 0;
}

int loadMapCollision(void)
{
    return loadCollisionLayer(curLvl.layer0.colLayer, MAP_COLLISION_FILE);
}

// Writes a layer's grid: one line per row, each cell as a number and a blank.
// A row too long for the line reader goes on over further lines, since the
// reader takes the numbers as one sequence whatever the lines; a row that fits
// stays on one line, as it always has been written.
static void mapWriteGrid(FILE *ofp, const mapLayer *layer)
{
    if (!layer->array)
        return;
    for (int y = 0; y < layer->h; y++) {
        int lineLength = 0;
        for (int x = 0; x < layer->w; x++) {
            char cell[8];
            const int cellLength = snprintf(cell, sizeof cell, "%d ", layer->array[x][y]);
            if (lineLength + cellLength > LINE_MAX_CHARS - 1) {
                fputc('\n', ofp);
                lineLength = 0;
            }
            fputs(cell, ofp);
            lineLength += cellLength;
        }
        fputc('\n', ofp);
    }
}

// A creature's position in whole pixels, truncated toward zero and kept inside int.
static int mapWholePixel(float v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483648.0f)
        return INT_MAX;
    if (v <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(v);
}

// Text for a name that may be missing.
static const char *mapTextOrEmpty(const char *text)
{
    return text ? text : "";
}

// Writes layer 1's tileset and size. A level without a layer 1 grid has no
// size to write, and a tileset line only when it names a tileset, so that it
// loads back without a layer 1 as it was.
static void mapWriteLayer1Lines(FILE *ofp)
{
    const mapLayer *layer = &curLvl.layer1;
    if (layer->array || layer->tilesetPath)
        fprintf(ofp, "LAYER1_MAPTILESET: %s\n", mapTextOrEmpty(layer->tilesetPath));
    if (layer->array)
        fprintf(ofp, "LAYER1_SIZE: %d %d\n", layer->w, layer->h);
}

// Writes the whole level in the order the reader expects. The other lines
// always fit the line reader: the name has room for 39 characters, and the
// tileset and next level names are the blank level's tileset or words of lines
// the reader took in whole, each behind a keyword as long as the one written.
static void mapWriteLevel(FILE *ofp, const void *)
{
    levelWriteHeader(ofp);
    fprintf(ofp, "NAME: %s\n", curLvl.name);
    fprintf(ofp, "LAYER0_MAPTILESET: %s\n", mapTextOrEmpty(curLvl.layer0.tilesetPath));
    fprintf(ofp, "LAYER0_SIZE: %d %d\n", curLvl.layer0.w, curLvl.layer0.h);
    mapWriteLayer1Lines(ofp);
    fprintf(ofp, "START: %d %d\n", curLvl.start.x, curLvl.start.y);
    fprintf(ofp, "EXIT: %d %d\n", curLvl.exit.x, curLvl.exit.y);
    fprintf(ofp, "NEXT: %s\n", mapTextOrEmpty(mapFileNext));
    fputs("MAP:\nLAYER0\n", ofp);
    mapWriteGrid(ofp, &curLvl.layer0);
    // Written even without a layer 1 grid: it ends layer 0's numbers, so that
    // the creature lines are not read back as more of layer 0's tiles.
    fputs("LAYER1\n", ofp);
    mapWriteGrid(ofp, &curLvl.layer1);
    fputs("OBJECTS:\n", ofp);
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        fprintf(ofp, "%d %d %d\n", node->mob.type, mapWholePixel(node->mob.creature.x),
                mapWholePixel(node->mob.creature.y));
}

// Writes the level back in the layout the reader expects; 1 on any failure.
int saveMap(const char *filename)
{
    // The level goes to a temporary file that replaces the old one only once
    // it is complete, so a failed save never spoils a good level.
    return saveAtomically(filename, "Saving map\n", "ERROR: (saveMap) Can't open %s: %s\n", mapWriteLevel, nullptr);
}
