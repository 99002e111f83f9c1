#include "audio.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include "fileio.h"
#include "global.h"
#include "mixer.h"
#include "sound.h"

// CD-quality mono, in buffers of 512 samples: about 12 ms, so an effect
// starts within a frame or two of its request.
static const int AUDIO_RATE = 44100;
static const int AUDIO_BUFFER_SAMPLES = 512;
static const char TITLE_TUNE[] = "data/sfx/title.tune";
static const char PLAY_TUNE[] = "data/sfx/moor.tune";

static int audioOpened = 0;
static int audioTried = 0;
static unsigned char *audioEffects[SOUND_EFFECT_COUNT];
static Tune titleTune;
static Tune playTune;

#ifdef __EMSCRIPTEN__
// In a browser SDL has no sound: the page plays the mix through WebAudio,
// asking for each buffer as it needs it, on the game's own thread.
static int16_t audioPageBuffer[4096];

extern "C" EMSCRIPTEN_KEEPALIVE int16_t *audioMixForPage(int frames)
{
    if (frames < 0 || frames > (int)(sizeof audioPageBuffer / sizeof audioPageBuffer[0]))
        frames = 0;
    mixerFill(audioPageBuffer, frames);
    return audioPageBuffer;
}

// 0 when the page can play sound at rate.
static int audioOpenDevice(void)
{
    const int opened = EM_ASM_INT({ return Module.openSound ? Module.openSound($0) : 0; }, AUDIO_RATE);
    if (!opened)
        SDL_SetError("this browser has no WebAudio");
    return opened ? 0 : 1;
}
#else
// Runs on SDL's audio thread with the device's lock held.
static void audioCallback(void *, Uint8 *stream, int bytes)
{
    mixerFill(reinterpret_cast<int16_t *>(stream), bytes / (int)sizeof(int16_t));
}

// A run without a display (SDL's dummy video: the tests, a server) has no
// one to listen, and probing the sound hardware there only fills the
// terminal with the sound library's complaints; such a run opens sound only
// when SDL_AUDIODRIVER names a driver.
static int audioHasListener(void)
{
    char driver[32];
    if (SDL_getenv("SDL_AUDIODRIVER"))
        return 1;
    return !(SDL_VideoDriverName(driver, sizeof driver) && strcmp(driver, "dummy") == 0);
}

// 0 when SDL opened a device at AUDIO_RATE.
static int audioOpenDevice(void)
{
    if (!audioHasListener()) {
        SDL_SetError("no display to play to (SDL_AUDIODRIVER chooses a sound driver)");
        return 1;
    }
    SDL_AudioSpec wanted = {};
    wanted.freq = AUDIO_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = AUDIO_BUFFER_SAMPLES;
    wanted.callback = audioCallback;
    // Asking for no obtained format makes SDL convert to the device's own.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || SDL_OpenAudio(&wanted, nullptr) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 1;
    }
    return 0;
}
#endif

// Opens the device and loads what it plays; once only.
static void audioOpen(void)
{
    audioTried = 1;
    if (audioOpenDevice() != 0) {
        printf("Sound is off: %s\n", SDL_GetError());
        return;
    }
    mixerSetVolume(soundVolume);
    audioOpened = 1;
    SDL_PauseAudio(0);
}

// The effects and tunes are read at start even when the volume is 0, so that
// raising it later opens the device without loading anything in a frame.
void audioStart(void)
{
    // Without a data folder the game says where to start it, and that is all it says.
    struct stat data;
    if (stat("data", &data) != 0 || !S_ISDIR(data.st_mode))
        return;
    soundVolume = loadSoundVolume(SOUND_VOLUME_FILE);
    mixerReset(AUDIO_RATE);
    soundLoadEffects(audioEffects);
    loadTune(TITLE_TUNE, &titleTune);
    loadTune(PLAY_TUNE, &playTune);
    if (soundVolume > 0)
        audioOpen();
}

// The tune of a mode: the moor's while a level is played, the title's on the
// front screens, none while building a level.
static const Tune *audioTuneFor(int mode)
{
    if (mode == MODE_INGAME)
        return &playTune;
    if (mode == MODE_EDITOR || mode == MODE_EXIT)
        return nullptr;
    return &titleTune;
}

void audioDeliver(void)
{
    SoundEffect requests[SOUND_EFFECT_COUNT * 2];
    if (!audioOpened && soundVolume > 0 && !audioTried)
        audioOpen();
    const int count = soundTakeRequests(requests, (int)(sizeof requests / sizeof requests[0]));
    if (!audioOpened)
        return;
    SDL_LockAudio();
    for (int i = 0; i < count; i++)
        mixerStart(requests[i]);
    mixerSetTune(audioTuneFor(gameMode));
    mixerSetVolume(soundVolume);
    SDL_UnlockAudio();
}

void audioStop(void)
{
    if (audioOpened) {
#ifdef __EMSCRIPTEN__
        EM_ASM({ if (Module.closeSound) Module.closeSound(); });
#else
        SDL_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
#endif
    }
    // Nothing may mix the effects once they are freed.
    mixerReset(AUDIO_RATE);
    for (unsigned char *&effect : audioEffects) {
        free(effect);
        effect = nullptr;
    }
    audioOpened = audioTried = 0;
}

int audioIsOpen(void)
{
    return audioOpened;
}
