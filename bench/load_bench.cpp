// Loading, for reference: map01 (grids, tileset, enemies with their sheets
// and definitions, collision masks) followed by its release, and the
// settings file.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "enemy.h"
#include "fileio.h"
#include "map.h"

namespace {

void BM_loadMap(benchmark::State &state)
{
    benchWorldOpen();
    freeMap();
    benchQuietBegin();
    for (auto _ : state) {
        loadMap("./data/maps/map01.map");
        freeMap();
    }
    // The enemies stay until the next level's are read; release the last ones.
    enemyReset();
    benchQuietEnd();
}

void BM_loadConfig(benchmark::State &state)
{
    benchWorldOpen();
    for (auto _ : state)
        loadConfig("./data/config.cfg");
}

} // namespace

BENCHMARK(BM_loadMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_loadConfig)->Unit(benchmark::kMicrosecond);
