// Tile collision on map01: one checkCollision call for a player-sized box at
// places all over the level, and all the tests of one logic step together
// (the player's and every active enemy's vertical and horizontal move).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench_world.h"
#include "collision.h"
#include "enemy.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "player.h"

namespace {

// Places tried in turn, spread over the level with a fixed seed.
const int PLACES = 4096;
// Steps played before a step's tests are measured.
const int WARM_UP_STEPS = 150;

struct Place {
    int x;
    int y;
};

// Whole-pixel places where a creature's box lies inside the level.
std::vector<Place> placesInLevel(const Creature &c)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> xs(0, curLvl.layer0.w * TILE_SIZE - c.w);
    std::uniform_int_distribution<int> ys(0, curLvl.layer0.h * TILE_SIZE - c.h);
    std::vector<Place> places(PLACES);
    for (Place &p : places)
        p = {xs(random), ys(random)};
    return places;
}

// One call, for the player's box at a different place each time.
void BM_checkCollision(benchmark::State &state)
{
    benchWorldStartGame();
    const std::vector<Place> places = placesInLevel(player);
    size_t i = 0;
    unsigned int flags = 0;
    for (auto _ : state) {
        const Place &p = places[i];
        flags |= checkCollision(p.x, p.y, &player);
        i = (i + 1) % places.size();
    }
    benchmark::DoNotOptimize(flags);
}

// The two tests a creature's move makes in a step: the vertical one at the
// old column and the horizontal one at the old row.
unsigned int moveTests(Creature *c)
{
    const int x = (int)floorf(c->x);
    const int y = (int)floorf(c->y);
    return checkCollision(x, (int)floorf(c->y + c->vy), c) | checkCollision((int)floorf(c->x + c->vx), y, c);
}

// 1 when a step would move this enemy: near the camera, or every enemy when
// the worst case is asked for.
bool movesThisStep(Enemy *enemy, bool everyEnemy)
{
    return everyEnemy || !isEnemyTooFarAway(enemy);
}

// Every test of one logic step, in a game a few seconds old: the player's and
// those of the enemies near the camera (the ones the step updates) with
// argument 0; the player's and every enemy's of the level, as if all were
// near, with argument 1.
void BM_stepCollisions(benchmark::State &state)
{
    const bool everyEnemy = state.range(0) != 0;
    benchWorldStartGame();
    for (int i = 0; i < WARM_UP_STEPS; i++) {
        benchWorldSteer(i);
        mainStep();
    }
    int movers = 1;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        if (movesThisStep(&node->mob, everyEnemy))
            movers++;
    unsigned int flags = 0;
    for (auto _ : state) {
        flags |= moveTests(&player);
        for (EnemyList *node = EnemyListHead; node; node = node->next)
            if (movesThisStep(&node->mob, everyEnemy))
                flags |= moveTests(&node->mob.creature);
    }
    benchmark::DoNotOptimize(flags);
    state.counters["calls/step"] = 2.0 * movers;
}

} // namespace

BENCHMARK(BM_checkCollision);
BENCHMARK(BM_stepCollisions)->Arg(0)->Arg(1);
