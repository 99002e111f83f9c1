#include "menu.h"

menu mainMenu;
menu optMenu;
menu contMenu;
menu *curMenu = nullptr;
int menuInited = 0;
int menuState = 0;
int remapCurKey = 0;
int remapDevice = 0;
int drawTitle = 0;
int drawTitleNextTurn = 0;

int menuLogo(void)
{
    return 1;
}

void menuCreate(void) {}

int menuUpdate(void)
{
    return 0;
}

void menuHandleAction(int, int) {}
void _menuSet(int, int) {}
void menuRemap(int) {}
void menuDraw(void) {}
