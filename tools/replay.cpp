// kettlemoor-replay: plays a level from a script of button presses, headless
// and without a clock, through the game's own input(), logic() and draw().
//
// It is how a level designer checks that a level can be won, and how a bug
// report is reproduced step by step.
//
// Usage: kettlemoor-replay [-map PATH] [--trace] [--shot STEP FILE.bmp]... SCRIPT
//
// Script lines (read with the game's line reader, so '#' starts a comment):
//   STEP press BUTTON     push BUTTON's key-down event before logic step STEP
//   STEP release BUTTON   push BUTTON's key-up event before logic step STEP
//   end STEP              stop after step STEP at the latest
// BUTTON is one of UP DOWN LEFT RIGHT ACTION JUMP OK BACK MENU; its key is the
// one the settings file maps it to. The first in-game step is 1.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include <SDL.h>

#include "enemy.h"
#include "fileio.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "draw.h"
#include "main.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"

namespace {

const char *const BUTTON_NAMES[] = {"UP", "DOWN", "LEFT", "RIGHT", "ACTION", "JUMP", "OK", "BACK", "MENU"};
const int DEFAULT_LAST_STEP = 60 * 60 * 10; // ten minutes of play
const char *const CONFIG_PATH = "./data/config.cfg";

struct ScriptEvent {
    int step;
    int press;  // 1 key-down, 0 key-up
    int button; // keyActionEnum
};

struct Shot {
    int step;
    const char *file;
};

struct Script {
    std::vector<ScriptEvent> events;
    int lastStep = DEFAULT_LAST_STEP;
    int badLine = 0; // line number of the first bad line, 0 if none
    int lineNo = 0;
};

// Returns the button named word, or -1.
int buttonByName(const char *word)
{
    for (int i = 0; i < static_cast<int>(std::size(BUTTON_NAMES)); i++)
        if (strcmp(word, BUTTON_NAMES[i]) == 0)
            return i;
    return -1;
}

// Parses a whole positive step number; 0 when word is not one.
int parseStep(const char *word)
{
    char *end = nullptr;
    const long v = strtol(word, &end, 10);
    if (*word == '\0' || *end != '\0' || v < 1 || v > 100000000)
        return 0;
    return static_cast<int>(v);
}

// Reads one script line into the script, remembering the first bad one.
void scriptLine(char **words, int n, void *ctx)
{
    Script *script = static_cast<Script *>(ctx);
    script->lineNo++;
    if (n == 0 || script->badLine)
        return;
    if (n == 2 && strcmp(words[0], "end") == 0 && parseStep(words[1])) {
        script->lastStep = parseStep(words[1]);
        return;
    }
    const int step = parseStep(words[0]);
    const int button = n == 3 ? buttonByName(words[2]) : -1;
    const int press = n == 3 && strcmp(words[1], "press") == 0;
    const int release = n == 3 && strcmp(words[1], "release") == 0;
    if (!step || button < 0 || !(press || release)) {
        script->badLine = script->lineNo;
        return;
    }
    script->events.push_back({step, press, button});
}

void usage(void)
{
    fprintf(stderr, "usage: kettlemoor-replay [-map PATH] [--trace] [--shot STEP FILE.bmp]... SCRIPT\n");
}

// Pushes the key event of one scripted press or release into SDL's queue.
void pushButton(const ScriptEvent &e)
{
    SDL_Event ev;
    memset(&ev, 0, sizeof ev);
    ev.type = e.press ? SDL_KEYDOWN : SDL_KEYUP;
    ev.key.type = ev.type;
    ev.key.state = e.press ? SDL_PRESSED : SDL_RELEASED;
    ev.key.keysym.sym = static_cast<SDLKey>(keyMapping[e.button]);
    SDL_PushEvent(&ev);
}

int enemyCount(void)
{
    int n = 0;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        n++;
    return n;
}

void printTrace(int step)
{
    printf("step=%d mode=%d ingame=%d x=%.3f y=%.3f vx=%.3f vy=%.3f hp=%d ground=%d key=%d enemies=%d\n",
           step, static_cast<int>(gameMode), ingameState, player.x, player.y, player.vx, player.vy, player.hp,
           player.groundContact, hasKey, enemyCount());
}

// How the run ended, in the words of the result line.
const char *resultName(void)
{
    if (newGameMode == MODE_WON)
        return "won";
    if (newGameMode != MODE_INGAME)
        return "menu";
    switch (ingameState) {
    case 1:
        return "dying";
    case 2:
        return "gameover";
    case 3:
        return "paused";
    default:
        return "playing";
    }
}

// The in-game drawing needs the font that the intro normally loads.
void loadFont(void)
{
    fontIMG = loadImage("./data/gfx/font02.bmp");
    clipImage(fontClip, 5, 7, 16, 255);
}

// Runs the in-game mode step by step; returns the number of steps run.
int runScript(const Script &script, bool trace, const std::vector<Shot> &shots)
{
    newGameMode = MODE_INGAME;
    size_t next = 0;
    int step = 0;
    while (step < script.lastStep) {
        step++;
        for (; next < script.events.size() && script.events[next].step <= step; next++)
            pushButton(script.events[next]);
        input();
        logic();
        // Like the main loop, nothing is drawn while a mode change is pending.
        if (gameMode == newGameMode)
            draw();
        if (trace)
            printTrace(step);
        for (const Shot &shot : shots)
            if (shot.step == step && SDL_SaveBMP(screen, shot.file) != 0)
                fprintf(stderr, "kettlemoor-replay: can't write %s\n", shot.file);
        if (newGameMode != MODE_INGAME || quit)
            break;
    }
    return step;
}

} // namespace

int main(int argc, char **argv)
{
    bool trace = false;
    std::vector<Shot> shots;
    const char *scriptPath = nullptr;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-map") == 0 && i + 1 < argc) {
            free(mapFile);
            mapFile = strdup(argv[++i]);
        } else if (strcmp(argv[i], "--trace") == 0) {
            trace = true;
        } else if (strcmp(argv[i], "--shot") == 0 && i + 2 < argc && parseStep(argv[i + 1])) {
            shots.push_back({parseStep(argv[i + 1]), argv[i + 2]});
            i += 2;
        } else if (!scriptPath && argv[i][0] != '-') {
            scriptPath = argv[i];
        } else {
            usage();
            return 2;
        }
    }
    if (!scriptPath) {
        usage();
        return 2;
    }

    Script script;
    if (readWordLines(scriptPath, scriptLine, &script))
        return 2;
    if (script.badLine) {
        fprintf(stderr, "kettlemoor-replay: %s:%d: expected \"STEP press|release BUTTON\" or \"end STEP\"\n",
                scriptPath, script.badLine);
        return 2;
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent &a, const ScriptEvent &b) { return a.step < b.step; });

    // Headless: no window is wanted, whatever the environment says.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (initSDL()) {
        fprintf(stderr, "ERROR: Failed to init SDL\n");
        return 1;
    }
    loadConfig(CONFIG_PATH);
    loadFont();

    const int steps = runScript(script, trace, shots);
    printf("result=%s steps=%d\n", resultName(), steps);

    cleanSDL();
    free(mapFile);
    free(mapFileNext);
    return 0;
}
