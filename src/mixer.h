// The mixer: sound effects and a looping tune summed into 16-bit samples at
// the output device's rate. Plain code with no device of its own: the audio
// layer calls mixerFill from its callback and hands it the game's requests
// under the device's lock; the tests call it directly.
#pragma once
#include <cstdint>

#include "synth.h"

// Effects that may sound at once; a new one beyond that takes the place of
// the one that has played longest.
const int MIXER_VOICES = 8;
// The sound volume's range, as the options page sets it.
const int SOUND_VOLUME_MAX = 10;

// A tune: up to TUNE_VOICES voices, each a loop of notes one step long.
const int TUNE_VOICES = 4;
const int TUNE_MAX_STEPS = 256;
const int TUNE_REST = -1; // silence for a step
const int TUNE_HOLD = -2; // the note before goes on for another step
struct TuneVoice {
    int wave;
    int volume; // 0 ... 100
    int steps;
    short note[TUNE_MAX_STEPS]; // a semitone number (69 is the A of 440 Hz), TUNE_REST or TUNE_HOLD
};
struct Tune {
    int stepsPerMinute;
    int voices;
    TuneVoice voice[TUNE_VOICES];
};

// Forgets every effect, the tune and what is playing; output at rate.
void mixerReset(int rate);

// The samples of an effect (8-bit, SOUND_RATE); the mixer keeps the pointer.
// effect is 0 ... SOUND_EFFECT_COUNT - 1.
void mixerSetEffect(int effect, const unsigned char *samples, int length);

// Starts an effect from its beginning; one without samples stays silent.
void mixerStart(int effect);

// Plays tune from its start, looping; nullptr stops the tune. The same tune
// again goes on where it is.
void mixerSetTune(const Tune *tune);

// 0 (silent) ... SOUND_VOLUME_MAX.
void mixerSetVolume(int volume);

// Mixes the next frames samples into out.
void mixerFill(int16_t *out, int frames);

// The milliHz of a semitone number.
int64_t mixerNoteMilliHz(int note);
