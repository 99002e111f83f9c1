// Scripted presses for the headless tools: a logical button's key event,
// pushed into SDL's queue as if the player had pressed or released it.
#pragma once

// Pushes the key-down (down true) or key-up event of the key the settings
// map to button (an UP ... MENU value). A button whose number in the settings
// is no key of SDL's pushes nothing.
void pushButton(int button, bool down);

// Tells whether the settings map a button to a number that is no key of SDL's,
// and then names that button on standard error after the tool's name: no press
// of it could reach the game as the player's would.
int pushButtonKeyMissing(const char *tool);

// Pushes a pad's event: its button down or up, its axis moved to value
// (-32768 ... 32767), or its first hat moved to bits (SDL_HAT_* values).
void pushPadButton(int button, bool down);
void pushPadAxis(int axis, int value);
void pushPadHat(int bits);
