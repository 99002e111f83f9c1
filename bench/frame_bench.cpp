// One in-game frame on map01, as the main loop runs it: a logic step (input,
// player, camera, enemies) and the drawing of the frame with its scaling to
// the display. Then the frame's parts on their own: the logic step, the
// background, the tile map, the creatures, the text and life bar, and the
// scaling with presentation. The player runs right and jumps, so the camera
// scrolls and the view is rarely tile-aligned.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "alloc_count.h"
#include "bench_world.h"
#include "camera.h"
#include "draw.h"
#include "enemy.h"
#include "global.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "timer.h"

namespace {

// Steps after which a fresh game starts, so that every stretch measured is
// the opening ten seconds of map01, with the player alive.
const int RESTART_STEPS = 600;
// Steps played before a part is measured, so that the camera has left the start.
const int PARTS_WARM_UP_STEPS = 150;

// Runs n steered logic steps of the current game.
void playSteps(int n)
{
    for (int i = 0; i < n; i++) {
        benchWorldSteer(i);
        mainStep();
    }
}

// A fresh game of map01 played for a few seconds, with its frame drawn.
void startPartsGame(void)
{
    benchWorldStartGame();
    playSteps(PARTS_WARM_UP_STEPS);
    draw();
}

// Restarts the game, with the clock stopped, when the stretch is over or the
// game has left the in-game mode.
void restartWhenDue(benchmark::State &state, int *step)
{
    if (*step < RESTART_STEPS && newGameMode == MODE_INGAME)
        return;
    state.PauseTiming();
    benchWorldStartGame();
    *step = 0;
    state.ResumeTiming();
}

// The whole frame: one step of logic, then draw() with the scaling and the
// (dummy) presentation. Also counts the heap allocations made in it.
void BM_inGameFrame(benchmark::State &state)
{
    benchWorldStartGame();
    int step = 0;
    long allocations = 0;
    for (auto _ : state) {
        restartWhenDue(state, &step);
        benchWorldSteer(step++);
        const long before = allocCount();
        mainStepAndDraw();
        allocations += allocCount() - before;
    }
    state.counters["allocs/frame"] = benchmark::Counter((double)allocations, benchmark::Counter::kAvgIterations);
}

// One logic step: input, player, pause keys, camera, enemies.
void BM_logicStep(benchmark::State &state)
{
    benchWorldStartGame();
    int step = 0;
    for (auto _ : state) {
        restartWhenDue(state, &step);
        benchWorldSteer(step++);
        mainStep();
    }
}

// The drawn frame alone, without the logic: draw() as the main loop calls it.
void BM_drawFrame(benchmark::State &state)
{
    startPartsGame();
    for (auto _ : state)
        draw();
}

// Clearing the logical screen.
void BM_dBackground(benchmark::State &state)
{
    startPartsGame();
    for (auto _ : state)
        dBackground();
}

// The visible tiles of layer 0.
void BM_dMap(benchmark::State &state)
{
    startPartsGame();
    state.counters["camera.x%16"] = (double)(camera.x % TILE_SIZE);
    state.counters["camera.y%16"] = (double)(camera.y % TILE_SIZE);
    for (auto _ : state)
        dMap();
}

// The player and every enemy, drawn and animated.
void BM_creatures(benchmark::State &state)
{
    startPartsGame();
    int enemies = 0;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        enemies++;
    state.counters["enemies"] = enemies;
    for (auto _ : state) {
        playerDraw();
        enemyDrawAll();
    }
}

// The life bar and the frame counter's text, as every in-game frame has them.
void BM_text(benchmark::State &state)
{
    startPartsGame();
    for (auto _ : state) {
        dLifebar(1, 1, player.hp);
        char fpsStr[10];
        snprintf(fpsStr, sizeof fpsStr, "%d/%d", countFps(1000), framesPerSecond);
        dText(fpsStr, screenWidth - 30, 1);
    }
}

// Scaling the logical screen into the display and presenting it (flip()).
void BM_scaleAndPresent(benchmark::State &state)
{
    startPartsGame();
    for (auto _ : state)
        flip();
}

} // namespace

BENCHMARK(BM_inGameFrame);
BENCHMARK(BM_logicStep);
BENCHMARK(BM_drawFrame);
BENCHMARK(BM_dBackground);
BENCHMARK(BM_dMap);
BENCHMARK(BM_creatures);
BENCHMARK(BM_text);
BENCHMARK(BM_scaleAndPresent);
