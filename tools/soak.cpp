// kettlemoor-soak: plays a whole session headless through the game's own main
// loop passes, with key presses pushed into SDL's queue: the intro, the menu,
// GAMES games on map01 (each left through pause and OK, or after a game over),
// the editor changing one tile and saving, and Exit from the menu.
//
// It is the run that memory checkers watch: a leak that grows with the number
// of games shows up by comparing a run of one game with a run of five, and at
// its end it releases everything the game still holds, so whatever a checker
// then reports was lost on the way. It also counts the heap allocations made
// by STEPS in-game steps with their drawn frames, which must be none.
//
// Usage: kettlemoor-soak [-games GAMES] [-steps STEPS] [-keep]
// -keep ends like the game itself does, releasing only the video and the path
// strings, so a checker sees what the game leaves behind at its exit.
// Run it from the directory holding ./data. The editor saves into a temporary
// copy of data/maps/map01.map, never into the level itself.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <SDL.h>
#include <unistd.h>

#include "alloc_count.h"
#include "animation.h"
#include "editor.h"
#include "enemy.h"
#include "fileio.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "menu.h"
#include "player.h"
#include "push_button.h"
#include "regular_file.h"
#include "sdldraw.h"
#include "sdlmain.h"

namespace {

const char *const LEVEL_FILE = DEFAULT_MAP_FILE;
// Milliseconds the clock moves per loop pass: one logic step, now and then two.
const int PASS_MS = 17;
// Passes a mode gets to show up before the run counts as stuck.
const int MODE_TIMEOUT_PASSES = 600;
// Passes of play before the allocation count starts, so that whatever is set
// up on a game's first frames (the font's first glyphs, stdout's buffer) is done.
const int WARM_UP_PASSES = 60;
// Presses it may take to leave a game (pause, then OK; or OK after a game over).
const int LEAVE_TRIES = 10;

int clockMs = 0;       // the tick count handed to the main loop
int passesRun = 0;     // loop passes so far
int stepsRun = 0;      // logic steps so far
bool failed = false;   // a check failed; the exit status says so

// Reports a failed check and remembers it.
void soakFail(const char *what)
{
    fprintf(stderr, "kettlemoor-soak: %s\n", what);
    failed = true;
}

// One pass of the game's main loop, one logic step later on the clock.
void soakPass(void)
{
    clockMs += PASS_MS;
    stepsRun += mainLoopPass(clockMs);
    passesRun++;
}

// Runs n passes.
void soakPasses(int n)
{
    for (int i = 0; i < n && !quit; i++)
        soakPass();
}

// Presses and releases a button, a pass for each, as a person's tap.
void soakTap(int button)
{
    pushButton(button, true);
    soakPass();
    pushButton(button, false);
    soakPass();
}

// Runs passes until mode is current and no change is pending; false if it never comes.
bool soakReach(gameModeEnum mode)
{
    for (int i = 0; i < MODE_TIMEOUT_PASSES && !quit; i++) {
        if (gameMode == mode && newGameMode == mode)
            return true;
        soakPass();
    }
    return gameMode == mode && newGameMode == mode;
}

// Both splash screens skipped with OK: the title screen over the demo level.
void soakIntro(void)
{
    if (!soakReach(MODE_INTRO))
        return soakFail("the intro never started");
    // The intro's first step has read the settings the presses are made from.
    failed |= pushButtonKeyMissing("kettlemoor-soak");
    soakTap(OK);
    soakTap(OK);
    if (!soakReach(MODE_MENU))
        soakFail("the intro did not lead to the menu");
}

// From the title screen, the main menu entry `entry` chosen with OK; the
// cursor is where the last visit left it.
void soakChooseFromMenu(int entry, gameModeEnum expected)
{
    soakTap(OK); // dismisses the title
    while (mainMenu.selectedIndex < entry && !quit)
        soakTap(DOWN);
    while (mainMenu.selectedIndex > entry && !quit)
        soakTap(UP);
    soakTap(OK);
    if (!soakReach(expected))
        soakFail("a menu choice did not lead where it should");
}

// Walks right with jumps for half the steps and back left for the rest.
void soakPlay(int steps)
{
    pushButton(RIGHT, true);
    for (int i = 0; i < steps / 2 && gameMode == MODE_INGAME; i++) {
        soakPass();
        if (i % 40 == 0)
            pushButton(JUMP, i % 80 == 0);
    }
    pushButton(RIGHT, false);
    pushButton(JUMP, false);
    pushButton(LEFT, true);
    soakPasses(steps - steps / 2);
    pushButton(LEFT, false);
    soakPasses(2);
}

// Counts the allocations of `steps` passes of play, walking right, each a
// logic step with its drawn frame; every one found is reported.
void soakCountFrameAllocations(int steps)
{
    pushButton(RIGHT, true);
    soakPasses(WARM_UP_PASSES);
    const int stepsBefore = stepsRun;
    const long before = allocCount();
    soakPasses(steps);
    const long made = allocCount() - before;
    pushButton(RIGHT, false);
    if (before < 0) {
        printf("allocations in play: not counted in this build\n");
        return;
    }
    printf("allocations in %d in-game steps and their frames: %ld\n", stepsRun - stepsBefore, made);
    if (made != 0)
        soakFail("the in-game frames allocate memory");
}

// Leaves a game: pause and OK while playing, OK after a game over, OK on the
// won screen; a dying player is first left to fall.
void soakLeaveGame(int game)
{
    static const char *const stateNames[] = {"playing", "dying", "game over", "paused"};
    if (gameMode == MODE_INGAME && ingameState >= INGAME_PLAYING && ingameState <= INGAME_PAUSED)
        printf("game %d: leaving while %s, hp %d, x %.1f\n", game, stateNames[ingameState], player.hp, player.x);
    else if (gameMode == MODE_WON)
        printf("game %d: won\n", game);
    for (int i = 0; i < LEAVE_TRIES && gameMode != MODE_MENU && !quit; i++) {
        if (gameMode == MODE_INGAME && ingameState == INGAME_DYING)
            soakPasses(60);
        else
            soakTap(OK);
    }
    if (!soakReach(MODE_MENU))
        soakFail("a game could not be left for the menu");
}

// The peak resident size of the process so far in KiB, or -1 where unknown.
long soakPeakResidentKiB(void)
{
    FILE *fp = fopen("/proc/self/status", "r");
    if (!fp)
        return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, fp))
        if (sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    fclose(fp);
    return kib;
}

// Plays the games; the first one also counts its frames' allocations.
void soakGames(int games, int steps)
{
    for (int g = 0; g < games && !quit; g++) {
        soakChooseFromMenu(0, MODE_INGAME);
        if (g == 0)
            soakCountFrameAllocations(steps);
        soakPlay(steps);
        soakLeaveGame(g + 1);
    }
    printf("peak resident size after %d games: %ld KiB\n", games, soakPeakResidentKiB());
}

// Opens the editor, changes the marked tile by one, saves with OK. Returns
// the marked cell and the value it should now hold in the saved level.
void soakEdit(Point *cell, int *value)
{
    soakChooseFromMenu(1, MODE_EDITOR);
    if (gameMode != MODE_EDITOR)
        return;
    cell->x = marker.x;
    cell->y = marker.y;
    const int before = curLvl.layer0.array[cell->x][cell->y];
    soakTap(JUMP);
    soakTap(RIGHT);
    soakTap(JUMP);
    *value = curLvl.layer0.array[cell->x][cell->y];
    if (*value == before)
        soakFail("the editor did not change the tile");
    soakTap(OK);
    if (!soakReach(MODE_MENU))
        soakFail("saving did not leave the editor");
}

// Exit from the main menu ends the loop.
void soakExit(void)
{
    soakChooseFromMenu(3, MODE_EXIT);
    soakPasses(MODE_TIMEOUT_PASSES);
    if (!quit)
        soakFail("Exit did not end the game");
}

// Reads the saved level back and checks the edited cell.
void soakCheckSaved(Point cell, int value)
{
    freeMap();
    loadMap(mapFile);
    if (!curLvl.layer0.array || cell.x >= curLvl.layer0.w || cell.y >= curLvl.layer0.h ||
        curLvl.layer0.array[cell.x][cell.y] != value)
        soakFail("the saved level does not hold the edited tile");
    freeMap();
}

// Releases everything the game still holds at the end: the level, the
// enemies, the player's sheet, the images, then what the game's shutdown does.
void soakReleaseAll(void)
{
    freeMap();
    enemyReset();
    playerReset();
    dFreeImages();
    mainShutdown();
}

// Copies the level to a fresh temporary file and makes it the game's level
// (mapFile), so the editor saves there. Returns false when it cannot.
bool soakCopyLevel(std::string *path)
{
    char name[] = "/tmp/kettlemoor-soak-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return false;
    close(fd);
    *path = name;
    FILE *in = fopenRegular(LEVEL_FILE);
    FILE *out = fopen(name, "wb");
    bool ok = in && out;
    int c;
    while (ok && (c = getc(in)) != EOF)
        ok = putc(c, out) != EOF;
    if (in)
        fclose(in);
    if (out && fclose(out) != 0)
        ok = false;
    mapFile = strdup(name);
    return ok && mapFile;
}

// Reads a positive count after a switch; 0 when it is not one.
int soakCount(const char *word)
{
    char *end = nullptr;
    const long v = strtol(word, &end, 10);
    return *word != '\0' && *end == '\0' && v > 0 && v <= 1000000 ? static_cast<int>(v) : 0;
}

} // namespace

int main(int argc, char **argv)
{
    int games = 1;
    int steps = 600;
    bool keep = false;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-games") == 0 && i + 1 < argc && soakCount(argv[i + 1])) {
            games = soakCount(argv[++i]);
        } else if (strcmp(argv[i], "-steps") == 0 && i + 1 < argc && soakCount(argv[i + 1])) {
            steps = soakCount(argv[++i]);
        } else if (strcmp(argv[i], "-keep") == 0) {
            keep = true;
        } else {
            fprintf(stderr, "usage: kettlemoor-soak [-games GAMES] [-steps STEPS] [-keep]\n");
            return 2;
        }
    }

    std::string levelCopy;
    if (!soakCopyLevel(&levelCopy)) {
        fprintf(stderr, "kettlemoor-soak: can't copy %s to a temporary file\n", LEVEL_FILE);
        remove(levelCopy.c_str());
        return 1;
    }

    // Headless: no window is wanted, whatever the environment says.
    headlessSDL();
    quit = 0;
    if (initSDL() != 0) {
        fprintf(stderr, "ERROR: Failed to init SDL\n");
        remove(levelCopy.c_str());
        return 1;
    }
    newGameMode = MODE_INTRO;
    mainLoopReset(clockMs);

    Point cell = {0, 0};
    int value = -1;
    soakIntro();
    soakGames(games, steps);
    soakEdit(&cell, &value);
    soakExit();
    if (value >= 0)
        soakCheckSaved(cell, value);

    if (keep)
        mainShutdown();
    else
        soakReleaseAll();
    remove(levelCopy.c_str());
    printf("soak: games=%d steps=%d passes=%d allocations=%ld result=%s\n", games, stepsRun, passesRun,
           allocCount(), failed ? "failed" : "ok");
    return failed ? 1 : 0;
}
