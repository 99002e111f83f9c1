#include "input.h"

int keyMapping[18];
keyPressStruct keyPress;
int joyDeadzone = 100;
Point joyReverseAxis = {0, 0};
SDL_Event event;

void input(void) {}
void changeKeyMapping(int) {}
