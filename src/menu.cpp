#include "menu.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "fileio.h"
#include "input.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "sound.h"

// Action codes of the menu entries: below MENU_OPEN_PAGE they are results
// for the mode logic (start the game, the editor, exit); 0 does nothing.
const int MENU_OPEN_PAGE = 101;    // open page sub-action, cursor on its first entry
const int MENU_BACK_TO_PAGE = 102; // return to page sub-action, keeping its cursor
const int MENU_REMAP = 103;        // remap device sub-action: 0 keyboard, 1 joystick

// Pages, as sub-actions of MENU_OPEN_PAGE and MENU_BACK_TO_PAGE.
const int PAGE_MAIN = 0;
const int PAGE_OPTIONS = 1;
const int PAGE_CONTROLS = 2;

// Devices, as sub-actions of MENU_REMAP.
const int DEVICE_JOYSTICK = 1;

// Layout of a page on the logical screen, in pixels.
const int MENU_LINE_HEIGHT = 20;
const int MENU_CURSOR_X = 40;
const int MENU_VOLUME_GAP = 4; // between the sound entry's label and its volume

// The pages' fixed contents. An empty label is a gap line.
static const char *mainChoices[] = {"New Game", "Editor", "Options", "Exit"};
static int mainActions[] = {MENU_RESULT_NEW_GAME, MENU_RESULT_EDITOR, MENU_OPEN_PAGE, MENU_RESULT_EXIT};
static int mainSubActions[] = {0, 0, PAGE_OPTIONS, 0};

static const char *optChoices[] = {"Controls", "Sound/Music", "Video", "", "Back"};
static const int OPTIONS_SOUND = 1;
static int optActions[] = {MENU_OPEN_PAGE, 0, 0, 0, MENU_BACK_TO_PAGE};
static int optSubActions[] = {PAGE_CONTROLS, 0, 0, 0, PAGE_MAIN};

static const char *contChoices[] = {"Keyboard", "Joystick", "", "Back"};
static int contActions[] = {MENU_REMAP, MENU_REMAP, 0, MENU_BACK_TO_PAGE};
static int contSubActions[] = {0, DEVICE_JOYSTICK, 0, PAGE_OPTIONS};

menu mainMenu;
menu optMenu;
menu contMenu;
menu *curMenu = nullptr;
int menuInited = 0;
int menuState = MENU_STATE_NAVIGATING;
int remapCurKey = 0;
int remapDevice = 0;
int drawTitle = 0;
int drawTitleNextTurn = 0;

// Title-screen step: returns 0 once OK has been pressed (consuming it), else 1.
void menuReset(void)
{
    curMenu = nullptr;
    menuInited = 0;
    menuState = MENU_STATE_NAVIGATING;
    remapCurKey = remapDevice = drawTitle = drawTitleNextTurn = 0;
}

int menuLogo(void)
{
    return takePress(OK) ? 0 : 1;
}

// Fills the three pages from the tables; only the first call does anything,
// so pages and cursors survive leaving and re-entering the menu.
void menuCreate(void)
{
    if (menuInited == 1)
        return;
    mainMenu = {0, (int)std::size(mainChoices), mainChoices, mainActions, mainSubActions};
    optMenu = {0, (int)std::size(optChoices), optChoices, optActions, optSubActions};
    contMenu = {0, (int)std::size(contChoices), contChoices, contActions, contSubActions};
    curMenu = &mainMenu;
    menuInited = 1;
}

// Moves the cursor of page m by step (-1 or +1), wrapping round and skipping
// gap lines; a page of gaps only leaves the cursor where it was.
static void menuMoveCursor(menu *m, int step)
{
    int index = m->selectedIndex;
    for (int tries = 0; tries < m->menuItems; tries++) {
        index = (index + step + m->menuItems) % m->menuItems;
        if (m->menuChoices[index][0] != '\0') {
            if (index != m->selectedIndex)
                soundPlay(SOUND_MENU_MOVE);
            m->selectedIndex = index;
            return;
        }
    }
}

// 1 when the cursor is on the options page's sound entry, whose LEFT and
// RIGHT set the volume.
static int menuOnVolume(void)
{
    return curMenu == &optMenu && curMenu->selectedIndex == OPTIONS_SOUND;
}

// One step of the pages (or of the remapping); returns the chosen action
// below MENU_OPEN_PAGE for the mode logic, or 0.
int menuUpdate(void)
{
    if (menuState == MENU_STATE_REMAPPING) {
        menuRemap(remapDevice);
        return 0;
    }
    if (curMenu == nullptr)
        return 0;

    if (takePress(UP))
        menuMoveCursor(curMenu, -1);
    if (takePress(DOWN))
        menuMoveCursor(curMenu, +1);
    if (menuOnVolume()) {
        if (takePress(LEFT))
            soundChangeVolume(-1);
        if (takePress(RIGHT))
            soundChangeVolume(+1);
    }
    if (takePress(OK)) {
        int action = curMenu->menuActions[curMenu->selectedIndex];
        int subAction = curMenu->menuSubActions[curMenu->selectedIndex];
        if (action != 0)
            soundPlay(SOUND_MENU_CHOOSE);
        if (action < MENU_OPEN_PAGE)
            return action;
        menuHandleAction(action, subAction);
    }
    return 0;
}

// Carries out the actions handled inside the menu: open a page, go back to a
// page, start remapping a device.
void menuHandleAction(int menuAction, int menuSubAction)
{
    if (menuAction == MENU_OPEN_PAGE) {
        _menuSet(menuSubAction, 1);
    } else if (menuAction == MENU_BACK_TO_PAGE) {
        _menuSet(menuSubAction, 0);
    } else if (menuAction == MENU_REMAP) {
        menuState = MENU_STATE_REMAPPING;
        remapDevice = menuSubAction;
    }
}

// Shows page menuSubAction (an unknown page keeps the current one); resets the
// shown page's cursor to its first entry when resetSelected is non-zero.
void _menuSet(int menuSubAction, int resetSelected)
{
    if (menuSubAction == PAGE_MAIN)
        curMenu = &mainMenu;
    else if (menuSubAction == PAGE_OPTIONS)
        curMenu = &optMenu;
    else if (menuSubAction == PAGE_CONTROLS)
        curMenu = &contMenu;
    if (resetSelected && curMenu != nullptr)
        curMenu->selectedIndex = 0;
}

// One remapping step: captures the key for the current button into the
// device's half of the table; after the last button the settings are saved
// and the controls page comes back. A quit during the capture ends the game
// there: the remapping goes no further and nothing is saved.
void menuRemap(int device)
{
    // The capture blocks until a key or button arrives, or a quit.
    int base = (device == DEVICE_JOYSTICK) ? J_UP : K_UP;
    changeKeyMapping(base + remapCurKey);
    if (event.type == SDL_QUIT)
        return;

    // After the ninth button the table is complete and is saved.
    if (remapCurKey < MENU) {
        remapCurKey++;
        return;
    }
    remapCurKey = 0;
    saveConfig(CONFIG_FILE);
    menuState = MENU_STATE_NAVIGATING;
}

// The volume, right of the sound entry's label, with arrows while the cursor
// is on it to say that LEFT and RIGHT change it.
static void menuDrawVolume(void)
{
    char text[16];
    if (menuOnVolume())
        snprintf(text, sizeof text, "<%d>", soundVolume);
    else
        snprintf(text, sizeof text, " %d", soundVolume);
    // Where dTextCentered ends the label.
    const int length = (int)strlen(optChoices[OPTIONS_SOUND]);
    const int labelEnd = screenWidth / 2 - (FONT_ADVANCE / 2) * length + FONT_ADVANCE * length;
    dText(text, labelEnd + MENU_VOLUME_GAP, OPTIONS_SOUND * MENU_LINE_HEIGHT);
}

// Draws the page labels with the cursor mark, or the remapping prompt.
void menuDraw(void)
{
    if (menuState == MENU_STATE_REMAPPING) {
        if (remapCurKey < 0 || remapCurKey >= BUTTON_COUNT)
            return;
        char prompt[32];
        snprintf(prompt, sizeof prompt, "Press key for *%s*", BUTTON_NAMES[remapCurKey]);
        dTextCentered(prompt, 0, screenHeight / 2);
        return;
    }
    if (curMenu == nullptr)
        return;
    for (int i = 0; i < curMenu->menuItems; i++) {
        if (curMenu->menuChoices[i][0] != '\0')
            dTextCentered(curMenu->menuChoices[i], 0, i * MENU_LINE_HEIGHT);
    }
    dText("*", MENU_CURSOR_X, curMenu->selectedIndex * MENU_LINE_HEIGHT);
    if (curMenu == &optMenu)
        menuDrawVolume();
}
