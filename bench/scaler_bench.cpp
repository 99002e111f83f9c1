// Per-frame scaling of the 160x120 logical screen: the word scalers at 2
// and 4 against SDL_SoftStretch of the same surfaces, and against memcpy of
// a display-sized frame (the least any scaler must write).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include <SDL.h>

#include "scaler.h"
#include "sdlmain.h"

namespace {

const int LOGICAL_WIDTH = 160;
const int LOGICAL_HEIGHT = 120;

// A logical screen with a pattern, and a display surface factor times larger,
// both in the game's 16-bit layout.
struct Frame {
    SDL_Surface *from;
    SDL_Surface *to;
    explicit Frame(int factor)
    {
        screenWidth = LOGICAL_WIDTH;
        screenHeight = LOGICAL_HEIGHT;
        from = SDL_CreateRGBSurface(0, LOGICAL_WIDTH, LOGICAL_HEIGHT, 16, 0, 0, 0, 0);
        to = SDL_CreateRGBSurface(0, LOGICAL_WIDTH * factor, LOGICAL_HEIGHT * factor, 16, 0, 0,
                                  0, 0);
        uint16_t *p = (uint16_t *)from->pixels;
        for (int i = 0; i < LOGICAL_WIDTH * LOGICAL_HEIGHT; i++)
            p[i] = (uint16_t)(i * 2654435761u >> 16);
    }
    ~Frame()
    {
        SDL_FreeSurface(from);
        SDL_FreeSurface(to);
    }
    size_t displayBytes() const { return (size_t)to->pitch * to->h; }
};

void BM_upscale2(benchmark::State &state)
{
    Frame f(2);
    for (auto _ : state) {
        upscale2((uint32_t *)f.to->pixels, (uint32_t *)f.from->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)f.displayBytes());
}

void BM_upscale4(benchmark::State &state)
{
    Frame f(4);
    for (auto _ : state) {
        upscale4((uint32_t *)f.to->pixels, (uint32_t *)f.from->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)f.displayBytes());
}

// The general scaler at the same factors, for comparison.
void BM_upscaleAny(benchmark::State &state)
{
    const int factor = (int)state.range(0);
    Frame f(factor);
    for (auto _ : state) {
        upscaleAny((uint16_t *)f.to->pixels, f.to->pitch, (const uint16_t *)f.from->pixels,
                   f.from->pitch, LOGICAL_WIDTH, LOGICAL_HEIGHT, factor);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)f.displayBytes());
}

void BM_SDL_SoftStretch(benchmark::State &state)
{
    Frame f((int)state.range(0));
    for (auto _ : state) {
        SDL_SoftStretch(f.from, nullptr, f.to, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)f.displayBytes());
}

void BM_memcpy(benchmark::State &state)
{
    Frame f((int)state.range(0));
    std::vector<char> source(f.displayBytes(), 1);
    for (auto _ : state) {
        memcpy(f.to->pixels, source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)f.displayBytes());
}

} // namespace

BENCHMARK(BM_upscale2);
BENCHMARK(BM_SDL_SoftStretch)->Arg(2);
BENCHMARK(BM_memcpy)->Arg(2);
BENCHMARK(BM_upscaleAny)->Arg(2);
BENCHMARK(BM_upscale4);
BENCHMARK(BM_SDL_SoftStretch)->Arg(4);
BENCHMARK(BM_memcpy)->Arg(4);
BENCHMARK(BM_upscaleAny)->Arg(4);
BENCHMARK(BM_upscaleAny)->Arg(3);

BENCHMARK_MAIN();
