#include "sound.h"

#include <cstdio>

#include "fileio.h"
#include "mixer.h"

const char *const SOUND_EFFECT_NAMES[SOUND_EFFECT_COUNT] = {
    "jump", "stomp",     "pickup", "throw",       "knockout", "hurt",  "hazard", "key",
    "door", "game_over", "splash", "menu_move",  "menu_choose", "place", "undo"};

int soundVolume = SOUND_VOLUME_DEFAULT;

// A frame posts a handful at most; a burst beyond this is not worth hearing.
static const int SOUND_QUEUE_SIZE = 32;
static SoundEffect soundQueue[SOUND_QUEUE_SIZE];
static int soundQueued = 0;

void soundPlay(SoundEffect effect)
{
    if (soundQueued < SOUND_QUEUE_SIZE)
        soundQueue[soundQueued++] = effect;
}

int soundTakeRequests(SoundEffect *out, int max)
{
    const int taken = soundQueued < max ? soundQueued : max;
    for (int i = 0; i < taken; i++)
        out[i] = soundQueue[i];
    for (int i = taken; i < soundQueued; i++)
        soundQueue[i - taken] = soundQueue[i];
    soundQueued -= taken;
    return taken;
}

void soundChangeVolume(int step)
{
    int volume = soundVolume + step;
    volume = volume < 0 ? 0 : volume > SOUND_VOLUME_MAX ? SOUND_VOLUME_MAX : volume;
    if (volume == soundVolume)
        return;
    soundVolume = volume;
    saveSoundVolume(SOUND_VOLUME_FILE, soundVolume);
    soundPlay(SOUND_MENU_MOVE);
}

void soundLoadEffects(unsigned char *effects[SOUND_EFFECT_COUNT])
{
    int missing = 0;
    const char *firstMissing = "";
    for (int e = 0; e < SOUND_EFFECT_COUNT; e++) {
        char path[64];
        snprintf(path, sizeof path, "data/sfx/%s.wav", SOUND_EFFECT_NAMES[e]);
        int length = 0;
        effects[e] = loadSoundWav(path, &length);
        mixerSetEffect(e, effects[e], length);
        if (!effects[e] && missing++ == 0)
            firstMissing = SOUND_EFFECT_NAMES[e];
    }
    if (missing > 0)
        printf("Sound: %d of the effects in data/sfx/ are missing or not 8-bit mono %d Hz WAVs (%s.wav first); "
               "those stay silent\n",
               missing, SOUND_RATE, firstMissing);
}

void soundReset(void)
{
    soundQueued = 0;
    soundVolume = SOUND_VOLUME_DEFAULT;
}
