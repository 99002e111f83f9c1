#include "draw.h"

#include <cstdio>

#include "campaign.h"
#include "editor.h"
#include "enemy.h"
#include "global.h"
#include "input.h"
#include "intro.h"
#include "logic.h"
#include "menu.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "timer.h"

// The frame counter measures frames over intervals of this many milliseconds.
const int FPS_INTERVAL_MS = 1000;
// It fills the last 30 pixels (five characters) of the top text line.
const int FPS_TEXT_RIGHT_INSET = 30;
const int FPS_TEXT_Y = 1;

// The title logo is 112 pixels wide, centred, 5 pixels below the top.
const int LOGO_HALF_WIDTH = 56;
const int LOGO_Y = 5;
// Text lines are placed this many pixels above the bottom of the screen.
const int PRESS_START_ABOVE_BOTTOM = 40;
const int TITLE_LEVEL_ABOVE_BOTTOM = 18;
const int WON_TITLE_ABOVE_BOTTOM = 70;
const int WON_THANKS_ABOVE_BOTTOM = 50;
const int WON_NEXT_ABOVE_BOTTOM = 30;
const int GAME_OVER_ABOVE_BOTTOM = 60;
const int GAME_OVER_RETRY_ABOVE_BOTTOM = 48;
const int PAUSED_ABOVE_BOTTOM = 70;
const int PAUSED_HINT_ABOVE_BOTTOM = 50;
// The line naming the key that resumes stands under the quit hint, clear of
// its 7-pixel letters, so that a player who paused does not take a second
// press of OK for the way back into the game.
const int PAUSED_RESUME_ABOVE_BOTTOM = 40;
const char PAUSED_RESUME_TEXT[] = " resumes";
// The life bar sits in the top-left corner.
const int LIFEBAR_X = 1;
const int LIFEBAR_Y = 1;
// The key sign, while the player holds the key, stands right of the life
// bar's plate, which ends 18 pixels after the bar's left edge: three hearts
// 6 pixels apart and a column of plate.
const int KEY_SIGN_X = LIFEBAR_X + 18;
const int KEY_SIGN_Y = LIFEBAR_Y;

// A test of the editor's level says so in the bottom-left corner, which the
// life bar and the frame counter leave free.
const int TEST_TEXT_X = 2;
const int TEST_TEXT_ABOVE_BOTTOM = 9;

// dTextCentered's axis: centred horizontally, the second number being the top y.
const int CENTRE_HORIZONTALLY = 0;

// Draws the current mode, then the frame counter, and presents the frame.
void draw(void)
{
    switch (gameMode) {
    case MODE_INTRO:
        drawIntro();
        break;
    case MODE_MENU:
        drawMenu();
        break;
    case MODE_INGAME:
        drawInGame();
        break;
    case MODE_HISCORE:
        drawHiScore();
        break;
    case MODE_EDITOR:
        drawEditor();
        break;
    case MODE_WON:
        drawWon();
        break;
    default:
        break;
    }

    char fpsStr[10];
    snprintf(fpsStr, sizeof fpsStr, "%d/%d", countFps(FPS_INTERVAL_MS), framesPerSecond);
    dText(fpsStr, screenWidth - FPS_TEXT_RIGHT_INSET, FPS_TEXT_Y);

    updateScreen();
}

// The current splash image over the background.
void drawIntro(void)
{
    dBackground();
    introDraw();
}

// The demo level with either the title screen or the menu pages over it.
void drawMenu(void)
{
    dBackground();
    dMap();
    if (drawTitle) {
        applySurface(screenWidth / 2 - LOGO_HALF_WIDTH, LOGO_Y, gameLogoIMG, screen, nullptr);
        dTextCentered("Press start", CENTRE_HORIZONTALLY, screenHeight - PRESS_START_ABOVE_BOTTOM);
        dTextCentered(campaignTitleLine(), CENTRE_HORIZONTALLY, screenHeight - TITLE_LEVEL_ABOVE_BOTTOM);
    } else {
        menuDraw();
    }
}

// The pause texts: the title, how to quit, and which key resumes, by the
// name of the key mapped to BACK.
static void drawPaused(void)
{
    dTextCentered("PAUSED", CENTRE_HORIZONTALLY, screenHeight - PAUSED_ABOVE_BOTTOM);
    dTextCentered("Press OK again to quit", CENTRE_HORIZONTALLY, screenHeight - PAUSED_HINT_ABOVE_BOTTOM);
    char resume[BUTTON_KEY_NAME_MAX + sizeof PAUSED_RESUME_TEXT];
    snprintf(resume, sizeof resume, "%s%s", inputButtonName(BACK), PAUSED_RESUME_TEXT);
    dTextCenteredOnPlate(resume, screenHeight - PAUSED_RESUME_ABOVE_BOTTOM);
}

// The level, the player, the enemies over it, the life bar on its plate with
// the key sign once the key is held, "TEST" while the editor's level is
// tried, and the game-over or pause text.
void drawInGame(void)
{
    dBackground();
    dMap();
    playerDraw();
    enemyDrawAll();
    dLifebarBacking(LIFEBAR_X, LIFEBAR_Y);
    dLifebar(LIFEBAR_X, LIFEBAR_Y, player.hp);
    if (hasKey)
        applySurface(KEY_SIGN_X, KEY_SIGN_Y, keySignIMG, screen, nullptr);
    if (editorPlaying)
        dText("TEST", TEST_TEXT_X, screenHeight - TEST_TEXT_ABOVE_BOTTOM);
    if (ingameState == INGAME_GAME_OVER) {
        dTextCentered("GAME OVER", CENTRE_HORIZONTALLY, screenHeight - GAME_OVER_ABOVE_BOTTOM);
        dTextCenteredOnPlate(campaignRetryLine(), screenHeight - GAME_OVER_RETRY_ABOVE_BOTTOM);
    } else if (ingameState == INGAME_PAUSED) {
        drawPaused();
    }
}

// The high-score mode shows nothing: it returns to the menu at once.
void drawHiScore(void) {}

// The level being edited with the editor's marker and tile number.
void drawEditor(void)
{
    dBackground();
    dMap();
    editorDraw();
}

// The end screen after reaching the exit, with the next level offered.
void drawWon(void)
{
    dBackground();
    dTextCentered("YOU WON!", CENTRE_HORIZONTALLY, screenHeight - WON_TITLE_ABOVE_BOTTOM);
    dTextCentered("Thanks for playing!", CENTRE_HORIZONTALLY, screenHeight - WON_THANKS_ABOVE_BOTTOM);
    dTextCentered(campaignWonLine(), CENTRE_HORIZONTALLY, screenHeight - WON_NEXT_ABOVE_BOTTOM);
}
