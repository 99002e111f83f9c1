// Mixing: one second of output at 44.1 kHz in the device's 512-sample
// buffers, with the moor's tune playing and four effects sounding
// throughout (each started again as it ends), more than play ever asks. The
// share of one core mixing costs is this time over one second.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "fileio.h"
#include "mixer.h"
#include "sound.h"

namespace {

void BM_mixOneSecond(benchmark::State &state)
{
    const int rate = 44100, buffer = 512;
    static Tune tune;
    static unsigned char *effects[SOUND_EFFECT_COUNT];
    mixerReset(rate);
    soundLoadEffects(effects);
    loadTune("data/sfx/moor.tune", &tune);
    mixerSetTune(&tune);
    static int16_t out[512];
    for (auto _ : state) {
        for (int done = 0; done < rate; done += buffer) {
            // Restarting a few effects every buffer keeps four voices busy.
            for (int e : {SOUND_JUMP, SOUND_SPLASH, SOUND_KEY, SOUND_GAME_OVER})
                if (done % (buffer * 8) == 0)
                    mixerStart(e);
            mixerFill(out, buffer);
        }
        benchmark::DoNotOptimize(out);
    }
    for (unsigned char *effect : effects)
        free(effect);
}

} // namespace

BENCHMARK(BM_mixOneSecond)->Unit(benchmark::kMicrosecond);
