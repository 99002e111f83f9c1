// The sound tool: turns an effect's text source under assets/sfx/ into the
// WAV the game plays (tools/make-art.sh runs it for every source).
//
//   sfxmaker SOURCE.txt OUT.wav
#include <cstdio>

#include "fileio.h"
#include "synth.h"

// More tones than any effect needs; each is at least a millisecond.
static const int MAX_TONES = 64;

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s SOURCE.txt OUT.wav\n", argv[0]);
        return 2;
    }
    static SynthTone tones[MAX_TONES];
    static unsigned char samples[SOUND_MAX_SAMPLES];
    int count = 0;
    if (loadSoundEffect(argv[1], tones, MAX_TONES, &count) != 0)
        return 1;
    const int length = synthRender(tones, count, samples, SOUND_MAX_SAMPLES);
    return saveSoundWav(argv[2], samples, length) == 0 ? 0 : 1;
}
