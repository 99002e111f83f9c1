// What the game asks to hear. The logic only posts requests, in step order;
// the audio layer takes them once a frame and plays them if it can. Nothing
// the logic reads depends on whether, or how, anything was heard.
#pragma once

enum SoundEffect {
    SOUND_JUMP,
    SOUND_STOMP,
    SOUND_PICKUP,
    SOUND_THROW,
    SOUND_KNOCK_OUT,
    SOUND_HURT,
    SOUND_HAZARD,
    SOUND_KEY,
    SOUND_DOOR,
    SOUND_GAME_OVER,
    SOUND_SPLASH,
    SOUND_MENU_MOVE,
    SOUND_MENU_CHOOSE,
    SOUND_PLACE,
    SOUND_UNDO,
    SOUND_EFFECT_COUNT
};
// Each effect's file name under data/sfx/, without ".wav".
extern const char *const SOUND_EFFECT_NAMES[SOUND_EFFECT_COUNT];

// The file that keeps the sound volume, and the volume a player starts with.
#define SOUND_VOLUME_FILE "data/volume.txt"
const int SOUND_VOLUME_DEFAULT = 6;

// The sound volume, 0 (silent) ... SOUND_VOLUME_MAX (mixer.h).
extern int soundVolume;

// Posts a request; when a frame's requests overflow the queue the rest are dropped.
void soundPlay(SoundEffect effect);

// Moves up to max waiting requests into out, oldest first; returns how many.
int soundTakeRequests(SoundEffect *out, int max);

// Sets the volume (kept within its range), saves it, and lets the change be heard.
void soundChangeVolume(int step);

// Loads every effect's WAV from data/sfx/ into effects and hands it to the
// mixer; says in one line which could not be read (those stay silent).
void soundLoadEffects(unsigned char *effects[SOUND_EFFECT_COUNT]);

// Forgets waiting requests; the volume goes back to the default.
void soundReset(void);
