// Fuzzes the map reader with everything a level load does: the tileset loaded
// through SDL and creatures made with their sheets and definition files.
// After each input the level and the creatures are released, so anything
// still held is a leak.
//
// A level the game accepts must also survive the editor's save. One input in
// FUZZ_SAVE_EVERY, chosen by its length so that a kept input is checked the
// same way again, is saved, read back and saved again, and the two files must
// be the same byte for byte but for the order of the creature lines, which
// every load and save reverses (the reader puts each creature in front of the
// list, the writer walks it from the front). So nothing a designer's level
// holds is lost or changed.
//
// The load runs inside a scratch copy of ./data in which the images it reads
// besides the level are small: the tileset is a one-pixel stand-in and the
// creatures' sheets stay loaded for the whole run (both fuzz_sheets.h), and
// there is no collision file to read. The definition files are the real ones,
// read once: the whole run is one long level load to the creature list, so
// each kind's file is read by the first creature of that kind and copied to
// the rest. So each input costs what its own level asks for, rather than a
// 256 x 256 image, 65 536 collision numbers and six definition files that
// never change; those files have their own harnesses (collision, mob_config)
// or are played in full (play). The harness returns to the starting folder
// after each input, so libFuzzer's own paths keep their meaning. Run it from
// the repository root, where ./data is.
#include <SDL.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <glob.h>
#include <sstream>
#include <string>
#include <vector>
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

// Writes the stand-in tileset, and links the real definition files and sprite
// sheets, into the scratch data folder. It holds no collision file: every
// load then says it cannot open one and keeps the masks as they were, which
// is all a level record does with them.
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

// The header alone, as the title reads it to follow a campaign: every text
// ends within its field, and the name of a level that reads as one begins the
// name the whole load found (which may go on in a NAME: line among the tiles).
static void checkHeader(const char *level)
{
    mapHeader header;
    memset(&header, 'x', sizeof header);
    const int readsAsLevel = loadMapHeader(level, &header) == 0;
    FUZZ_CHECK(memchr(header.name, '\0', sizeof header.name) != nullptr);
    FUZZ_CHECK(memchr(header.next, '\0', sizeof header.next) != nullptr);
    if (readsAsLevel)
        FUZZ_CHECK(strncmp(header.name, curLvl.name, strlen(header.name)) == 0);
}

// Leaves no level, no creatures and no next level name, as a fresh run has.
static void releaseLevel(void)
{
    freeMap();
    freeMapObjects();
}

// Levels of up to this many cells in all, in rows of up to this many columns,
// are saved and read back: every shipped level, and rows four times as long
// as the longest line the reader takes whole. The reader takes levels of
// millions of cells, and a grid costs an allocation a column to read; the
// saves of such levels would cost more than a whole run of small inputs.
// Saving levels of every size the game takes has its own test.
const long FUZZ_SAVED_CELLS_MAX = 8192;
// Saving and reading back costs more than the load itself; checked on one
// input in this many, the harness still runs its thousand inputs a second,
// and mutations change lengths all the time, so every kind of level is saved.
const size_t FUZZ_SAVE_EVERY = 4;
const int FUZZ_SAVED_COLUMNS_MAX = 1024;

// The cells of a layer's grid, 0 without one.
static long layerCells(const mapLayer *layer)
{
    return layer->array ? static_cast<long>(layer->w) * layer->h : 0;
}

// 1 when the loaded level is one the harness saves and reads back.
static int savedInFull(void)
{
    return layerCells(&curLvl.layer0) + layerCells(&curLvl.layer1) <= FUZZ_SAVED_CELLS_MAX &&
           curLvl.layer0.w <= FUZZ_SAVED_COLUMNS_MAX && curLvl.layer1.w <= FUZZ_SAVED_COLUMNS_MAX;
}

// The whole of a file, relative to the current folder.
static std::string fileText(const char *name)
{
    std::ifstream in(name, std::ios::binary);
    FUZZ_CHECK(in.good());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of text from the creature section on, last first; the text before
// them is left in head.
static std::vector<std::string> creatureLinesReversed(const std::string &text, std::string *head)
{
    // The writer puts the section last, so its line is the last of its kind;
    // a tileset or level name may hold the same word.
    static const char marker[] = "\nOBJECTS:\n";
    const size_t start = text.rfind(marker);
    FUZZ_CHECK(start != std::string::npos);
    *head = text.substr(0, start);
    std::vector<std::string> lines;
    std::istringstream rest(text.substr(start + sizeof marker - 1));
    for (std::string line; std::getline(rest, line);)
        lines.insert(lines.begin(), line);
    return lines;
}

// Saves the loaded level, reads the save back and saves that: the two saves
// must be the same but for the creatures' order. Leaves the level read back loaded.
static void checkSaveRoundTrip(void)
{
    if (!savedInFull())
        return;
    static const char first[] = "saved.map";
    static const char second[] = "saved-again.map";
    FUZZ_CHECK(saveMap(first) == 0);
    releaseLevel();
    FUZZ_CHECK(loadMap(first) == 0);
    checkLevel();
    FUZZ_CHECK(saveMap(second) == 0);
    std::string firstHead, secondHead;
    const std::vector<std::string> firstCreatures = creatureLinesReversed(fileText(first), &firstHead);
    std::vector<std::string> secondCreatures = creatureLinesReversed(fileText(second), &secondHead);
    std::reverse(secondCreatures.begin(), secondCreatures.end());
    FUZZ_CHECK(firstHead == secondHead);
    FUZZ_CHECK(firstCreatures == secondCreatures);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *level = fuzzInputFile(data, size);
    FUZZ_CHECK(chdir(scratch) == 0);
    FUZZ_CHECK(loadMap(level) == 0);
    checkLevel();
    checkHeader(level);
    if (size % FUZZ_SAVE_EVERY == 0)
        checkSaveRoundTrip();
    releaseLevel();
    FUZZ_CHECK(fchdir(homeFolder) == 0);
    return 0;
}
