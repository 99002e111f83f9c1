// The title screen's menu pages and the control remapping page.
#pragma once

// What menuUpdate hands to the mode logic when an entry leaves the menu.
const int MENU_RESULT_NEW_GAME = 1;
const int MENU_RESULT_EDITOR = 3;
const int MENU_RESULT_EXIT = 4;

struct menu {
    int selectedIndex;
    int menuItems;
    const char **menuChoices; // labels; an empty label is a gap the cursor skips
    int *menuActions;
    int *menuSubActions;
};

extern menu mainMenu;
extern menu optMenu;
extern menu contMenu;
extern menu *curMenu;
extern int menuInited;
extern int menuState;   // MENU_STATE_* below

// What menuState holds: the pages are being navigated, or keys captured.
const int MENU_STATE_NAVIGATING = 0;
const int MENU_STATE_REMAPPING = 1;
extern int remapCurKey; // logical button being remapped, 0-8
extern int remapDevice; // 0 keyboard, 1 joystick
extern int drawTitle;
extern int drawTitleNextTurn;

// Forgets the pages' state, the cursor and any remapping, as at start-up.
void menuReset(void);

// Title-screen step: returns 0 once OK has been pressed, else 1.
int menuLogo(void);

// Fills the pages on its first call.
void menuCreate(void);

// One step of the pages; returns the chosen action below 101, or 0.
int menuUpdate(void);

// Carries out actions 101 (open page), 102 (back to page), 103 (remap).
void menuHandleAction(int menuAction, int menuSubAction);

// Shows page menuSubAction; resets its cursor when resetSelected is non-zero.
void _menuSet(int menuSubAction, int resetSelected);

// One remapping step for device 0 (keyboard) or 1 (joystick).
void menuRemap(int device);

// Draws the pages or the remapping prompt.
void menuDraw(void);
