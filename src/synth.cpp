#include "synth.h"

#include <cstdlib>
#include <cstring>

const char *const SYNTH_WAVE_NAMES[WAVE_COUNT] = {"square", "triangle", "saw", "noise"};

// The loudest a wave swings either side of silence.
static const int WAVE_PEAK = 127;
// The envelope's full gain; a fade runs from 0 up to it or back down.
static const int64_t ENVELOPE_FULL = 256;
// Limits of a tone's numbers, so no product below can overflow.
static const int MAX_HZ = 20000;
static const int MAX_TONE_MS = 2000;

int synthWaveValue(int wave, uint32_t phase, uint32_t *noise)
{
    switch (wave) {
    case WAVE_SQUARE:
        return phase < 0x80000000u ? WAVE_PEAK : -WAVE_PEAK;
    case WAVE_TRIANGLE: {
        const int step = (int)(phase >> 23); // 0 ... 511 over a turn
        return step < 256 ? step - 128 : 383 - step;
    }
    case WAVE_SAW:
        return (int)(phase >> 24) - 128;
    default:
        // A 32-bit linear congruential generator: cheap, and the same everywhere.
        return (int)(*noise >> 24) - 128;
    }
}

uint32_t synthPhaseStep(int64_t milliHz, int rate)
{
    return (uint32_t)((milliHz << 32) / ((int64_t)rate * 1000));
}

void synthTurnNoise(uint32_t oldPhase, uint32_t newPhase, uint32_t *noise)
{
    if (newPhase < oldPhase)
        *noise = *noise * 1664525u + 1013904223u;
}

// A number word within lowest ... highest; 1 when it is not one.
static int synthNumber(const char *word, int lowest, int highest, int *value)
{
    char *end = nullptr;
    const long number = strtol(word, &end, 10);
    if (end == word || *end != '\0' || number < lowest || number > highest)
        return 1;
    *value = (int)number;
    return 0;
}

int synthParseTone(char **words, int n, SynthTone *tone, const char **error)
{
    if (n != 8) {
        *error = "a tone is: tone WAVE FROM_HZ TO_HZ LENGTH_MS ATTACK_MS RELEASE_MS VOLUME";
        return 1;
    }
    tone->wave = -1;
    for (int w = 0; w < WAVE_COUNT; w++)
        if (strcmp(words[1], SYNTH_WAVE_NAMES[w]) == 0)
            tone->wave = w;
    if (tone->wave < 0) {
        *error = "the wave is square, triangle, saw or noise";
        return 1;
    }
    if (synthNumber(words[2], 1, MAX_HZ, &tone->fromHz) || synthNumber(words[3], 1, MAX_HZ, &tone->toHz)) {
        *error = "a pitch is 1 ... 20000 Hz";
        return 1;
    }
    if (synthNumber(words[4], 1, MAX_TONE_MS, &tone->lengthMs) ||
        synthNumber(words[5], 0, tone->lengthMs, &tone->attackMs) ||
        synthNumber(words[6], 0, tone->lengthMs, &tone->releaseMs)) {
        *error = "the length is 1 ... 2000 ms, and each fade at most the length";
        return 1;
    }
    if (synthNumber(words[7], 0, 100, &tone->volume)) {
        *error = "the volume is 0 ... 100";
        return 1;
    }
    return 0;
}

// The envelope's gain at sample i of n: a fade in over the first attack
// samples, a fade out over the last release.
static int64_t synthEnvelope(int i, int n, int attack, int release)
{
    if (i < attack)
        return ENVELOPE_FULL * i / attack;
    if (i >= n - release)
        return ENVELOPE_FULL * (n - i) / release;
    return ENVELOPE_FULL;
}

// Renders one tone into out; returns the samples written.
static int synthRenderTone(const SynthTone *tone, unsigned char *out, int capacity, uint32_t *noise)
{
    int n = (int)((int64_t)tone->lengthMs * SOUND_RATE / 1000);
    if (n > capacity)
        n = capacity;
    const int attack = tone->attackMs * SOUND_RATE / 1000;
    const int release = tone->releaseMs * SOUND_RATE / 1000;
    uint32_t phase = 0;
    for (int i = 0; i < n; i++) {
        const int64_t milliHz = (int64_t)tone->fromHz * 1000 + (int64_t)(tone->toHz - tone->fromHz) * 1000 * i / n;
        const int64_t gain = synthEnvelope(i, n, attack, release);
        const int64_t value = synthWaveValue(tone->wave, phase, noise) * gain * tone->volume / (ENVELOPE_FULL * 100);
        out[i] = (unsigned char)(SOUND_SILENCE + value);
        const uint32_t next = phase + synthPhaseStep(milliHz, SOUND_RATE);
        synthTurnNoise(phase, next, noise);
        phase = next;
    }
    return n;
}

int synthRender(const SynthTone *tones, int count, unsigned char *out, int capacity)
{
    uint32_t noise = 1;
    int written = 0;
    for (int t = 0; t < count && written < capacity; t++)
        written += synthRenderTone(&tones[t], out + written, capacity - written, &noise);
    return written;
}
