// Every text the game draws must stand out from whatever lies beneath it, on
// the real screens of the shipped levels, at 160x120 and at 320x240: paused
// at many places along each level's winning route, lost at several, the title
// and the menu pages over the scrolling demo moor, the remapping prompt, and
// the editor's tile number and marker over ground. A level counts as shipped
// when tests/routes/LEVEL_win.replay wins data/maps/LEVEL.map.
#include <gtest/gtest.h>

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

#include "animation.h"
#include "camera.h"
#include "draw.h"
#include "editor.h"
#include "enemy.h"
#include "fileio.h"
#include "input.h"
#include "logic.h"
#include "main.h"
#include "map.h"
#include "menu.h"
#include "player.h"
#include "sdl_events.h"
#include "sdldraw.h"
#include "sdlmain.h"
#include "test_util.h"
#include "timer.h"

namespace {

// Ink and every pixel touching it must differ by this much luminance (0-255).
// The palette's two darkest greens, 38 apart, run together in a 3-pixel
// stroke; the darkest and the mid green, 61 apart, do not.
const int MIN_CONTRAST = 48;
// At least this share of the pixels around the editor's marker must stand
// out from it, so that the marked cell shows wherever it is.
const double MARKER_RING_SHARE = 0.75;
const int PAUSES_PER_ROUTE = 12;
const int DEATHS_PER_ROUTE = 4;
const int MARKER_CELLS_PER_LEVEL = 8;
// Ground tiles (corners, grass tops, edges and fill) are the tileset's first 25.
const int GROUND_FIRST = 1;
const int GROUND_LAST = 25;
// Pixels the title's scroll advances between two checked frames.
const int SCROLL_STRIDE = 8;
// Steps a falling player may take to leave the level before the game is lost.
const int MAX_DYING_STEPS = 1200;
const char *const BUTTONS[] = {"UP", "DOWN", "LEFT", "RIGHT", "ACTION", "JUMP", "OK", "BACK", "MENU"};
const char *const ROUTES_DIR = "tests/routes";
const char *const ROUTE_SUFFIX = "_win.replay";

struct Press {
    int step;
    int down;
    int button;
};

struct Level {
    std::string name;
    std::string map;
    std::vector<Press> route;
};

void routeLine(char **words, int n, void *ctx)
{
    if (n != 3)
        return; // comments, blank lines and "end"
    for (int b = 0; b < (int)(sizeof BUTTONS / sizeof *BUTTONS); b++)
        if (strcmp(words[2], BUTTONS[b]) == 0)
            static_cast<std::vector<Press> *>(ctx)->push_back({atoi(words[0]), strcmp(words[1], "press") == 0, b});
}

// Every level with a winning route, in name order.
std::vector<Level> shippedLevels()
{
    std::vector<Level> levels;
    DIR *dir = opendir(ROUTES_DIR);
    if (!dir)
        return levels;
    const size_t suffix = strlen(ROUTE_SUFFIX);
    for (dirent *e; (e = readdir(dir));) {
        const std::string file = e->d_name;
        if (file.size() <= suffix || file.compare(file.size() - suffix, suffix, ROUTE_SUFFIX) != 0)
            continue;
        Level level;
        level.name = file.substr(0, file.size() - suffix);
        level.map = "data/maps/" + level.name + ".map";
        if (!fileExists(level.map))
            continue;
        readWordLines((std::string(ROUTES_DIR) + "/" + file).c_str(), routeLine, &level.route);
        std::stable_sort(level.route.begin(), level.route.end(),
                         [](const Press &a, const Press &b) { return a.step < b.step; });
        levels.push_back(level);
    }
    closedir(dir);
    std::sort(levels.begin(), levels.end(), [](const Level &a, const Level &b) { return a.name < b.name; });
    return levels;
}

int luminance(SDL_Surface *s, Uint32 pixel)
{
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (299 * r + 587 * g + 114 * b) / 1000;
}

int screenLuminance(int x, int y) { return luminance(screen, getPixel(screen, x, y)); }

bool onScreen(int x, int y) { return x >= 0 && y >= 0 && x < screenWidth && y < screenHeight; }

// A glyph's ink: the pixels of its cell in the darkest colour it uses.
std::vector<bool> glyphInk(unsigned char c, int *inkLuminance)
{
    const SDL_Rect &cell = fontClip[c];
    std::vector<bool> ink(cell.w * cell.h, false);
    *inkLuminance = 256;
    for (int pass = 0; pass < 2; pass++)
        for (int j = 0; j < cell.h; j++)
            for (int i = 0; i < cell.w; i++) {
                const Uint32 p = getPixel(fontIMG, cell.x + i, cell.y + j);
                if (p == fontIMG->format->colorkey)
                    continue;
                const int l = luminance(fontIMG, p);
                if (pass == 0)
                    *inkLuminance = std::min(*inkLuminance, l);
                else
                    ink[j * cell.w + i] = l == *inkLuminance;
            }
    return ink;
}

// What keeps the one-line text drawn from (x, y) from reading, or "": a glyph
// missing where it belongs, or ink touching a pixel too close to it in tone.
std::string illegible(const std::string &text, int x, int y)
{
    for (size_t k = 0; k < text.size(); k++) {
        const unsigned char c = text[k];
        const SDL_Rect &cell = fontClip[c];
        const int left = x + 6 * (int)k;
        int inkLum;
        const std::vector<bool> ink = glyphInk(c, &inkLum);
        auto isInk = [&](int sx, int sy) {
            const int i = sx - left, j = sy - y;
            return i >= 0 && j >= 0 && i < cell.w && j < cell.h && ink[j * cell.w + i];
        };
        for (int j = 0; j < cell.h; j++)
            for (int i = 0; i < cell.w; i++) {
                const int sx = left + i, sy = y + j;
                if (!isInk(sx, sy) || !onScreen(sx, sy))
                    continue;
                const std::string where = "'" + std::string(1, c) + "' of \"" + text + "\" at " +
                                          std::to_string(sx) + "," + std::to_string(sy);
                if (screenLuminance(sx, sy) != inkLum)
                    return where + " is not drawn";
                const int around[4][2] = {{sx - 1, sy}, {sx + 1, sy}, {sx, sy - 1}, {sx, sy + 1}};
                for (const auto &n : around)
                    if (onScreen(n[0], n[1]) && !isInk(n[0], n[1]) &&
                        std::abs(screenLuminance(n[0], n[1]) - inkLum) < MIN_CONTRAST)
                        return where + " runs into what lies beside it";
            }
    }
    return "";
}

// The text centred horizontally with its top at y, as dTextCentered draws it.
std::string illegibleCentred(const std::string &text, int y)
{
    return illegible(text, screenWidth / 2 - 3 * (int)text.size(), y);
}

// The editor's marker, filled at (x, y), stands out from the ring around it.
bool markerShows(int x, int y)
{
    const Uint32 fill = getPixel(screen, x, y);
    int ring = 0, apart = 0;
    for (int i = -1; i <= 16; i++)
        for (int j = -1; j <= 16; j++) {
            const bool edge = i == -1 || i == 16 || j == -1 || j == 16;
            if (!edge || !onScreen(x + i, y + j))
                continue;
            ring++;
            apart += std::abs(screenLuminance(x + i, y + j) - luminance(screen, fill)) >= MIN_CONTRAST;
        }
    return apart >= MARKER_RING_SHARE * ring;
}

class Legibility : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    std::vector<std::string> faults;
    int pausesSeen = 0;

    void SetUp() override
    {
        screenWidth = GetParam().first;
        screenHeight = GetParam().second;
        scale = 1;
        ASSERT_EQ(initSDL(), 0);
        startEventQueue();
        ASSERT_EQ(loadConfig("./data/config.cfg"), 0);
        fontIMG = loadImage("./data/gfx/font02.bmp");
        ASSERT_NE(fontIMG, nullptr);
        clipImage(fontClip, 5, 7, 16, 255);
        timerFreezeTicks(0); // the frame counter reads "0/60"
    }

    void TearDown() override
    {
        leaveMode();
        freeAnim(&player.animation);
        for (SDL_Surface **img : {&fontIMG, &gameLogoIMG, &lifebarIMG})
            freeImage(img);
        cleanSDL();
        free(mapFile);
        mapFile = nullptr;
        timerReleaseTicks();
        countFpsReset();
        memset(keyMapping, 0, sizeof keyMapping);
        gameMode = newGameMode = MODE_EXIT;
        menuInited = menuState = remapCurKey = drawTitle = drawTitleNextTurn = 0;
        editorMode = markerBlinkTime = markerDraw = markerWaitMoveTime = 0;
        curMenu = nullptr;
        marker = {0, 0, 16, 16};
        screenWidth = 160;
        screenHeight = 120;
        scale = 2;
    }

    // Forgets the level, the creatures, the presses and every mode's start.
    static void leaveMode()
    {
        freeMap();
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
        logicReset();
        memset(&keyPress, 0, sizeof keyPress);
        ingameState = 0;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    static void step()
    {
        input();
        logic();
        if (gameMode == newGameMode)
            draw();
    }

    void expectLegible(const std::string &fault, const std::string &where)
    {
        if (!fault.empty())
            faults.push_back(where + ": " + fault);
    }

    void expectCounterLegible(const std::string &where)
    {
        expectLegible(illegible("0/60", screenWidth - 30, 1), where + ", frame counter");
    }

    // Plays the route from a fresh start up to and including step last, one
    // event per step as the game takes them; returns the steps played, fewer
    // when the game ended first.
    static int playRoute(const Level &level, int last)
    {
        leaveMode();
        free(mapFile);
        mapFile = strdup(level.map.c_str());
        newGameMode = MODE_INGAME;
        size_t next = 0;
        for (int s = 1; s <= last; s++) {
            if (next < level.route.size() && level.route[next].step <= s) {
                pushKey(level.route[next].down ? SDL_KEYDOWN : SDL_KEYUP,
                        (SDLKey)keyMapping[level.route[next].button]);
                next++;
            }
            step();
            if (newGameMode != MODE_INGAME)
                return s;
        }
        return last;
    }

    void pauseAt(const Level &level, int at)
    {
        playRoute(level, at);
        pushKey(SDL_KEYDOWN, (SDLKey)keyMapping[OK]);
        step();
        const std::string where = level.name + " paused at step " + std::to_string(at);
        // On a larger screen more creatures wake, and the route may be lost
        // before this step: then the lost game is what shows.
        if (ingameState == INGAME_GAME_OVER)
            expectLegible(illegibleCentred("GAME OVER", screenHeight - 60), where);
        if (ingameState != INGAME_PAUSED)
            return;
        pausesSeen++;
        expectLegible(illegibleCentred("PAUSED", screenHeight - 70), where);
        expectLegible(illegibleCentred("Press OK again to quit", screenHeight - 50), where);
        expectCounterLegible(where);
    }

    void dieAt(const Level &level, int at)
    {
        playRoute(level, at);
        player.hp = 0;
        for (int s = 0; s < MAX_DYING_STEPS && ingameState != INGAME_GAME_OVER; s++)
            step();
        const std::string where = level.name + " lost at step " + std::to_string(at);
        if (ingameState != INGAME_GAME_OVER)
            return faults.push_back(where + ": no game over");
        expectLegible(illegibleCentred("GAME OVER", screenHeight - 60), where);
    }

    // Marks ground cells spread over the level and checks the marker and the
    // tile number drawn beside it.
    void editGround(const Level &level)
    {
        leaveMode();
        free(mapFile);
        mapFile = strdup(level.map.c_str());
        newGameMode = MODE_EDITOR;
        step();
        std::vector<Point> ground;
        for (int x = 0; x < curLvl.layer0.w; x++)
            for (int y = 1; y < curLvl.layer0.h; y++) {
                const int tile = curLvl.layer0.array[x][y], above = curLvl.layer0.array[x][y - 1];
                if (tile >= GROUND_FIRST && tile <= GROUND_LAST && above >= GROUND_FIRST && above <= GROUND_LAST)
                    ground.push_back({x, y});
            }
        ASSERT_FALSE(ground.empty()) << level.name << " has no ground";
        for (int k = 0; k < MARKER_CELLS_PER_LEVEL; k++) {
            const Point cell = ground[ground.size() * k / MARKER_CELLS_PER_LEVEL];
            marker.x = cell.x;
            marker.y = cell.y;
            editorUpdate(); // centres the camera on the marker
            markerDraw = 1;
            markerBlinkTime = 10;
            draw();
            const std::string where = level.name + " editor at " + std::to_string(cell.x) + "," +
                                      std::to_string(cell.y);
            const int x = cell.x * 16 - camera.x, y = cell.y * 16 - camera.y;
            if (!markerShows(x, y))
                faults.push_back(where + ": the marker blends into the ground");
            char number[4];
            snprintf(number, sizeof number, "%d", curLvl.layer0.array[cell.x][cell.y]);
            expectLegible(illegible(number, screenWidth - 43, screenHeight - 16), where + ", tile number");
            expectCounterLegible(where);
        }
    }

    // Reports every fault found, at most a screenful.
    void report()
    {
        std::string all;
        for (size_t i = 0; i < faults.size() && i < 20; i++)
            all += faults[i] + "\n";
        EXPECT_TRUE(faults.empty()) << faults.size() << " faults at " << screenWidth << "x" << screenHeight
                                    << ", the first:\n" << all;
    }
};

TEST_P(Legibility, TitleMenuPagesAndRemappingPromptOverTheWholeDemoScroll)
{
    newGameMode = MODE_MENU;
    step(); // loads the logo and the demo level
    menuCreate();
    menu *pages[] = {&mainMenu, &optMenu, &contMenu};
    const int lastX = curLvl.layer0.w * 16 - screenWidth;
    for (int x = 0; x <= lastX; x += SCROLL_STRIDE) {
        camera.x = x;
        const std::string where = "demo scrolled to " + std::to_string(x);
        drawTitle = 1;
        draw();
        expectLegible(illegibleCentred("Press start", screenHeight - 40), where + ", title");
        expectCounterLegible(where);
        drawTitle = 0;
        for (menu *page : pages) {
            menuState = 0;
            curMenu = page;
            page->selectedIndex = page->menuItems - 1;
            draw();
            for (int i = 0; i < page->menuItems; i++)
                expectLegible(illegibleCentred(page->menuChoices[i], 20 * i), where + ", menu");
            expectLegible(illegible("*", 40, 20 * page->selectedIndex), where + ", menu cursor");
        }
        menuState = 1;
        for (remapCurKey = 0; remapCurKey < 9; remapCurKey++) {
            draw();
            const std::string prompt = std::string("Press key for *") + BUTTONS[remapCurKey] + "*";
            expectLegible(illegibleCentred(prompt, screenHeight / 2), where + ", remapping");
        }
    }
    report();
}

TEST_P(Legibility, PausedAndLostAlongEveryWinningRouteAndTheEditorOverGround)
{
    const std::vector<Level> levels = shippedLevels();
    ASSERT_FALSE(levels.empty());
    for (const Level &level : levels) {
        // A winning route ends soon after its last press, so that step stands
        // for its length, at either size of screen.
        const int steps = level.route.empty() ? 0 : level.route.back().step;
        pausesSeen = 0;
        for (int k = 1; k <= PAUSES_PER_ROUTE; k++)
            pauseAt(level, steps * k / (PAUSES_PER_ROUTE + 1));
        EXPECT_GE(pausesSeen, PAUSES_PER_ROUTE / 2) << level.name << ": the route is lost too soon to pause along it";
        for (int k = 1; k <= DEATHS_PER_ROUTE; k++)
            dieAt(level, steps * k / (DEATHS_PER_ROUTE + 1));
        editGround(level);
    }
    report();
}

INSTANTIATE_TEST_SUITE_P(Screens, Legibility, ::testing::Values(std::make_pair(160, 120), std::make_pair(320, 240)),
                         [](const auto &info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

} // namespace
