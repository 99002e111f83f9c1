// The sound device: opened at start when the volume is above 0 and a device
// is there, fed by the mixer from SDL's audio callback. The game's own code
// stays one thread: only the callback runs on SDL's, and the game hands it
// requests under the device's lock once a pass.
#pragma once

// Reads the volume, the effects and the tunes; when the volume is above 0,
// opens the device. Without a device, or when the volume is 0, the game is
// silent and otherwise the same; a failure is said in one line.
void audioStart(void);

// Hands the requests posted since the last pass to the mixer, with the tune
// of the current mode and the volume. Opens the device the first time the
// volume rises above 0 if it was never tried. Requests made while silent are dropped.
void audioDeliver(void);

// Closes the device and frees the effects.
void audioStop(void);

// 1 while the device is open.
int audioIsOpen(void);
