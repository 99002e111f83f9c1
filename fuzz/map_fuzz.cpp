// Fuzzes the map reader with everything a level load does: tilesets loaded
// through SDL, creatures made with their sheets and definition files, and the
// collision masks of ./data/maps/default.col. It runs from the repository
// root, where ./data is. After each input the level and the creatures are
// released, so anything still held is a leak.
#include <SDL.h>
#include <cstring>

#include "enemy.h"
#include "fileio.h"
#include "fuzz_input.h"
#include "map.h"
#include "sdlmain.h"

// The logical screen the game opens, so images convert as in the game.
const int FUZZ_SCREEN_W = 160;
const int FUZZ_SCREEN_H = 120;
const int FUZZ_SCREEN_BPP = 16;

// Opens headless video once: tilesets and sprite sheets are converted to the
// display format when they load. SDL's own signal handlers stay out of the way
// of the sanitizers'.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    headlessSDL();
    FUZZ_CHECK(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0);
    FUZZ_CHECK(SDL_SetVideoMode(FUZZ_SCREEN_W, FUZZ_SCREEN_H, FUZZ_SCREEN_BPP, SDL_SWSURFACE) != nullptr);
    if (access("data/mobs/monkey.dat", R_OK) != 0)
        fprintf(stderr, "WARNING: run from the repository root, or creatures load without their data\n");
    return 0;
}

// A layer either has no grid or w columns of h bytes; every cell is read so a
// short column shows.
static void checkLayer(const mapLayer *layer)
{
    if (!layer->array)
        return;
    FUZZ_CHECK(layer->w > 0 && layer->h > 0);
    unsigned sum = 0;
    for (int x = 0; x < layer->w; x++)
        for (int y = 0; y < layer->h; y++)
            sum += layer->array[x][y];
    (void)sum;
}

// What a loaded level must hold, whatever its file said.
static void checkLevel(void)
{
    FUZZ_CHECK(memchr(curLvl.name, '\0', sizeof curLvl.name) != nullptr);
    checkLayer(&curLvl.layer0);
    checkLayer(&curLvl.layer1);
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        FUZZ_CHECK(node->mob.type >= -1 && node->mob.type <= 4);
}

// Leaves no level, no creatures and no next level name, as a fresh run has.
static void releaseLevel(void)
{
    freeMap();
    freeMapObjects();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FUZZ_CHECK(loadMap(fuzzInputFile(data, size)) == 0);
    checkLevel();
    releaseLevel();
    return 0;
}
