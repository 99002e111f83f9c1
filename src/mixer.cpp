#include "mixer.h"

#include <cstring>

#include "sound.h"

// The tune plays under the effects at this share of their loudness (of 256).
static const int TUNE_SHARE = 80;
// A note fades from full to a quarter over its first two steps, so repeated
// notes are heard as separate notes.
static const int NOTE_FADE_STEPS = 2;
static const int ENVELOPE_FULL = 256;
static const int NOTE_FLOOR = ENVELOPE_FULL / 4;
// Effect samples are 8-bit; the output is 16-bit.
static const int SAMPLE_SCALE = 256;

struct MixerVoice {
    int effect; // -1 when the voice is free
    uint32_t position; // in effect samples, 16.16 fixed point
    unsigned int started; // when it started, to find the one that has played longest
};

struct TunePlayer {
    int step;            // the step of the tune now sounding
    int sampleInStep;    // output samples into it
    int samplesPerStep;  // at the output rate, worked out once a tune
    int fadeSamples;     // how long a note takes to fade to its floor
    int samplesInNote[TUNE_VOICES];
    int note[TUNE_VOICES]; // the note sounding, or TUNE_REST
    uint32_t phase[TUNE_VOICES];
    uint32_t phaseStep[TUNE_VOICES]; // the note's pitch, worked out when it starts
    uint32_t noise[TUNE_VOICES];
};

static struct {
    int rate;
    uint32_t effectStep; // effect samples per output sample, 16.16
    const unsigned char *samples[SOUND_EFFECT_COUNT];
    int length[SOUND_EFFECT_COUNT];
    MixerVoice voice[MIXER_VOICES];
    unsigned int starts;
    int volume;
    const Tune *tune;
    TunePlayer player;
} mixer;

void mixerReset(int rate)
{
    memset(&mixer, 0, sizeof mixer);
    mixer.rate = rate > 0 ? rate : SOUND_RATE;
    mixer.effectStep = (uint32_t)(((uint64_t)SOUND_RATE << 16) / (uint64_t)mixer.rate);
    for (MixerVoice &voice : mixer.voice)
        voice.effect = -1;
    mixer.volume = SOUND_VOLUME_DEFAULT;
}

void mixerSetEffect(int effect, const unsigned char *samples, int length)
{
    if (effect < 0 || effect >= SOUND_EFFECT_COUNT)
        return;
    mixer.samples[effect] = samples;
    mixer.length[effect] = samples ? length : 0;
}

// The free voice, or else the one that has played longest.
static MixerVoice *mixerFreeVoice(void)
{
    MixerVoice *oldest = &mixer.voice[0];
    for (MixerVoice &voice : mixer.voice) {
        if (voice.effect < 0)
            return &voice;
        if (voice.started < oldest->started)
            oldest = &voice;
    }
    return oldest;
}

void mixerStart(int effect)
{
    if (effect < 0 || effect >= SOUND_EFFECT_COUNT || mixer.length[effect] <= 0)
        return;
    MixerVoice *voice = mixerFreeVoice();
    voice->effect = effect;
    voice->position = 0;
    voice->started = ++mixer.starts;
}

void mixerSetTune(const Tune *tune)
{
    if (tune == mixer.tune)
        return;
    mixer.tune = tune;
    memset(&mixer.player, 0, sizeof mixer.player);
    for (int v = 0; v < TUNE_VOICES; v++) {
        mixer.player.note[v] = TUNE_REST;
        mixer.player.noise[v] = 1;
    }
    mixer.player.sampleInStep = -1; // the first sample starts step 0
    if (tune && tune->stepsPerMinute > 0) {
        mixer.player.samplesPerStep = mixer.rate * 60 / tune->stepsPerMinute;
        mixer.player.fadeSamples = NOTE_FADE_STEPS * mixer.player.samplesPerStep;
    }
}

void mixerSetVolume(int volume)
{
    mixer.volume = volume < 0 ? 0 : volume > SOUND_VOLUME_MAX ? SOUND_VOLUME_MAX : volume;
}

int64_t mixerNoteMilliHz(int note)
{
    // The twelve semitones of the octave that holds 440 Hz (A is note 69), in milliHz.
    static const int64_t OCTAVE4[12] = {261626, 277183, 293665, 311127, 329628, 349228,
                                        369994, 391995, 415305, 440000, 466164, 493883};
    const int octave = note / 12 - 5;
    const int64_t base = OCTAVE4[note % 12];
    return octave >= 0 ? base << octave : base >> -octave;
}

// One effect voice's next sample, 16-bit; frees the voice at its end.
static int mixerEffectSample(MixerVoice *voice)
{
    const int index = (int)(voice->position >> 16);
    if (index >= mixer.length[voice->effect]) {
        voice->effect = -1;
        return 0;
    }
    voice->position += mixer.effectStep;
    return (mixer.samples[voice->effect][index] - SOUND_SILENCE) * SAMPLE_SCALE;
}

// Moves the tune on to its next step when the current one is over.
static void tuneAdvance(const Tune *tune, TunePlayer *player)
{
    if (player->sampleInStep >= 0 && ++player->sampleInStep < player->samplesPerStep)
        return;
    player->step = player->sampleInStep < 0 ? 0 : player->step + 1;
    player->sampleInStep = 0;
    for (int v = 0; v < tune->voices; v++) {
        const TuneVoice &voice = tune->voice[v];
        const int note = voice.note[player->step % voice.steps];
        if (note == TUNE_HOLD)
            continue;
        player->note[v] = note;
        player->samplesInNote[v] = 0;
        player->phase[v] = 0;
        player->phaseStep[v] = note == TUNE_REST ? 0 : synthPhaseStep(mixerNoteMilliHz(note), mixer.rate);
    }
}

// The tune's next sample, 16-bit, before its share and the volume.
static int tuneSample(const Tune *tune, TunePlayer *player)
{
    tuneAdvance(tune, player);
    const int fadeSamples = player->fadeSamples;
    int sum = 0;
    for (int v = 0; v < tune->voices; v++) {
        if (player->note[v] == TUNE_REST)
            continue;
        const int into = player->samplesInNote[v]++;
        const int gain = into >= fadeSamples ? NOTE_FLOOR
                                             : ENVELOPE_FULL - (ENVELOPE_FULL - NOTE_FLOOR) * into / fadeSamples;
        const uint32_t oldPhase = player->phase[v];
        const int value = synthWaveValue(tune->voice[v].wave, oldPhase, &player->noise[v]);
        player->phase[v] += player->phaseStep[v];
        synthTurnNoise(oldPhase, player->phase[v], &player->noise[v]);
        sum += (value * SAMPLE_SCALE) * gain / ENVELOPE_FULL * tune->voice[v].volume / 100;
    }
    return sum;
}

static int16_t mixerClip(int sample)
{
    return (int16_t)(sample > INT16_MAX ? INT16_MAX : sample < INT16_MIN ? INT16_MIN : sample);
}

void mixerFill(int16_t *out, int frames)
{
    for (int i = 0; i < frames; i++) {
        int sum = 0;
        for (MixerVoice &voice : mixer.voice)
            if (voice.effect >= 0)
                sum += mixerEffectSample(&voice);
        if (mixer.tune && mixer.tune->voices > 0 && mixer.tune->stepsPerMinute > 0)
            sum += tuneSample(mixer.tune, &mixer.player) * TUNE_SHARE / ENVELOPE_FULL;
        out[i] = mixerClip(sum * mixer.volume / SOUND_VOLUME_MAX);
    }
}
