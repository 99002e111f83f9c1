// Loading, for reference: map01 (grids, tileset, enemies with their sheets
// and definitions, collision masks) followed by its release, the settings
// file, and entering the title with every shipped level reached.
#include <benchmark/benchmark.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "bench_world.h"
#include "campaign.h"
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

// Entering the title follows the chain of levels through their headers and
// reads the progress file: here a player who has won the first four of the
// five shipped levels, so every one is reached. The title is entered in a
// scratch folder whose data/maps is the shipped one, so no progress file of
// the repository's is read or written.
void BM_titleEntry(benchmark::State &state)
{
    benchWorldOpen();
    char home[PATH_MAX];
    char scratch[] = "/tmp/kettlemoor-bench-XXXXXX";
    if (!getcwd(home, sizeof home) || !mkdtemp(scratch)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string data = std::string(scratch) + "/data";
    const char *const won[] = {"map01.map", "map02.map", "map03.map", "map04.map"};
    benchQuietBegin();
    if (mkdir(data.c_str(), 0700) != 0 || symlink((std::string(home) + "/data/maps").c_str(), (data + "/maps").c_str()) != 0 ||
        saveProgress((data + "/progress.txt").c_str(), won, 4) != 0 || chdir(scratch) != 0) {
        benchQuietEnd();
        state.SkipWithError("could not make the scratch data folder");
        return;
    }
    for (auto _ : state) {
        campaignReset();
        campaignTitleStart();
    }
    state.SetLabel(campaignTitleLine());
    campaignReset();
    if (chdir(home) != 0)
        state.SkipWithError("could not return to the repository");
    benchQuietEnd();
    const std::string remove = std::string("rm -rf '") + scratch + "'";
    if (system(remove.c_str()) != 0)
        state.SkipWithError("could not remove the scratch folder");
}

} // namespace

BENCHMARK(BM_titleEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_loadMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_loadConfig)->Unit(benchmark::kMicrosecond);
