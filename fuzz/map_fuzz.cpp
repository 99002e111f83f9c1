// Fuzzes the map reader with everything a level load does: the tileset loaded
// through SDL, creatures made with their sheets and definition files, and the
// collision masks read. After each input the level and the creatures are
// released, so anything still held is a leak.
//
// The load runs inside a scratch copy of ./data in which the images and
// masks it reads besides the level are small: the shipped tileset is one pixel
// (fuzz_sheets.h), default.col holds two tiles, and the creatures' sheets stay loaded
// for the whole run (fuzz_sheets.h). The definition files are the real ones,
// read once: the whole run is one long level load to the creature list, so
// each kind's file is read by the first creature of that kind and copied to
// the rest. So each input costs what its own level asks for, rather than a
// 256 x 256 image, 65 536 collision numbers and six definition files that
// never change; those files have their own harnesses (collision, mob_config)
// or are played in full (play). The harness
// returns to the starting folder after each input, so libFuzzer's own paths
// keep their meaning. Run it from the repository root, where ./data is.
#include <SDL.h>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <glob.h>
#include <string>
#include <sys/stat.h>

#include "enemy.h"
#include "fileio.h"
#include "fuzz_input.h"
#include "fuzz_sheets.h"
#include "map.h"
#include "sdlmain.h"

// The logical screen the game opens, so images convert as in the game.
const int FUZZ_SCREEN_W = 160;
const int FUZZ_SCREEN_H = 120;
const int FUZZ_SCREEN_BPP = 16;

// The collision masks every load reads: two tiles in the framing the editor
// writes, the first solid and the second with one open corner.
static const char FUZZ_COLLISION[] =
    "LAYER:\n"
    "TILE 0\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "TILE 1\n"
    "0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n"
    "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n";

// The scratch folder (fuzz_input.h), and the folder to return to after each input.
static char scratch[64];
static int homeFolder = -1;

// The path of name inside the scratch folder.
static std::string inScratch(const char *name)
{
    return std::string(scratch) + "/" + name;
}

// Removes the scratch folder when the run ends normally.
static void removeScratch(void)
{
    const std::string command = std::string("rm -rf '") + scratch + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", scratch);
}

// Makes name in the scratch folder a link to the real file or folder of that name.
static void linkToReal(const char *real, const char *name)
{
    FUZZ_CHECK(symlink((std::string(real) + "/" + name).c_str(), inScratch(name).c_str()) == 0);
}

// Writes the small collision file and the small tileset, and links the real
// definition files and sprite sheets, into the scratch data folder.
static void makeScratchData(const char *real)
{
    fuzzScratchFolder(scratch, "map");
    atexit(removeScratch);
    for (const char *folder : {"data", "data/maps", "data/gfx"})
        FUZZ_CHECK(mkdir(inScratch(folder).c_str(), 0700) == 0);
    linkToReal(real, "data/mobs");

    glob_t sheets = {};
    FUZZ_CHECK(glob("data/gfx/*Ani.bmp", 0, nullptr, &sheets) == 0);
    for (size_t i = 0; i < sheets.gl_pathc; i++)
        linkToReal(real, sheets.gl_pathv[i]);
    globfree(&sheets);

    FILE *col = fopen(inScratch("data/maps/default.col").c_str(), "wb");
    FUZZ_CHECK(col != nullptr);
    FUZZ_CHECK(fputs(FUZZ_COLLISION, col) >= 0);
    FUZZ_CHECK(fclose(col) == 0);

    fuzzWriteTileset(inScratch("data/gfx/") + MAP_BLANK_TILESET);
}

// Opens headless video once: tilesets and sprite sheets are converted to the
// display format when they load. SDL's own signal handlers stay out of the way
// of the sanitizers'. Then keeps the real sprite sheets and builds the scratch
// data folder.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char real[PATH_MAX];
    FUZZ_CHECK(getcwd(real, sizeof real) != nullptr);
    if (access("data/mobs/monkey.dat", R_OK) != 0)
        fprintf(stderr, "WARNING: run from the repository root, or creatures load without their data\n");
    headlessSDL();
    FUZZ_CHECK(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0);
    FUZZ_CHECK(SDL_SetVideoMode(FUZZ_SCREEN_W, FUZZ_SCREEN_H, FUZZ_SCREEN_BPP, SDL_SWSURFACE) != nullptr);
    fuzzKeepSheets();
    enemyBeginLoad();
    makeScratchData(real);
    homeFolder = open(".", O_RDONLY | O_DIRECTORY);
    FUZZ_CHECK(homeFolder >= 0);
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
    const char *level = fuzzInputFile(data, size);
    FUZZ_CHECK(chdir(scratch) == 0);
    FUZZ_CHECK(loadMap(level) == 0);
    checkLevel();
    releaseLevel();
    FUZZ_CHECK(fchdir(homeFolder) == 0);
    return 0;
}
