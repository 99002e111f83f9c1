// Scripted presses for the headless tools: a logical button's key event,
// pushed into SDL's queue as if the player had pressed or released it.
#pragma once

// Pushes the key-down (down true) or key-up event of the key the settings
// map to button (an UP ... MENU value).
void pushButton(int button, bool down);
