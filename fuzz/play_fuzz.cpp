// Fuzzes a whole game: a fuzzed level and fuzzed creature definitions are
// loaded by the in-game mode and played for up to a few hundred logic steps
// with fuzzed button presses, drawn as the game draws it. Whatever the
// files hold, no arithmetic of the play (positions, sizes, speeds, hit points)
// may overflow and nothing may be read or written out of bounds.
//
// An input is four parts, each ended by a line "#%%" (a comment to every reader):
// the level, the player's definition (data/mobs/monkey.dat, which the monkey
// enemy shares), the definition every other creature reads, and the buttons:
// one byte per logic step whose bit b holds logical button b (UP ... BACK).
// The game plays one step for each press byte, so the fuzzer decides how long
// a game lasts: a longer one is a longer input, found when it reaches more.
//
// The files live in a scratch copy of ./data whose images link to the real
// ones, except the tileset, a one-pixel stand-in (fuzz_sheets.h); the game
// runs inside it for each input and the harness returns to the starting
// folder after, so libFuzzer's own paths keep their meaning. The
// collision masks are read once from the real data/maps/default.col: the
// scratch copy has none, so every load keeps them, as a level record does
// when that file cannot be opened, and the time goes to play rather than to
// reading 65 536 numbers again. For the same reason one creature of each kind
// is held for the whole run (fuzz_sheets.h), so the sprite sheets, the
// player's among them, are loaded once. Run it from the repository root,
// where ./data is.
#include <SDL.h>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <glob.h>
#include <string>
#include <sys/stat.h>

#include "animation.h"
#include "draw.h"
#include "enemy.h"
#include "fileio.h"
#include "fuzz_input.h"
#include "fuzz_sheets.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "player.h"
#include "sdlmain.h"

// The most logic steps an input plays, and the marker that ends each part.
const int FUZZ_STEPS = 300;
static const char PART_END[] = "#%%";
// The game draws once for all the steps it catches up on when it runs late,
// so a frame drawn every second step is one it can show itself (a display at
// half the logic's rate); the last step is always drawn. Filling the screen
// costs more than a step's logic, and this halves it.
const int FUZZ_DRAW_EVERY = 2;
// Buttons the press bytes drive, bit 0 first.
const int FUZZ_BUTTONS = BACK + 1;

// The files the parts go to, relative to the scratch folder. Every creature
// but the monkey reads the same definition, so it is written once, to the
// key's file, which the others' files link to.
static const char PLAYER_FILE[] = "data/mobs/monkey.dat";
static const char CREATURE_FILE[] = "data/mobs/key.dat";
static const char *const CREATURE_LINKS[] = {"data/mobs/shell.dat", "data/mobs/frog.dat", "data/mobs/squid.dat",
                                             "data/mobs/plant.dat"};
static const char CREATURE_LINK_TARGET[] = "key.dat";
static const char LEVEL_FILE[] = "level.map";

// The scratch folder (fuzz_input.h), and the folder to return to after each input.
static char scratch[64];
static int homeFolder = -1;

// Makes dir/name a link to the real file or folder of the same name.
static void linkToReal(const std::string &real, const char *name)
{
    FUZZ_CHECK(symlink((real + "/" + name).c_str(), (std::string(scratch) + "/" + name).c_str()) == 0);
}

// Links every real image but the tileset, which is written in its place as a
// one-pixel stand-in.
static void linkImages(const std::string &real)
{
    const std::string tileset = std::string("data/gfx/") + MAP_BLANK_TILESET;
    glob_t images = {};
    FUZZ_CHECK(glob("data/gfx/*.bmp", 0, nullptr, &images) == 0);
    for (size_t i = 0; i < images.gl_pathc; i++)
        if (images.gl_pathv[i] != tileset)
            linkToReal(real, images.gl_pathv[i]);
    globfree(&images);
    fuzzWriteTileset(std::string(scratch) + "/" + tileset);
}

// Removes the scratch folder when the run ends normally.
static void removeScratch(void)
{
    const std::string command = std::string("rm -rf '") + scratch + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", scratch);
}

// Builds the scratch data folder and opens headless video once; images are
// converted to the display format when they load. SDL's own signal handlers
// stay out of the way of the sanitizers'. Then keeps the real sprite sheets.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char real[PATH_MAX];
    FUZZ_CHECK(getcwd(real, sizeof real) != nullptr);
    if (access("data/mobs/monkey.dat", R_OK) != 0)
        fprintf(stderr, "WARNING: run from the repository root, or the game has no images or masks\n");
    fuzzScratchFolder(scratch, "play");
    atexit(removeScratch);
    for (const char *folder : {"/data", "/data/mobs", "/data/maps", "/data/gfx"})
        FUZZ_CHECK(mkdir((std::string(scratch) + folder).c_str(), 0700) == 0);
    linkImages(real);
    for (const char *name : CREATURE_LINKS)
        FUZZ_CHECK(symlink(CREATURE_LINK_TARGET, (std::string(scratch) + "/" + name).c_str()) == 0);
    FUZZ_CHECK(loadCollisionLayer(curLvl.layer0.colLayer, "data/maps/default.col") == 0);
    homeFolder = open(".", O_RDONLY | O_DIRECTORY);
    FUZZ_CHECK(homeFolder >= 0);

    headlessSDL();
    FUZZ_CHECK(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) == 0);
    // Shown unscaled, as with -scale 1: the harness opens no scaled display,
    // and at the default scale every flip would fail and say so.
    scale = 1;
    screen = SDL_SetVideoMode(screenWidth, screenHeight, screenBpp, SDL_SWSURFACE);
    FUZZ_CHECK(screen != nullptr);
    fuzzKeepSheets();
    return 0;
}

// Cuts the next part off the input: the text up to the next marker line, or all that is left.
static std::string nextPart(const uint8_t **data, size_t *size)
{
    const std::string rest(reinterpret_cast<const char *>(*data), *size);
    const size_t end = rest.find(PART_END);
    const size_t taken = end == std::string::npos ? rest.size() : end + sizeof PART_END - 1;
    *data += taken;
    *size -= taken;
    return rest.substr(0, end);
}

// Writes text as the named file.
static void writeFile(const char *name, const std::string &text)
{
    FILE *f = fopen(name, "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(fwrite(text.data(), 1, text.size(), f) == text.size());
    FUZZ_CHECK(fclose(f) == 0);
}

// Holds the buttons whose bits are set and releases the others; as with a key,
// a button held on goes on counting as the one press it made.
static void setButtons(int held, int *wasHeld)
{
    for (int button = 0; button < FUZZ_BUTTONS; button++) {
        const int down = (held >> button) & 1;
        if (down != ((*wasHeld >> button) & 1))
            keyPress.key[button] = down;
    }
    *wasHeld = held;
}

// Leaves no level, no creatures, no player and no mode started, as a fresh run has.
static void releaseGame(void)
{
    freeMap();
    freeMapObjects();
    playerReset();
    logicReset();
    memset(&keyPress, 0, sizeof keyPress);
    mapFile = nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FUZZ_CHECK(chdir(scratch) == 0);
    writeFile(LEVEL_FILE, nextPart(&data, &size));
    writeFile(PLAYER_FILE, nextPart(&data, &size));
    writeFile(CREATURE_FILE, nextPart(&data, &size));

    mapFile = const_cast<char *>(LEVEL_FILE);
    newGameMode = MODE_INGAME;
    int held = 0;
    // The first step loads the level, so even an input without presses plays it.
    const int steps = size < 1 ? 1 : size > FUZZ_STEPS ? FUZZ_STEPS : static_cast<int>(size);
    for (int step = 0; step < steps && newGameMode == MODE_INGAME; step++) {
        setButtons(static_cast<size_t>(step) < size ? data[step] : 0, &held);
        if (step % FUZZ_DRAW_EVERY == FUZZ_DRAW_EVERY - 1 || step == steps - 1)
            mainStepAndDraw();
        else
            mainStep();
        FUZZ_CHECK(std::isfinite(player.x) && std::isfinite(player.y));
    }
    releaseGame();
    FUZZ_CHECK(fchdir(homeFolder) == 0);
    return 0;
}
