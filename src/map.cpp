// The level in memory: allocating and releasing its grids, and making a new
// empty or blank level.
#include "map.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "sdldraw.h"

// What a blank level is made of besides its size: a grass-topped ground tile
// for the floor, and the columns of the start and the exit.
const unsigned char MAP_BLANK_FLOOR_TILE = 2;
const int MAP_BLANK_START_X = 1;
const int MAP_BLANK_EXIT_X = MAP_BLANK_W - 3;

levelMap curLvl;
char *mapFile = nullptr;
char *mapFileNext = nullptr;
char *mapChosenFile = nullptr;

const char *mapFirstLevelFile(void)
{
    return mapFile ? mapFile : DEFAULT_MAP_FILE;
}

const char *mapLevelFile(void)
{
    return mapChosenFile ? mapChosenFile : mapFirstLevelFile();
}

int mapChooseLevelFile(const char *file)
{
    char *copy = nullptr;
    if (file && !(copy = strdup(file)))
        return 1;
    free(mapChosenFile);
    mapChosenFile = copy;
    return 0;
}

// 1 when a w x h grid is more than the game will hold.
static int mapSizeTooLarge(int w, int h)
{
    if (w > MAP_MAX_SIDE_TILES || h > MAP_MAX_SIDE_TILES)
        return 1;
    return static_cast<long long>(w) * h > MAP_MAX_CELLS;
}

int mapSizeAllowed(int w, int h)
{
    return w > 0 && h > 0 && !mapSizeTooLarge(w, h);
}

// A refused layer keeps neither a grid nor its size, so that no code goes on
// to compute with a size that has no grid behind it.
static int mapArrayRefused(mapLayer *layer)
{
    layer->array = nullptr;
    layer->w = 0;
    layer->h = 0;
    return 1;
}

// Reports a grid the heap could not give and releases what was allocated of
// it, so the layer is left with no grid at all.
static int mapArrayFailed(mapLayer *layer, int columnsAllocated)
{
    fprintf(stderr, "ERROR: Not enough memory for loading the map!\n");
    if (layer->array)
        freeMapArray(layer->array, columnsAllocated);
    return mapArrayRefused(layer);
}

int initMapArray(mapLayer *layer)
{
    const int w = layer->w;
    const int h = layer->h;
    if (w <= 0 || h <= 0) {
        fprintf(stderr, "ERROR: Layer width/height must be greater than zero!\n");
        return mapArrayRefused(layer);
    }
    if (mapSizeTooLarge(w, h)) {
        fprintf(stderr, "ERROR: Layer of %d x %d tiles is too large!\n", w, h);
        return mapArrayRefused(layer);
    }

    layer->array = static_cast<unsigned char **>(malloc(sizeof(unsigned char *) * w));
    if (!layer->array)
        return mapArrayFailed(layer, 0);

    for (int x = 0; x < w; x++) {
        layer->array[x] = static_cast<unsigned char *>(malloc(h));
        if (!layer->array[x])
            return mapArrayFailed(layer, x);
    }
    printf("Map of %d, %d inited\n", w, h);
    return 0;
}

void fillMapArray(mapLayer *layer, int value)
{
    // A layer whose grid could not be allocated has nothing to fill.
    if (!layer->array)
        return;
    for (int x = 0; x < layer->w; x++)
        memset(layer->array[x], value & 0xFF, layer->h);
}

const unsigned char (*mapTileMask(int x, int y))[TILE_SIZE]
{
    static const unsigned char nothing[TILE_SIZE][TILE_SIZE] = {};
    const mapLayer &layer = curLvl.layer0;
    // Outside the grid there is nothing to collide with; callers check this
    // already, the guard only keeps a slip from reading stray memory.
    if (!layer.array || x < 0 || y < 0 || x >= layer.w || y >= layer.h)
        return nothing;
    return layer.colLayer[layer.array[x][y]];
}

void returnColArray(unsigned char out[TILE_SIZE][TILE_SIZE], int x, int y)
{
    memcpy(out, mapTileMask(x, y), TILE_SIZE * TILE_SIZE);
}

int freeMapArray(unsigned char **array, int w)
{
    if (!array)
        return 0;
    for (int x = 0; x < w; x++)
        free(array[x]);
    free(array);
    return 0;
}

// Releases one layer's grid; a layer only has a grid when all its w columns exist.
static void mapFreeLayerArray(mapLayer *layer)
{
    freeMapArray(layer->array, layer->w);
    layer->array = nullptr;
}

int freeMap(void)
{
    mapFreeLayerArray(&curLvl.layer0);
    mapFreeLayerArray(&curLvl.layer1);

    free(curLvl.layer0.tilesetPath);
    free(curLvl.layer1.tilesetPath);
    curLvl.layer0.tilesetPath = nullptr;
    curLvl.layer1.tilesetPath = nullptr;

    // Names, sizes, start and exit are cleared so a stale level is never half-shown.
    curLvl.name[0] = '\0';
    curLvl.tileset[0] = '\0';
    curLvl.objTileset[0] = '\0';
    curLvl.layer0.w = 0;
    curLvl.layer0.h = 0;
    curLvl.layer1.w = 0;
    curLvl.layer1.h = 0;
    curLvl.start = Point{0, 0};
    curLvl.exit = Point{0, 0};

    // The tileset images; the pointers are cleared so a second freeMap releases nothing.
    freeImage(&curLvl.layer0.tilesetIMG);
    freeImage(&curLvl.layer1.tilesetIMG);
    return 0;
}

int mapNewLevel(int w, int h, const char *name)
{
    freeMap();
    for (mapLayer *layer : {&curLvl.layer0, &curLvl.layer1}) {
        layer->w = w;
        layer->h = h;
        if (initMapArray(layer)) {
            freeMap();
            return 1;
        }
        fillMapArray(layer, 0);
    }
    snprintf(curLvl.name, sizeof curLvl.name, "%s", name);
    return 0;
}

void mapReset(void)
{
    freeMap();
    memset(&curLvl, 0, sizeof curLvl);
    mapForgetFiles();
}

void mapForgetFiles(void)
{
    free(mapFile);
    mapFile = nullptr;
    free(mapFileNext);
    mapFileNext = nullptr;
    free(mapChosenFile);
    mapChosenFile = nullptr;
}

int mapNewBlankLevel(const char *name)
{
    if (mapNewLevel(MAP_BLANK_W, MAP_BLANK_H, name))
        return 1;
    for (int x = 0; x < MAP_BLANK_W; x++)
        curLvl.layer0.array[x][MAP_BLANK_H - 1] = MAP_BLANK_FLOOR_TILE;
    curLvl.start = Point{MAP_BLANK_START_X, MAP_BLANK_H - 2};
    curLvl.exit = Point{MAP_BLANK_EXIT_X, MAP_BLANK_H - 2};
    return 0;
}
