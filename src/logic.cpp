#include "logic.h"

#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "camera.h"
#include "campaign.h"
#include "editor.h"
#include "enemy.h"
#include "fileio.h"
#include "global.h"
#include "input.h"
#include "intro.h"
#include "map.h"
#include "menu.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"

gameModeEnum gameMode = MODE_EXIT;
gameModeEnum newGameMode = MODE_EXIT;
int ingameState = 0;

// Files the modes load, all in the data folder of the directory the game was started in.
static const char *const DATA_FOLDER = "./data";
static const char *const FONT_FILE = "./data/gfx/font02.bmp";
static const char *const SPLASH1_FILE = "./data/gfx/splash01.bmp";
static const char *const SPLASH2_FILE = "./data/gfx/splash02.bmp";
static const char *const GAME_LOGO_FILE = "./data/gfx/gamelogo.bmp";
static const char *const LIFEBAR_FILE = "./data/gfx/lifebar.bmp";
static const char *const KEY_SIGN_FILE = "./data/gfx/keysign.bmp";
static const char *const DEMO_MAP_FILE = "./data/maps/demo01.map";

// The font sheet: 5x7 glyphs, 16 per line. Asking for 255 cells still cuts
// the sheet's last line in full, so every byte value gets its glyph.
const int FONT_GLYPH_W = 5;
const int FONT_GLYPH_H = 7;
const int FONT_GLYPHS_PER_LINE = SHEET_CELLS_PER_ROW;
const int FONT_GLYPHS = 255;
// The life-bar sheet: a filled and an empty 5x7 piece side by side.
const int LIFEBAR_PIECE_W = 5;
const int LIFEBAR_PIECE_H = 7;
const int LIFEBAR_SHEET_CELLS = 2;

// The demo level behind the title scrolls 1 pixel per step, 30 pixels below its top.
const int MENU_CAMERA_Y = 30;
const int MENU_SCROLL_PIXELS = 1;
// Pixels the scroll keeps short of the level's right edge, beyond the camera's height.
const int MENU_SCROLL_MARGIN = 40;

// Each mode's own flag: 0 means its next step is its first, which initialises it.
static int introStarted = 0;
static int menuStarted = 0;
static int inGameStarted = 0;
static int hiScoreStarted = 0;
static int editorStarted = 0;
static int wonStarted = 0;

// Forgets every mode's initialisation, as at start-up.
void logicReset(void)
{
    introStarted = 0;
    menuStarted = 0;
    inGameStarted = 0;
    hiScoreStarted = 0;
    editorStarted = 0;
    wonStarted = 0;
    gameMode = newGameMode = MODE_EXIT;
    ingameState = INGAME_PLAYING;
}

// Makes the requested mode current and runs one step of it.
void logic(void)
{
    gameMode = newGameMode;
    switch (gameMode) {
    case MODE_EXIT:
        quit = 1;
        break;
    case MODE_INTRO:
        logicIntro();
        break;
    case MODE_MENU:
        logicMenu();
        break;
    case MODE_INGAME:
        logicInGame();
        break;
    case MODE_HISCORE:
        logicHiScore();
        break;
    case MODE_EDITOR:
        logicEditor();
        break;
    case MODE_WON:
        logicWon();
        break;
    default:
        break;
    }
}

void logicLoadFont(void)
{
    if (fontIMG)
        return;
    fontIMG = loadImage(FONT_FILE);
    clipImage(fontClip, FONT_GLYPH_W, FONT_GLYPH_H, FONT_GLYPHS_PER_LINE, FONT_GLYPHS);
}

// Intro, first step: the settings, the splash images and the font.
static void introStart(void)
{
    introStarted = 1;
    loadConfig(CONFIG_FILE);
    if (!splash1IMG)
        splash1IMG = loadImage(SPLASH1_FILE);
    if (!splash2IMG)
        splash2IMG = loadImage(SPLASH2_FILE);
    logicLoadFont();
    introController = 0;
}

// Tells whether the game was started where there is no data folder, and then
// says where it looked: without it there is not even a font to show a word with.
static int introDataMissing(void)
{
    struct stat st;
    if (stat(DATA_FOLDER, &st) == 0 && S_ISDIR(st.st_mode))
        return 0;
    char cwd[PATH_MAX];
    fprintf(stderr,
            "ERROR: (logicIntro) There is no folder %s in %s; start the game from the folder that holds data/\n",
            DATA_FOLDER, getcwd(cwd, sizeof cwd) ? cwd : "the working directory");
    return 1;
}

// The two splash screens; goes to the menu when they are over. Started
// without the data folder, the game ends instead.
void logicIntro(void)
{
    if (!introStarted && introDataMissing()) {
        newGameMode = MODE_EXIT;
        return;
    }
    if (!introStarted) {
        introStart();
        return;
    }
    if (introUpdate() == 1) {
        introStarted = 0;
        newGameMode = MODE_MENU;
    }
}

// Menu, first step: the logo, the demo level and a camera at its left edge.
static void menuStart(void)
{
    menuStarted = 1;
    if (!gameLogoIMG)
        gameLogoIMG = loadImage(GAME_LOGO_FILE);
    loadMap(DEMO_MAP_FILE);
    initCamera();
    camera.y = MENU_CAMERA_Y;
    camera.w = screenWidth;
    camera.h = screenHeight;
    drawTitleNextTurn = 1;
    camera.x = 0;
    campaignTitleStart();
}

// Scrolls the demo level to the right and starts over at its end. The test uses
// the camera's height: at 160x120 that ends exactly at the level's right edge.
static void menuScrollDemo(void)
{
    if (camera.x + camera.h < curLvl.layer0.w * TILE_SIZE - MENU_SCROLL_MARGIN)
        camera.x += MENU_SCROLL_PIXELS;
    else
        camera.x = 0;
}

// Carries out a menu result: the three leaving choices change the mode; any
// positive result releases the demo level so the menu starts over.
static void menuLeave(int result)
{
    if (result <= 0)
        return;
    if (result == MENU_RESULT_NEW_GAME)
        newGameMode = MODE_INGAME;
    else if (result == MENU_RESULT_EDITOR)
        newGameMode = MODE_EDITOR;
    else if (result == MENU_RESULT_EXIT)
        newGameMode = MODE_EXIT;
    menuStarted = 0;
    freeMap();
}

// The title screen, then the menu pages, over the scrolling demo level.
void logicMenu(void)
{
    if (!menuStarted)
        menuStart();
    // The title stays for the step in which OK dismisses it.
    drawTitle = drawTitleNextTurn;
    menuScrollDemo();
    setCamera(&camera);
    if (drawTitle) {
        campaignTitleStep();
        drawTitleNextTurn = menuLogo();
        return;
    }
    menuCreate();
    menuLeave(menuUpdate());
}

// In game, first step: the life bar and the key sign beside it, the level,
// the camera and the player. A level lost and tried again is released first.
// The images play draws beside the level, loaded once.
static void inGameLoadImages(void)
{
    if (!lifebarIMG) {
        lifebarIMG = loadImage(LIFEBAR_FILE);
        clipImage(lifebarClip, LIFEBAR_PIECE_W, LIFEBAR_PIECE_H, LIFEBAR_SHEET_CELLS, LIFEBAR_SHEET_CELLS);
    }
    if (!keySignIMG)
        keySignIMG = loadImage(KEY_SIGN_FILE);
}

static void inGameStart(void)
{
    inGameStarted = 1;
    freeMap();
    ingameState = INGAME_PLAYING;
    inGameLoadImages();
    loadMap(mapLevelFile());
    initCamera();
    playerInit();
}

// In game, first step of a test of the editor's level: the level is the one
// in memory and the player stands in the marked cell; everything the test
// needs was loaded when the editor opened, so starting reads no file.
static void inGameStartTest(void)
{
    inGameStarted = 1;
    ingameState = INGAME_PLAYING;
    initCamera();
    editorPlayStart();
}

// Ends a test of the editor's level: back to the editor with the level as it
// was before the test.
static void inGameEndTest(void)
{
    editorPlayEnd();
    ingameState = INGAME_PLAYING;
    newGameMode = MODE_EDITOR;
}

// OK pauses a running game and leaves a paused or lost one; it does nothing
// while dying. Returns 1 when the game is to be left.
static int inGameHandleOk(void)
{
    if (!takePress(OK))
        return 0;
    if (ingameState == INGAME_GAME_OVER || ingameState == INGAME_PAUSED)
        return 1;
    if (ingameState == INGAME_PLAYING)
        ingameState = INGAME_PAUSED;
    return 0;
}

// BACK resumes a paused game; in any other state the press is just consumed.
static void inGameHandleBack(void)
{
    if (takePress(BACK) && ingameState == INGAME_PAUSED)
        ingameState = INGAME_PLAYING;
}

// JUMP on the game-over screen tries the level again: the next step starts
// the game afresh, as New Game does. wasOver tells whether the screen was
// already up before this step.
static void inGameHandleRetry(int wasOver)
{
    if (ingameState != INGAME_GAME_OVER)
        return;
    if (!wasOver)
        campaignGameOverStart();
    else if (campaignRetryJump())
        inGameStarted = 0;
}

// One step of play: player, pause and quit presses, camera, enemies; the
// level is released when the game is left or won.
void logicInGame(void)
{
    if (!inGameStarted && editorPlaying)
        inGameStartTest();
    if (!inGameStarted)
        inGameStart();
    const int wasOver = ingameState == INGAME_GAME_OVER;
    // The player moves while alive or dying; game over and the pause freeze it.
    if (ingameState < INGAME_GAME_OVER)
        playerUpdate();
    // OK before BACK: with both pressed while paused, OK leaves the game.
    const int leaving = inGameHandleOk();
    inGameHandleBack();
    if (!leaving)
        inGameHandleRetry(wasOver);
    // The camera follows the player only while playing, so a dying player falls out of view.
    if (ingameState == INGAME_PLAYING)
        centerCameraOnCoords(static_cast<int>(player.x) + player.w / 2,
                             static_cast<int>(player.y) + player.h / 2);
    // The enemies move while the player is alive or dying.
    if (ingameState < INGAME_GAME_OVER)
        enemyUpdateAll();
    // Leaving for the menu or the won screen: the next game starts afresh. A
    // test of the editor's level goes back to the editor instead, so winning
    // one counts for nothing and writes nothing.
    if (leaving)
        newGameMode = MODE_MENU;
    if (leaving || newGameMode == MODE_WON) {
        inGameStarted = 0;
        if (editorPlaying)
            inGameEndTest();
        else
            freeMap();
    }
}

// Reserved for high scores: goes straight back to the menu.
void logicHiScore(void)
{
    hiScoreStarted = 1;
    newGameMode = MODE_MENU;
    hiScoreStarted = 0;
}

// Editor, first step: the level (a new one when its file does not exist yet)
// and the camera, and what playing the level from a cell will need, so that a
// test begins without reading a file.
static void editorStart(void)
{
    editorStarted = 1;
    editorOpen(mapLevelFile());
    initCamera();
    inGameLoadImages();
    playerLoad();
}

// One step of the editor's current mode; the marker mode may end the editor.
// An edit begun in this step starts at the next one.
void logicEditor(void)
{
    if (!editorStarted)
        editorStart();
    if (editorMode == EDITOR_UPDATE) {
        if (editorUpdate() != 0) {
            editorStarted = 0;
            freeMap();
            newGameMode = MODE_MENU;
        }
    } else if (editorMode == EDITOR_EDIT) {
        editorTileEdit();
    } else if (editorMode == EDITOR_OBJECT) {
        editorObjectEdit();
    }
    // "play here" was chosen: the test is played in game from the next step.
    if (editorPlaying)
        newGameMode = MODE_INGAME;
}

// The won screen: OK returns to the menu; JUMP plays the next level, when
// there is one to play, from its start.
void logicWon(void)
{
    if (!wonStarted) {
        wonStarted = 1;
        campaignWonStart();
    }
    if (takePress(OK)) {
        newGameMode = MODE_MENU;
        wonStarted = 0;
    } else if (campaignWonJump()) {
        newGameMode = MODE_INGAME;
        wonStarted = 0;
    }
}
