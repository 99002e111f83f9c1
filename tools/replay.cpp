// kettlemoor-replay: plays a level from a script of button presses, headless
// and without a clock, through the game's own input(), logic() and draw().
//
// It is how a level designer checks that a level can be won, and how a bug
// report is reproduced step by step: the game is deterministic, so the same
// script on the same level always ends the same way.
//
// Usage, from the directory that holds ./data:
//   kettlemoor-replay [-map PATH] [--editor | --front-end] [--trace FILE] [--shot STEP FILE.bmp]... SCRIPT
//   -map PATH   the level to play (default ./data/maps/map01.map)
//   --editor    run the level editor on it instead of playing it; the run
//               ends when the editor is left (OK saves the level to PATH),
//               a test played from it with "play here" being part of the run
//   --front-end start where the game starts, at the splash screens, and
//               follow it through the title, the menu, play and the editor
//               until it exits; PATH is the level New Game and Editor open.
//               The remapping page waits for a key no script can give it.
//   --trace FILE
//               write the game's state after every step to FILE ("-" for
//               standard output), then the result line. A file holds the
//               state alone: the game's own progress lines (the loader's,
//               the resolution) stay on standard output, so that a change
//               to a message never shows up as a change in play.
//               Each step begins with the player's line:
//               step=%d mode=%d ingame=%d x=%.3f y=%.3f vx=%.3f vy=%.3f hp=%d
//               ground=%d key=%d enemies=%d
//               or, in the editor, the editor's mode, the marked cell and its
//               tile (-1 outside the level), whether the marker is in its
//               shown phase, the object offered, the start and the exit:
//               step=%d mode=%d editor=%d marker=%d,%d tile=%d shown=%d
//               choice=%d start=%d,%d exit=%d,%d enemies=%d
//               with, whenever the editor's hint (the level's first problem)
//               changes, an indented line "  hint=TEXT" ("  hint=none" when
//               it goes)
//               or, anywhere else, the intro's step, whether the title shows,
//               the menu page (0 main, 1 options, 2 controls, -1 none) and
//               its cursor, whether a button is being remapped, and how far
//               the demo level behind the title has scrolled:
//               step=%d mode=%d intro=%d title=%d page=%d entry=%d remap=%d
//               camera=%d
//               In play and in the editor, indented lines follow for the
//               enemies that changed, each led by its place in the list
//               (from 0) and giving only the fields that changed:
//                 enemy=%d type=%d x=%.3f y=%.3f vx=%.3f vy=%.3f state=%d
//                 dir=%d stun=%d carried=%d thrown=%d
//               When the list's length (enemies=N) changed, or the step
//               before had no list (the first step, the front end), all N
//               are written whole. So a reader who keeps the last value of
//               each field of each place, and cuts the list to N, has every
//               enemy at every step.
//   --shot      write the logical screen as drawn after step STEP (a step
//               that ends in a mode change is not drawn: the file then shows
//               the step before it)
//   --sound FILE.wav
//               mix the sound effects the run asks for into FILE.wav (16-bit
//               mono, 44100 Hz, at full volume, without the tunes), each
//               step's effects starting at that step's sixtieth of a second,
//               and print "step=N sound=NAME" for each request. The trace is
//               the same with or without it: the game never hears itself.
// The last line of a run, on standard output and in the trace, is always
// "result=R steps=N", R being won, gameover, dying, paused, playing, editing,
// menu or exit.
//
// Script lines (read with the game's line reader, so '#' starts a comment):
//   STEP press BUTTON     BUTTON's key goes down before logic step STEP
//   STEP release BUTTON   BUTTON's key goes up before logic step STEP
//   STEP tap BUTTON       a press before step STEP and its release, which
//                         comes one step later
//   end STEP              stop after step STEP at the latest
//   STEP press|release|tap pad N
//                         the same for the pad's button N (0 ... 255), which
//                         the settings' joystick entries give their meaning
//   STEP axis A VALUE     the pad's axis A moves to VALUE (-32768 ... 32767;
//                         0 is left and right, 1 up and down)
//   STEP hat POSITION     the pad's hat moves to POSITION: centre, up, down,
//                         left, right, up-left, up-right, down-left, down-right
// BUTTON is one of UP DOWN LEFT RIGHT ACTION JUMP OK BACK MENU; its key is the
// one the settings file maps it to. The first in-game step is 1. As in the
// game, one event is taken per step: two events due in the same step reach
// the game in consecutive steps, in script order. The run also stops as soon
// as the game leaves the in-game mode (won, or back to the menu), or the
// editor; with --front-end, as soon as the game exits.
//
// A bad script line is reported with its line number and nothing runs; the
// exit status is then 2, as when the trace cannot be opened (1 when the game
// cannot start, 0 after a run). The game cannot start without ./data/config.cfg,
// nor when it gives a button a number that is no key.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include <SDL.h>

#include "camera.h"
#include "draw.h"
#include "editor.h"
#include "enemy.h"
#include "fileio.h"
#include "global.h"
#include "input.h"
#include "intro.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "menu.h"
#include "mixer.h"
#include "player.h"
#include "push_button.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "sound.h"
#include "timer.h"

namespace {

const int DEFAULT_LAST_STEP = 60 * 60 * 10; // ten minutes of play, in logic steps
const int MAX_STEP = 100000000;
// The game's fixed logic step, in milliseconds of the replay's own clock.
const double STEP_MS = 1000.0 / 60;

const int EXIT_RAN = 0;
const int EXIT_NO_GAME = 1;
const int EXIT_BAD_USE = 2;

// What a script line makes happen: a key of a logical button, a pad's button,
// axis or hat.
enum EventKind { EVENT_KEY, EVENT_PAD_BUTTON, EVENT_PAD_AXIS, EVENT_PAD_HAT };

struct ScriptEvent {
    int step;
    int press;  // 1 down, 0 up (keys and pad buttons)
    int button; // keyActionEnum; the pad's button or axis number
    EventKind kind = EVENT_KEY;
    int value = 0; // the axis' value, the hat's SDL_HAT_* bits
};

// The hat's positions as scripts name them, and SDL's bits for each.
const struct {
    const char *name;
    int bits;
} HAT_POSITIONS[] = {{"centre", SDL_HAT_CENTERED}, {"up", SDL_HAT_UP},           {"down", SDL_HAT_DOWN},
                     {"left", SDL_HAT_LEFT},       {"right", SDL_HAT_RIGHT},     {"up-left", SDL_HAT_LEFTUP},
                     {"up-right", SDL_HAT_RIGHTUP}, {"down-left", SDL_HAT_LEFTDOWN}, {"down-right", SDL_HAT_RIGHTDOWN}};

struct Shot {
    int step;
    const char *file;
    bool written;
};

struct Script {
    std::vector<ScriptEvent> events;
    int lastStep = DEFAULT_LAST_STEP;
    int badLine = 0; // line number of the first bad line, 0 if none
    int lineNo = 0;
};

struct Options {
    const char *scriptPath = nullptr;
    const char *tracePath = nullptr; // no trace when null; "-" is standard output
    gameModeEnum mode = MODE_INGAME; // the mode the script drives
    std::vector<Shot> shots;
    const char *soundPath = nullptr; // no recording when null
};

// Returns the button named word, or -1.
int buttonByName(const char *word)
{
    for (int i = 0; i < BUTTON_COUNT; i++)
        if (strcmp(word, BUTTON_NAMES[i]) == 0)
            return i;
    return -1;
}

// Parses a whole step number from 1 to MAX_STEP; 0 when word is not one.
int parseStep(const char *word)
{
    if (*word < '0' || *word > '9')
        return 0;
    char *end = nullptr;
    const long v = strtol(word, &end, 10);
    if (*end != '\0' || v < 1 || v > MAX_STEP)
        return 0;
    return static_cast<int>(v);
}

// Parses a whole number from low to high into *out; false when word is not one.
bool parseNumber(const char *word, long low, long high, int *out)
{
    char *end = nullptr;
    const long v = strtol(word, &end, 10);
    if (end == word || *end != '\0' || v < low || v > high)
        return false;
    *out = static_cast<int>(v);
    return true;
}

// Parses "VERB pad N" (VERB press, release or tap) or "axis A VALUE" or
// "hat POSITION", the words after the step, into event (its step set);
// pushes what the line makes happen, false when it is no pad line.
bool padLine(char **words, int n, ScriptEvent event, std::vector<ScriptEvent> *events)
{
    const bool tap = strcmp(words[0], "tap") == 0;
    if (n == 3 && strcmp(words[1], "pad") == 0 && parseNumber(words[2], 0, 255, &event.button) &&
        (tap || strcmp(words[0], "press") == 0 || strcmp(words[0], "release") == 0)) {
        event.kind = EVENT_PAD_BUTTON;
        event.press = strcmp(words[0], "release") != 0;
        events->push_back(event);
        if (tap)
            events->push_back({event.step, 0, event.button, EVENT_PAD_BUTTON});
        return true;
    }
    event.kind = EVENT_PAD_AXIS;
    if (n == 3 && strcmp(words[0], "axis") == 0 && parseNumber(words[1], 0, 255, &event.button) &&
        parseNumber(words[2], -32768, 32767, &event.value)) {
        events->push_back(event);
        return true;
    }
    event.kind = EVENT_PAD_HAT;
    for (const auto &hat : HAT_POSITIONS) {
        if (n == 2 && strcmp(words[0], "hat") == 0 && strcmp(words[1], hat.name) == 0) {
            event.value = hat.bits;
            events->push_back(event);
            return true;
        }
    }
    return false;
}

// Reads one script line into the script, remembering the first bad one.
// Every line counts, blank and comment lines included, so the number
// reported is the one an editor shows.
void scriptLine(char **words, int n, void *ctx)
{
    Script *script = static_cast<Script *>(ctx);
    script->lineNo++;
    if (n == 0 || script->badLine)
        return;
    if (n == 2 && strcmp(words[0], "end") == 0 && parseStep(words[1])) {
        script->lastStep = std::min(script->lastStep, parseStep(words[1]));
        return;
    }
    const int step = parseStep(words[0]);
    if (step && padLine(words + 1, n - 1, {step, 0, 0}, &script->events))
        return;
    const int button = n == 3 ? buttonByName(words[2]) : -1;
    const int press = n == 3 && strcmp(words[1], "press") == 0;
    const int release = n == 3 && strcmp(words[1], "release") == 0;
    const int tap = n == 3 && strcmp(words[1], "tap") == 0;
    if (!step || button < 0 || !(press || release || tap)) {
        script->badLine = script->lineNo;
        return;
    }
    // A tap's release is due in the same step and so reaches the game in the next.
    script->events.push_back({step, press || tap, button});
    if (tap)
        script->events.push_back({step, 0, button});
}

// Reads and checks the script; 0 on success, else the message is written.
int loadScript(const char *path, Script *script)
{
    if (readWordLines(path, scriptLine, script))
        return 1;
    if (script->badLine) {
        fprintf(stderr,
                "kettlemoor-replay: %s:%d: expected \"STEP press|release|tap BUTTON\", \"STEP press|release|tap pad "
                "N\", \"STEP axis A VALUE\", \"STEP hat POSITION\" or \"end STEP\"\n",
                path, script->badLine);
        return 1;
    }
    // Events keep their script order within a step.
    std::stable_sort(script->events.begin(), script->events.end(),
                     [](const ScriptEvent &a, const ScriptEvent &b) { return a.step < b.step; });
    return 0;
}

void usage(void)
{
    fprintf(stderr, "usage: kettlemoor-replay [-map PATH] [--editor | --front-end] [--trace FILE]"
                    " [--sound FILE.wav] [--shot STEP FILE.bmp]... SCRIPT\n");
}

// Reads the command line; 0 on success, 1 after printing the usage.
int parseArgs(int argc, char **argv, Options *opt)
{
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "-map") == 0 && i + 1 < argc) {
            free(mapFile);
            mapFile = strdup(argv[++i]);
        } else if (strcmp(argv[i], "--editor") == 0) {
            opt->mode = MODE_EDITOR;
        } else if (strcmp(argv[i], "--front-end") == 0) {
            opt->mode = MODE_INTRO;
        } else if (strcmp(argv[i], "--trace") == 0 && i + 1 < argc) {
            opt->tracePath = argv[++i];
        } else if (strcmp(argv[i], "--sound") == 0 && i + 1 < argc) {
            opt->soundPath = argv[++i];
        } else if (strcmp(argv[i], "--shot") == 0 && i + 2 < argc && parseStep(argv[i + 1])) {
            opt->shots.push_back({parseStep(argv[i + 1]), argv[i + 2], false});
            i += 2;
        } else if (!opt->scriptPath && argv[i][0] != '-') {
            opt->scriptPath = argv[i];
        } else {
            usage();
            return 1;
        }
    }
    if (!opt->scriptPath) {
        usage();
        return 1;
    }
    return 0;
}

// Feeds the game the next event that is due by this step, if any. input()
// takes one event per step, so feeding one per step reaches the game exactly
// as pushing a whole burst at once would, without ever filling SDL's small
// queue.
void feedEvent(const Script &script, size_t *next, int step)
{
    if (*next >= script.events.size() || script.events[*next].step > step)
        return;
    const ScriptEvent &e = script.events[(*next)++];
    switch (e.kind) {
    case EVENT_KEY:
        pushButton(e.button, e.press);
        break;
    case EVENT_PAD_BUTTON:
        pushPadButton(e.button, e.press);
        break;
    case EVENT_PAD_AXIS:
        pushPadAxis(e.button, e.value);
        break;
    case EVENT_PAD_HAT:
        pushPadHat(e.value);
        break;
    }
}

int enemyCount(void)
{
    int n = 0;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        n++;
    return n;
}

// The marked cell's tile, or -1 when the marker lies outside the level.
int markedTile(void)
{
    const mapLayer &layer = curLvl.layer0;
    if (!layer.array || marker.x < 0 || marker.y < 0 || marker.x >= layer.w || marker.y >= layer.h)
        return -1;
    return layer.array[marker.x][marker.y];
}

// The page shown, as its place in the menu: 0 main, 1 options, 2 controls.
int menuPage(void)
{
    const menu *pages[] = {&mainMenu, &optMenu, &contMenu};
    for (int i = 0; i < static_cast<int>(std::size(pages)); i++)
        if (curMenu == pages[i])
            return i;
    return -1;
}

// Where the trace goes: standard output, a file, or nowhere (null).
FILE *traceOut = nullptr;

// The enemies' lines as the last step wrote them, in list order; empty after
// a step without a list.
std::vector<std::string> tracedEnemies;

// The editor's hint last written ("none" before any), so that only changes are.
std::string tracedHint = "none";

// The fields of line ("name=value" words) that differ from those of before,
// which holds the same names in the same order.
std::string changedFields(const std::string &line, const std::string &before)
{
    std::string changed;
    size_t at = 0, atBefore = 0;
    while (at < line.size()) {
        const size_t end = std::min(line.find(' ', at), line.size());
        const size_t endBefore = std::min(before.find(' ', atBefore), before.size());
        if (line.compare(at, end - at, before, atBefore, endBefore - atBefore) != 0)
            changed.append(" ").append(line, at, end - at);
        at = end + 1;
        atBefore = endBefore + 1;
    }
    return changed;
}

// Writes what changed in each enemy since the step before, led by its place
// in the list; every enemy whole when the list's length changed. The
// creatures asleep out of sight then cost nothing, and yet the trace holds
// each one's state at every step.
void traceEnemyChanges(void)
{
    std::vector<std::string> lines;
    for (EnemyList *node = EnemyListHead; node; node = node->next) {
        const Enemy &e = node->mob;
        char line[200];
        snprintf(line, sizeof line,
                 "type=%d x=%.3f y=%.3f vx=%.3f vy=%.3f state=%d dir=%d stun=%d carried=%d thrown=%d", e.type,
                 e.creature.x, e.creature.y, e.creature.vx, e.creature.vy, e.creature.state, e.creature.direction,
                 e.confusedTime, e.carried, e.thrown);
        lines.push_back(line);
    }
    const bool resized = lines.size() != tracedEnemies.size();
    for (size_t i = 0; i < lines.size(); i++) {
        if (resized)
            fprintf(traceOut, "  enemy=%zu %s\n", i, lines[i].c_str());
        else if (lines[i] != tracedEnemies[i])
            fprintf(traceOut, "  enemy=%zu%s\n", i, changedFields(lines[i], tracedEnemies[i]).c_str());
    }
    tracedEnemies.swap(lines);
}

// Writes the editor's hint, the level's first problem, when it has changed
// since it was last written ("none" when the level has none).
void traceHintChange(void)
{
    const char *problem = editorLevelProblem();
    const std::string hint = problem ? problem : "none";
    if (hint != tracedHint)
        fprintf(traceOut, "  hint=%s\n", hint.c_str());
    tracedHint = hint;
}

// The player's line (in the editor, the editor's), then the enemies that
// changed, so a pinned trace notices any change in how a creature moves or
// what the editor placed. Outside play and the editor, the front end's line
// alone: the demo level's creatures stand still behind the title.
void printTrace(int step)
{
    if (gameMode != MODE_INGAME && gameMode != MODE_EDITOR) {
        fprintf(traceOut, "step=%d mode=%d intro=%d title=%d page=%d entry=%d remap=%d camera=%d\n", step,
                static_cast<int>(gameMode), introController, drawTitle, menuPage(),
                curMenu ? curMenu->selectedIndex : -1, menuState, camera.x);
        tracedEnemies.clear();
        tracedHint = "none";
        return;
    }
    if (gameMode == MODE_EDITOR)
        fprintf(traceOut,
                "step=%d mode=%d editor=%d marker=%d,%d tile=%d shown=%d choice=%d start=%d,%d exit=%d,%d "
                "enemies=%d\n",
                step, static_cast<int>(gameMode), editorMode, marker.x, marker.y, markedTile(), markerDraw,
                objectChoice, curLvl.start.x, curLvl.start.y, curLvl.exit.x, curLvl.exit.y, enemyCount());
    if (gameMode == MODE_EDITOR)
        traceHintChange();
    else
        fprintf(traceOut,
                "step=%d mode=%d ingame=%d x=%.3f y=%.3f vx=%.3f vy=%.3f hp=%d ground=%d key=%d enemies=%d\n",
                step, static_cast<int>(gameMode), ingameState, player.x, player.y, player.vx, player.vy,
                player.hp, player.groundContact, hasKey, enemyCount());
    traceEnemyChanges();
}

// Opens the trace the options ask for; 0 on success, else the message is
// written.
int openTrace(const Options &opt)
{
    if (!opt.tracePath)
        return 0;
    traceOut = strcmp(opt.tracePath, "-") == 0 ? stdout : fopen(opt.tracePath, "w");
    if (!traceOut) {
        fprintf(stderr, "kettlemoor-replay: can't write %s\n", opt.tracePath);
        return 1;
    }
    return 0;
}

// Ends the trace with the result line; 0 when all of it was written.
int closeTrace(const char *resultLine)
{
    if (!traceOut || traceOut == stdout)
        return 0;
    fputs(resultLine, traceOut);
    return fclose(traceOut) != 0;
}

// Writes the logical screen for every shot asked for at this step.
void takeShots(std::vector<Shot> *shots, int step)
{
    for (Shot &shot : *shots) {
        if (shot.step != step)
            continue;
        if (SDL_SaveBMP(screen, shot.file) != 0)
            fprintf(stderr, "kettlemoor-replay: can't write %s\n", shot.file);
        shot.written = true;
    }
}

// Names the shots whose step the run never reached.
void reportMissedShots(const std::vector<Shot> &shots)
{
    for (const Shot &shot : shots)
        if (!shot.written)
            fprintf(stderr, "kettlemoor-replay: the run ended before step %d; %s not written\n", shot.step,
                    shot.file);
}

// How the run ended, in the words of the result line.
const char *resultName(void)
{
    if (newGameMode == MODE_WON)
        return "won";
    if (newGameMode == MODE_EDITOR)
        return "editing";
    if (newGameMode == MODE_EXIT)
        return "exit";
    if (newGameMode != MODE_INGAME)
        return "menu";
    switch (ingameState) {
    case INGAME_DYING:
        return "dying";
    case INGAME_GAME_OVER:
        return "gameover";
    case INGAME_PAUSED:
        return "paused";
    default:
        return "playing";
    }
}

// Opens the headless video and loads what the intro would have: the
// settings, which must give every button a key, and the font. 0 on success,
// else the message is written.
int startGame(void)
{
    // No window is wanted, whatever the environment says.
    headlessSDL();
    if (initSDL()) {
        fprintf(stderr, "ERROR: Failed to init SDL\n");
        return 1;
    }
    // Without the settings no button has a key: nothing could be replayed.
    if (loadConfig(CONFIG_FILE)) {
        fprintf(stderr, "kettlemoor-replay: run it from the directory that holds ./data\n");
        return 1;
    }
    if (pushButtonKeyMissing("kettlemoor-replay"))
        return 1;
    logicLoadFont();
    return 0;
}

// The run ends when the game leaves the mode the script drives (the editor
// is not left while its level is played from a cell), or, from the intro,
// when it exits.
bool runIsOver(const Options &opt)
{
    if (quit || newGameMode == MODE_EXIT)
        return true;
    return opt.mode != MODE_INTRO && newGameMode != opt.mode && !editorPlaying;
}

// ---- the sound recording ----

// A step's share of the recording: 44100 / 60 samples exactly.
const int RECORDING_RATE = 44100;
const int RECORDING_STEP_SAMPLES = RECORDING_RATE / 60;
std::vector<int16_t> recording;
unsigned char *recordingEffects[SOUND_EFFECT_COUNT];

void startRecording(const Options &opt)
{
    if (!opt.soundPath)
        return;
    mixerReset(RECORDING_RATE);
    mixerSetVolume(SOUND_VOLUME_MAX);
    soundLoadEffects(recordingEffects);
}

// Starts the step's requests and mixes the step's sixtieth of a second.
void recordStep(const Options &opt, int step)
{
    SoundEffect requests[SOUND_EFFECT_COUNT * 2];
    const int count = soundTakeRequests(requests, static_cast<int>(std::size(requests)));
    if (!opt.soundPath)
        return;
    for (int i = 0; i < count; i++) {
        printf("step=%d sound=%s\n", step, SOUND_EFFECT_NAMES[requests[i]]);
        mixerStart(requests[i]);
    }
    recording.resize(recording.size() + RECORDING_STEP_SAMPLES);
    mixerFill(recording.data() + recording.size() - RECORDING_STEP_SAMPLES, RECORDING_STEP_SAMPLES);
}

// Writes a number of the given bytes, least significant first, as WAV wants.
void putLittle(FILE *out, uint32_t value, int bytes)
{
    for (int b = 0; b < bytes; b++)
        fputc(static_cast<int>(value >> (8 * b)) & 0xff, out);
}

// Writes the recording as a 16-bit mono WAV and frees the effects; 0 on success.
int saveRecording(const char *path)
{
    for (unsigned char *&effect : recordingEffects) {
        free(effect);
        effect = nullptr;
    }
    FILE *out = fopen(path, "wb");
    if (!out)
        return 1;
    const uint32_t bytes = static_cast<uint32_t>(recording.size() * sizeof(int16_t));
    fputs("RIFF", out);
    putLittle(out, 36 + bytes, 4);
    fputs("WAVEfmt ", out);
    putLittle(out, 16, 4); // the format chunk's size
    putLittle(out, 1, 2);  // PCM
    putLittle(out, 1, 2);  // mono
    putLittle(out, RECORDING_RATE, 4);
    putLittle(out, RECORDING_RATE * sizeof(int16_t), 4);
    putLittle(out, sizeof(int16_t), 2);
    putLittle(out, 16, 2);
    fputs("data", out);
    putLittle(out, bytes, 4);
    for (int16_t sample : recording)
        putLittle(out, static_cast<uint16_t>(sample), 2);
    return fclose(out) != 0;
}

// Runs the in-game mode (or the editor, or the whole front end) step by step
// on the replay's own clock, which advances exactly one logic step per step;
// returns the number of steps run.
int runScript(const Script &script, Options *opt)
{
    newGameMode = opt->mode;
    size_t next = 0;
    int step = 0;
    while (step < script.lastStep) {
        step++;
        timerFreezeTicks(static_cast<unsigned int>(step * STEP_MS));
        feedEvent(script, &next, step);
        mainStepAndDraw();
        recordStep(*opt, step);
        if (traceOut)
            printTrace(step);
        takeShots(&opt->shots, step);
        if (runIsOver(*opt))
            break;
    }
    return step;
}

} // namespace

int main(int argc, char **argv)
{
    Options opt;
    if (parseArgs(argc, argv, &opt))
        return EXIT_BAD_USE;
    Script script;
    if (loadScript(opt.scriptPath, &script) || openTrace(opt))
        return EXIT_BAD_USE;
    if (startGame()) {
        cleanSDL();
        return EXIT_NO_GAME;
    }

    startRecording(opt);
    const int steps = runScript(script, &opt);
    reportMissedShots(opt.shots);
    char resultLine[64];
    snprintf(resultLine, sizeof resultLine, "result=%s steps=%d\n", resultName(), steps);
    fputs(resultLine, stdout);
    if (closeTrace(resultLine))
        fprintf(stderr, "kettlemoor-replay: can't write %s\n", opt.tracePath);
    if (opt.soundPath && saveRecording(opt.soundPath))
        fprintf(stderr, "kettlemoor-replay: can't write %s\n", opt.soundPath);

    mainShutdown();
    return EXIT_RAN;
}
