// The front end driven as a player drives it: key events pushed into SDL's
// queue, one input() and one logic() per step, and a frame drawn after every
// step that leaves no mode change pending, as the main loop does. Each test
// runs in a fresh copy of ./data, so the settings file and the levels it
// rewrites are copies.
#include <gtest/gtest.h>

#include <SDL.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "animation.h"
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
#include "player.h"
#include "sdl_events.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "test_util.h"

namespace {

// The keys of the shipped data/config.cfg, by logical button, and its joystick half.
const SDLKey SHIPPED_KEYS[9] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_z,
                                SDLK_x, SDLK_RETURN, SDLK_BACKSPACE, SDLK_ESCAPE};
const int SHIPPED_JOYSTICK[9] = {-1, -1, -1, -1, 2, 1, 9, 8, 3};

const char *const KEY_NAMES[18] = {"K_UP", "K_DOWN", "K_LEFT", "K_RIGHT", "K_ACTION",
                                   "K_JUMP", "K_OK", "K_BACK", "K_MENU", "J_UP",
                                   "J_DOWN", "J_LEFT", "J_RIGHT", "J_ACTION", "J_JUMP",
                                   "J_OK", "J_BACK", "J_MENU"};

const char *const LEVEL = "data/maps/map01.map";
const char *const SETTINGS = "data/config.cfg";

// A cloud near map01's top-left corner, two cells right and two down from
// where the marker starts.
const int EDIT_X = 2;
const int EDIT_Y = 2;
const int EDIT_TILE_BEFORE = 112;

// The settings text with the values of entries first..first+8 replaced.
std::string withMapping(const std::string &text, int first, const int values[9])
{
    std::istringstream in(text);
    std::string out, line;
    while (std::getline(in, line)) {
        for (int i = 0; i < 9; i++) {
            const std::string name = KEY_NAMES[first + i];
            if (line.compare(0, name.size() + 1, name + " ") == 0)
                line = name + " " + std::to_string(values[i]);
        }
        out += line + "\n";
    }
    return out;
}

// What a level holds, with the creatures in list order, for comparing loads.
struct LevelCopy {
    std::string name, tileset0, tileset1, next;
    int w0 = 0, h0 = 0, w1 = 0, h1 = 0;
    Point start{0, 0}, exit{0, 0};
    std::vector<unsigned char> grid0, grid1;
    std::vector<std::vector<int>> creatures; // type, x, y
};

std::vector<unsigned char> copyGrid(const mapLayer &layer)
{
    std::vector<unsigned char> cells;
    for (int x = 0; x < layer.w; x++)
        cells.insert(cells.end(), layer.array[x], layer.array[x] + layer.h);
    return cells;
}

LevelCopy copyLevel(void)
{
    LevelCopy c;
    c.name = curLvl.name;
    c.tileset0 = curLvl.layer0.tilesetPath ? curLvl.layer0.tilesetPath : "";
    c.tileset1 = curLvl.layer1.tilesetPath ? curLvl.layer1.tilesetPath : "";
    c.next = mapFileNext ? mapFileNext : "";
    c.w0 = curLvl.layer0.w;
    c.h0 = curLvl.layer0.h;
    c.w1 = curLvl.layer1.w;
    c.h1 = curLvl.layer1.h;
    c.start = curLvl.start;
    c.exit = curLvl.exit;
    c.grid0 = copyGrid(curLvl.layer0);
    c.grid1 = copyGrid(curLvl.layer1);
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        c.creatures.push_back({node->mob.type, (int)node->mob.creature.x, (int)node->mob.creature.y});
    return c;
}

void expectSameLevel(const LevelCopy &a, const LevelCopy &b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.tileset0, b.tileset0);
    EXPECT_EQ(a.tileset1, b.tileset1);
    EXPECT_EQ(a.next, b.next);
    EXPECT_EQ(a.w0, b.w0);
    EXPECT_EQ(a.h0, b.h0);
    EXPECT_EQ(a.w1, b.w1);
    EXPECT_EQ(a.h1, b.h1);
    EXPECT_EQ(a.start.x, b.start.x);
    EXPECT_EQ(a.start.y, b.start.y);
    EXPECT_EQ(a.exit.x, b.exit.x);
    EXPECT_EQ(a.exit.y, b.exit.y);
    EXPECT_TRUE(a.grid0 == b.grid0) << "layer 0 differs";
    EXPECT_TRUE(a.grid1 == b.grid1) << "layer 1 differs";
    EXPECT_TRUE(a.creatures == b.creatures) << "creatures differ";
}

// Every pixel of the logical screen.
using Frame = std::vector<Uint32>;

Frame copyScreen(void)
{
    Frame f;
    for (int y = 0; y < screen->h; y++)
        for (int x = 0; x < screen->w; x++)
            f.push_back(getPixel(screen, x, y));
    return f;
}

// True for the top-right corner where the frame counter goes (two text
// lines, since a rate of 100 or more wraps).
bool inFrameCounter(int x, int y)
{
    return x >= screenWidth - 30 && y < 17;
}

// Pixels that differ between two frames, the frame counter left out.
int framesDiffer(const Frame &a, const Frame &b)
{
    int n = 0;
    for (int y = 0; y < screen->h; y++)
        for (int x = 0; x < screen->w; x++)
            if (!inFrameCounter(x, y) && a[y * screen->w + x] != b[y * screen->w + x])
                n++;
    return n;
}

class Frontend : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<InDirectory> inDir;

    void SetUp() override
    {
        const std::string copy = "cp -r '" KETTLEMOOR_SOURCE_DIR "/data' '" + dir.path + "/'";
        ASSERT_EQ(system(copy.c_str()), 0);
        inDir = std::make_unique<InDirectory>(dir.path);
        resetGlobals();
        ASSERT_EQ(initSDL(), 0);
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    void TearDown() override
    {
        freeMap();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        freeAnim(&player.animation);
        freeImage(&fontIMG);
        freeImage(&splash1IMG);
        freeImage(&splash2IMG);
        freeImage(&gameLogoIMG);
        freeImage(&lifebarIMG);
        cleanSDL();
        free(mapFile);
        free(mapFileNext);
        resetGlobals();
        inDir.reset();
    }

    static void resetGlobals()
    {
        logicReset();
        memset(keyMapping, 0, sizeof keyMapping);
        memset(&keyPress, 0, sizeof keyPress);
        joyDeadzone = 100;
        gameMode = MODE_EXIT;
        newGameMode = MODE_EXIT;
        quit = 0;
        ingameState = 0;
        introController = 0;
        mapFile = nullptr;
        mapFileNext = nullptr;
        menuInited = 0;
        curMenu = nullptr;
        menuState = 0;
        remapCurKey = 0;
        remapDevice = 0;
        drawTitle = 0;
        drawTitleNextTurn = 0;
        editorMode = EDITOR_UPDATE;
        marker = {0, 0, 16, 16};
        markerWaitMoveTime = 0;
        markerBlinkTime = 0;
        markerDraw = 0;
        tmpTile = 0;
        lastTile = 0;
        newTile = 0;
    }

    // One step of the main loop, with its frame unless a mode change waits.
    static void step()
    {
        input();
        logic();
        if (gameMode == newGameMode)
            draw();
    }

    // A key pressed and released: the press is handled in one step, the
    // release in the next.
    static void tapKey(SDLKey sym)
    {
        pushKeyTap(sym);
        step();
        step();
    }

    // A tap of a logical button's key in the shipped settings.
    static void tap(int button) { tapKey(SHIPPED_KEYS[button]); }

    // The intro's first step reads the settings and the font.
    static void startIntro()
    {
        newGameMode = MODE_INTRO;
        step();
        for (int a = 0; a < 9; a++)
            ASSERT_EQ(keyMapping[a], SHIPPED_KEYS[a]) << "the shipped settings changed";
    }

    // The whole way to the title screen: OK skips each splash.
    static void toTitle()
    {
        startIntro();
        tap(OK);
        tap(OK);
        ASSERT_EQ(gameMode, MODE_MENU);
        ASSERT_EQ(drawTitle, 1);
    }

    // OK on the title: the title is still shown in that step, the page from the next.
    static void dismissTitle()
    {
        pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
        step();
        EXPECT_EQ(drawTitle, 1);
        pushKey(SDL_KEYUP, SHIPPED_KEYS[OK]);
        step();
        EXPECT_EQ(drawTitle, 0);
        ASSERT_NE(curMenu, nullptr);
    }

    static std::string selected() { return curMenu->menuChoices[curMenu->selectedIndex]; }

    // Chooses the main page's entry that is `downs` below the cursor.
    static void choose(int downs)
    {
        for (int i = 0; i < downs; i++)
            tap(DOWN);
        tap(OK);
    }

    // From the title to the remapping page of device 0 (keyboard) or 1
    // (joystick); the step that starts remapping leaves OK's release queued.
    static void toRemapping(int device)
    {
        toTitle();
        dismissTitle();
        choose(2); // "Options"
        ASSERT_EQ(selected(), "Controls");
        tap(OK);
        ASSERT_EQ(curMenu, &contMenu);
        if (device == 1)
            tap(DOWN);
        pushKeyTap(SHIPPED_KEYS[OK]);
        step();
        ASSERT_EQ(menuState, 1);
        ASSERT_EQ(remapDevice, device);
        ASSERT_EQ(remapCurKey, 0);
    }

    // True when the queue holds an event for this step's input() followed by
    // a key press for the capture, which would otherwise wait for ever.
    static bool captureIsFed()
    {
        SDL_Event queued[2];
        const int n = SDL_PeepEvents(queued, 2, SDL_PEEKEVENT, SDL_ALLEVENTS);
        EXPECT_EQ(n, 2);
        EXPECT_EQ(n == 2 ? queued[1].type : 0, SDL_KEYDOWN) << "the key capture would wait for ever";
        return n == 2 && queued[1].type == SDL_KEYDOWN;
    }

    // Nine remapping steps, one new key each, as a player presses and
    // releases them while the prompt waits: every step's input() takes the
    // previous release and the capture takes the new key. Returns what was
    // printed; the settings file must not change before the ninth key.
    static std::string pressNineKeys(const SDLKey keys[9])
    {
        const std::string before = readFile(SETTINGS);
        testing::internal::CaptureStdout();
        for (int i = 0; i < 9; i++) {
            pushKey(SDL_KEYDOWN, keys[i]);
            pushKey(SDL_KEYUP, keys[i]);
            if (!captureIsFed())
                break;
            step();
            if (i < 8) {
                EXPECT_EQ(menuState, 1) << "after key " << i;
                EXPECT_EQ(remapCurKey, i + 1);
                EXPECT_EQ(readFile(SETTINGS), before) << "saved before the ninth key";
            }
        }
        return testing::internal::GetCapturedStdout();
    }

    // Begins an edit of the marked cell, changes it by `rights` tiles and accepts.
    static void editMarkedCell(int rights)
    {
        tap(JUMP);
        EXPECT_EQ(editorMode, EDITOR_EDIT);
        for (int i = 0; i < rights; i++)
            tap(RIGHT);
        tap(JUMP);
        EXPECT_EQ(editorMode, EDITOR_UPDATE);
    }

    // Moves the marker from the top-left cell to the test's cell with taps.
    static void markEditCell()
    {
        for (int i = 0; i < EDIT_X; i++)
            tap(RIGHT);
        for (int i = 0; i < EDIT_Y; i++)
            tap(DOWN);
        ASSERT_EQ(marker.x, EDIT_X);
        ASSERT_EQ(marker.y, EDIT_Y);
        ASSERT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE);
    }

    // From the title into the editor ("Editor" is one below "New Game").
    static void titleToEditor()
    {
        dismissTitle();
        choose(1);
        ASSERT_EQ(gameMode, MODE_EDITOR);
    }
};

} // namespace

TEST_F(Frontend, TheKeyboardAloneRemapsTheNineKeysAndSavesTheSettingsOnce)
{
    const std::string shipped = readFile(SETTINGS);
    ASSERT_NO_FATAL_FAILURE(toRemapping(0));

    const SDLKey keys[9] = {SDLK_w, SDLK_s, SDLK_a, SDLK_d, SDLK_k,
                            SDLK_j, SDLK_SPACE, SDLK_TAB, SDLK_q};
    const std::string out = pressNineKeys(keys);

    std::string expectedOut;
    for (int i = 0; i < 9; i++)
        expectedOut += "New key for " + std::to_string(i) + ": " + std::to_string(keys[i]) + "\n";
    expectedOut += "Saving config\n";
    EXPECT_EQ(out, expectedOut);

    // Back on the controls page with its cursor; the table holds the new keys
    // and the joystick half as shipped.
    ASSERT_EQ(menuState, 0) << "a further key press would wait for ever";
    EXPECT_EQ(curMenu, &contMenu);
    EXPECT_EQ(selected(), "Keyboard");
    int expected[18];
    for (int i = 0; i < 9; i++) {
        expected[i] = keys[i];
        expected[i + 9] = SHIPPED_JOYSTICK[i];
    }
    for (int i = 0; i < 18; i++)
        EXPECT_EQ(keyMapping[i], expected[i]) << KEY_NAMES[i];

    // The file: the shipped one with the nine keyboard lines changed.
    int keyValues[9];
    for (int i = 0; i < 9; i++)
        keyValues[i] = keys[i];
    EXPECT_EQ(readFile(SETTINGS), withMapping(shipped, 0, keyValues));
    EXPECT_FALSE(fileExists(std::string(SETTINGS) + ".tmp"));

    // It reads back to the same table.
    for (int i = 0; i < 18; i++)
        keyMapping[i] = 12345;
    joyDeadzone = 0;
    ASSERT_EQ(loadConfig("./data/config.cfg"), 0);
    for (int i = 0; i < 18; i++)
        EXPECT_EQ(keyMapping[i], expected[i]) << KEY_NAMES[i] << " after reading back";
    EXPECT_EQ(joyDeadzone, 3200);

    // The new keys drive the menu at once, the old ones no longer do.
    tapKey(SDLK_DOWN);
    EXPECT_EQ(selected(), "Keyboard");
    tapKey(SDLK_s);
    tapKey(SDLK_s);
    EXPECT_EQ(selected(), "Back");
    tapKey(SDLK_SPACE);
    EXPECT_EQ(curMenu, &optMenu);
    EXPECT_EQ(selected(), "Controls");
}

TEST_F(Frontend, JoystickRemappingStoresTheKeysInTheJoystickHalfOnly)
{
    const std::string shipped = readFile(SETTINGS);
    ASSERT_NO_FATAL_FAILURE(toRemapping(1));

    const SDLKey keys[9] = {SDLK_a, SDLK_b, SDLK_c, SDLK_d, SDLK_e,
                            SDLK_f, SDLK_g, SDLK_h, SDLK_i};
    const std::string out = pressNineKeys(keys);

    std::string expectedOut;
    for (int i = 0; i < 9; i++)
        expectedOut += "New key for " + std::to_string(i + 9) + ": " + std::to_string(keys[i]) + "\n";
    expectedOut += "Saving config\n";
    EXPECT_EQ(out, expectedOut);

    int keyValues[9];
    for (int i = 0; i < 9; i++) {
        keyValues[i] = keys[i];
        ASSERT_EQ(keyMapping[i], SHIPPED_KEYS[i]) << KEY_NAMES[i];
        EXPECT_EQ(keyMapping[i + 9], keys[i]) << KEY_NAMES[i + 9];
    }
    EXPECT_EQ(readFile(SETTINGS), withMapping(shipped, 9, keyValues));
    ASSERT_EQ(menuState, 0) << "a further key press would wait for ever";
    EXPECT_EQ(curMenu, &contMenu);
    EXPECT_EQ(selected(), "Joystick");

    // The joystick half drives nothing: its "OK" key is just a key.
    tapKey(SDLK_g);
    EXPECT_EQ(curMenu, &contMenu);
    EXPECT_EQ(menuState, 0);
    tap(UP);
    EXPECT_EQ(selected(), "Keyboard");
}

TEST_F(Frontend, AfterTheEditorOrAGameTheTitleComesBackThenThePageAndCursorLastUsed)
{
    toTitle();
    titleToEditor();
    tap(MENU);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_EQ(drawTitle, 1);
    EXPECT_EQ(curLvl.layer0.w, 100) << "the demo level is loaded again";
    tap(DOWN); // ignored on the title
    dismissTitle();
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "Editor");

    // "New Game", a few steps of play, pause, and quit.
    tap(UP);
    tap(OK);
    ASSERT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(curLvl.layer0.w, 110);
    for (int i = 0; i < 10; i++)
        step();
    tap(OK);
    EXPECT_EQ(ingameState, INGAME_PAUSED);
    tap(OK);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_EQ(drawTitle, 1);
    EXPECT_EQ(curLvl.layer0.w, 100);
    dismissTitle();
    EXPECT_EQ(curMenu, &mainMenu);
    EXPECT_EQ(selected(), "New Game");
}

TEST_F(Frontend, AnEditedTileIsSavedOnOkLoadsBackAndIsPlayedByNewGame)
{
    toTitle();
    titleToEditor();
    const std::string original = readFile(LEVEL);
    const LevelCopy before = copyLevel();
    markEditCell();
    editMarkedCell(3);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE + 3);

    testing::internal::CaptureStdout();
    tap(OK);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Saving map\n"), std::string::npos);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_NE(readFile(LEVEL), original);
    EXPECT_FALSE(fileExists(std::string(LEVEL) + ".tmp"));

    // "New Game" plays the saved level.
    dismissTitle();
    ASSERT_EQ(selected(), "Editor");
    tap(UP);
    pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
    step();
    step(); // the game's first step
    ASSERT_EQ(gameMode, MODE_INGAME);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE + 3);
    pushKey(SDL_KEYUP, SHIPPED_KEYS[OK]);
    step();

    // Loaded on its own: only the edited cell differs, and the creatures
    // come in the opposite order, as every save and load turns them round.
    freeMap();
    ASSERT_EQ(loadMap(LEVEL), 0);
    LevelCopy expected = before;
    expected.grid0[EDIT_X * before.h0 + EDIT_Y] = EDIT_TILE_BEFORE + 3;
    expected.creatures.assign(before.creatures.rbegin(), before.creatures.rend());
    expectSameLevel(copyLevel(), expected);
}

TEST_F(Frontend, MenuCancelsAnEditAndThenLeavesWithoutSaving)
{
    toTitle();
    titleToEditor();
    const std::string original = readFile(LEVEL);
    markEditCell();

    tap(JUMP);
    tap(RIGHT);
    tap(MENU);
    EXPECT_EQ(gameMode, MODE_EDITOR);
    EXPECT_EQ(editorMode, EDITOR_UPDATE);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE);

    editMarkedCell(1);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE + 1);
    testing::internal::CaptureStdout();
    tap(MENU);
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("Saving map"), std::string::npos);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_EQ(readFile(LEVEL), original);

    // The next visit finds the level as it was, the marker where it was left.
    dismissTitle();
    tap(OK);
    ASSERT_EQ(gameMode, MODE_EDITOR);
    EXPECT_EQ(marker.x, EDIT_X);
    EXPECT_EQ(marker.y, EDIT_Y);
    EXPECT_EQ(curLvl.layer0.array[EDIT_X][EDIT_Y], EDIT_TILE_BEFORE);
}

TEST_F(Frontend, AFailedSaveIsReportedAndLeavesTheOldLevelWhole)
{
    // A level named in a directory that does not exist: nothing to load,
    // nothing can be written.
    const std::string missing = dir.path + "/missing/level.map";
    mapFile = strdup(missing.c_str());
    toTitle();
    testing::internal::CaptureStderr();
    titleToEditor();
    tap(OK);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Can't open " + missing + "\n"), std::string::npos);
    EXPECT_NE(err.find("ERROR: (saveMap) Can't open " + missing + "\n"), std::string::npos);
    EXPECT_EQ(gameMode, MODE_MENU);
    EXPECT_FALSE(fileExists(dir.path + "/missing"));

    // The default level, with writes failing half-way (the file-size limit
    // stops them): the old file stays whole and no partial copy is left.
    free(mapFile);
    mapFile = nullptr;
    const std::string original = readFile(LEVEL);
    dismissTitle();
    tap(OK);
    ASSERT_EQ(gameMode, MODE_EDITOR);
    markEditCell();
    editMarkedCell(2);

    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    pushKey(SDL_KEYDOWN, SHIPPED_KEYS[OK]);
    step();
    err = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(err, "ERROR: (saveMap) Can't open ./data/maps/map01.map\n");
    EXPECT_EQ(newGameMode, MODE_MENU) << "the editor is left all the same";
    EXPECT_EQ(readFile(LEVEL), original);
    EXPECT_FALSE(fileExists(std::string(LEVEL) + ".tmp"));
}

TEST_F(Frontend, TheMarkerIsADarkGreenSquareWhileShownAndHiddenWhileATileIsEdited)
{
    startIntro();
    newGameMode = MODE_EDITOR;
    step();
    markEditCell();
    const SDL_Rect cellOnScreen = {(Sint16)(EDIT_X * 16 - camera.x), (Sint16)(EDIT_Y * 16 - camera.y),
                                   16, 16};
    const Uint32 green = SDL_MapRGB(screen->format, 8, 56, 8);

    // What the frame should be: the map, the marker when shown, and the
    // marked tile's number in the bottom-right corner.
    auto expectedFrame = [&](bool withMarker) {
        dBackground();
        dMap();
        if (withMarker)
            SDL_FillRect(screen, const_cast<SDL_Rect *>(&cellOnScreen), green);
        dText(curTile, screenWidth - 43, screenHeight - 16);
        return copyScreen();
    };
    auto greenPixels = [&]() {
        int n = 0;
        for (int y = cellOnScreen.y; y < cellOnScreen.y + 16; y++)
            for (int x = cellOnScreen.x; x < cellOnScreen.x + 16; x++)
                n += getPixel(screen, x, y) == green;
        return n;
    };

    // Shown: the whole cell is covered (and stays so for the next frame).
    while (markerDraw != 1 || markerBlinkTime == 0)
        draw();
    EXPECT_EQ(greenPixels(), 256);
    EXPECT_STREQ(curTile, "112");
    Frame drawn = copyScreen();
    EXPECT_EQ(framesDiffer(drawn, expectedFrame(true)), 0);

    // Hidden in the other blink phase: the map shows. (At 16 bits per pixel
    // the marker's green is also the tileset's darkest colour, so the
    // cloud's outline keeps some of those pixels.)
    while (markerDraw == 1)
        draw();
    EXPECT_LT(greenPixels(), 256);
    drawn = copyScreen();
    EXPECT_EQ(framesDiffer(drawn, expectedFrame(false)), 0);

    // While a tile is edited the marker stays away in both blink phases, and
    // the number follows the tile.
    pushKey(SDL_KEYDOWN, SHIPPED_KEYS[JUMP]);
    step();
    ASSERT_EQ(editorMode, EDITOR_EDIT);
    tap(RIGHT);
    EXPECT_STREQ(curTile, "113");
    const Frame editing = expectedFrame(false);
    int shownFrames = 0;
    for (int frame = 0; frame < 110; frame++) {
        draw();
        shownFrames += markerDraw;
        ASSERT_EQ(framesDiffer(copyScreen(), editing), 0) << "frame " << frame;
    }
    EXPECT_GT(shownFrames, 0);
}

TEST_F(Frontend, ExitOnTheMainPageEndsTheMainLoop)
{
    // The whole way from start-up, queued at once and handled one event per
    // step; the first event only lets the intro read the settings.
    newGameMode = MODE_INTRO;
    pushKey(SDL_KEYUP, SDLK_RETURN);
    const SDLKey keys[] = {SDLK_RETURN, SDLK_RETURN, SDLK_RETURN, SDLK_UP, SDLK_RETURN};
    for (SDLKey k : keys)
        pushKeyTap(k);

    mainLoopReset(0);
    int ticks = 0;
    int passes = 0;
    while (quit == 0 && passes < 100) {
        ticks += 17;
        mainLoopPass(ticks);
        passes++;
    }
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(gameMode, MODE_EXIT);
    EXPECT_EQ(curLvl.layer0.array, nullptr) << "the demo level is released";
    EXPECT_EQ(pendingEvents(), 0);
}
