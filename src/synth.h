// The game's tiny synthesizer: the waves every sound effect and tune is made
// of, and the effects' text form. An effect is a few tones played one after
// another, each a wave sliding from one pitch to another under a short fade
// in and fade out. Everything is integer arithmetic, so an effect comes out
// the same bytes on every machine the game runs on.
#pragma once
#include <cstdint>

// Effects are 8-bit unsigned mono samples at this rate, 128 being silence.
const int SOUND_RATE = 22050;
const int SOUND_SILENCE = 128;
// The longest effect, in samples (two seconds).
const int SOUND_MAX_SAMPLES = 2 * SOUND_RATE;

enum SynthWave { WAVE_SQUARE, WAVE_TRIANGLE, WAVE_SAW, WAVE_NOISE, WAVE_COUNT };
extern const char *const SYNTH_WAVE_NAMES[WAVE_COUNT];

// One tone of an effect: "tone WAVE FROM_HZ TO_HZ LENGTH_MS ATTACK_MS RELEASE_MS VOLUME".
struct SynthTone {
    int wave;
    int fromHz, toHz; // the pitch slides evenly from one to the other
    int lengthMs;
    int attackMs, releaseMs; // fade in at the start, fade out at the end
    int volume;              // 0 ... 100
};

// A wave's value at phase (a whole turn is 2^32), -127 ... 127. Noise takes a
// new random value each turn from the generator state *noise.
int synthWaveValue(int wave, uint32_t phase, uint32_t *noise);

// Steps the noise generator when the phase has come round from oldPhase to newPhase.
void synthTurnNoise(uint32_t oldPhase, uint32_t newPhase, uint32_t *noise);

// How far the phase turns in one sample of a note of milliHz at the rate.
uint32_t synthPhaseStep(int64_t milliHz, int rate);

// Reads a tone line's words (the first is "tone"); 0 when it is one, else 1
// with the reason in *error.
int synthParseTone(char **words, int n, SynthTone *tone, const char **error);

// Renders the tones one after another into out (at most capacity samples);
// returns the number of samples written.
int synthRender(const SynthTone *tones, int count, unsigned char *out, int capacity);
