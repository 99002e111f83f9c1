// Every text the game draws, and the hearts and key sign of play, must stand
// out from whatever lies beneath them, on the real screens of the shipped
// levels, at 160x120 and at 320x240: paused at many places along each level's
// winning route and just after its key is taken, lost at several, the title
// and the menu pages over the scrolling demo moor, the remapping prompt, and
// the editor's tile number, marker and strip of tiles over ground, "TEST"
// on every paused and lost screen as a test from the editor shows it, the campaign's lines on
// the title, the won and the game-over screens; the frame counter with each. A level counts as shipped when tests/routes/mapNN_win.replay wins
// data/maps/mapNN.map.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "camera.h"
#include "campaign.h"
#include "fileio.h"
#include "sdl_events.h"
#include "test_util.h"

namespace {

// Ink and every pixel touching it must differ by this much luminance (0-255).
// The palette's two darkest greens, 38 apart, run together in a 3-pixel
// stroke; the darkest and the mid green, 61 apart, do not.
const int MIN_CONTRAST = 48;
// At least this share of the pixels around the editor's marker must stand
// out from it, so that the marked cell shows wherever it is.
const double MARKER_RING_SHARE = 0.75;
const int PAUSES_PER_ROUTE = 12;
const int LOSSES_PER_ROUTE = 4;
const int MARKED_CELLS_PER_LEVEL = 8;
// Ground tiles (corners, grass tops, edges and fill) are the tileset's first 25.
const int GROUND_LAST = 25;
// Pixels the title's scroll advances between two checked frames.
const int SCROLL_STRIDE = 8;
// Steps a falling player may take to leave the level before the game is lost.
const int MAX_DYING_STEPS = 1200;

// One line of text as drawn: a 5x7 glyph every 6 pixels from (x, y).
struct Text {
    std::string text;
    int x, y;
};

// One cell of a sheet as drawn at (x, y): a glyph, a heart, the key sign.
struct Mark { std::string what; SDL_Surface *sheet; SDL_Rect cell; int x, y; };

Text centred(const std::string &text, int y) { return {text, screenWidth / 2 - 3 * (int)text.size(), y}; }

struct Event {
    int step, down, button;
};

struct Level {
    std::string name;
    std::vector<Event> route; // in step order, as the routes are written
};

// Every level mapNN with a winning route, in turn from map01.
std::vector<Level> shippedLevels()
{
    std::vector<Level> levels;
    for (int n = 1;; n++) {
        char name[16];
        snprintf(name, sizeof name, "map%02d", n);
        Level level{name, {}};
        const std::string route = "tests/routes/" + level.name + "_win.replay";
        if (!fileExists(route) || !fileExists("data/maps/" + level.name + ".map"))
            return levels;
        readWordLines(route.c_str(), [](char **words, int n, void *events) {
            for (int b = 0; n == 3 && b < BUTTON_COUNT; b++)
                if (strcmp(words[2], BUTTON_NAMES[b]) == 0)
                    static_cast<std::vector<Event> *>(events)->push_back(
                        {atoi(words[0]), strcmp(words[1], "press") == 0, b});
        }, &level.route);
        levels.push_back(level);
    }
}

int luminance(SDL_Surface *s, Uint32 pixel)
{
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (299 * r + 587 * g + 114 * b) / 1000;
}

bool onScreen(int x, int y) { return x >= 0 && y >= 0 && x < screenWidth && y < screenHeight; }

int screenLuminance(int x, int y) { return luminance(screen, getPixel(screen, x, y)); }

class Legibility : public ::testing::TestWithParam<std::pair<int, int>> {
protected:
    std::vector<std::string> faults;

    void SetUp() override
    {
        screenWidth = GetParam().first;
        screenHeight = GetParam().second;
        scale = 1;
        ASSERT_EQ(initSDL(), 0);
        ASSERT_EQ(loadConfig("./data/config.cfg"), 0);
        logicLoadFont();
        ASSERT_NE(fontIMG, nullptr);
        timerFreezeTicks(0); // the frame counter reads "0/60"
    }

    // Every fault a test found fails it.
    void TearDown() override
    {
        EXPECT_TRUE(faults.empty()) << faults.size() << " faults at " << screenWidth << "x" << screenHeight
                                    << ", the first: " << (faults.empty() ? "" : faults[0]);
        resetGame();
    }

    // Starts mode afresh on the level and plays its route up to step last at
    // most, one event per step as the game takes them. With toKey it stops
    // as soon as the key is taken, and the player is not let die on the way,
    // as the creatures that a larger screen wakes would have it.
    static void play(const Level &level, gameModeEnum mode, int last, bool toKey = false)
    {
        leaveModes();
        free(mapFile);
        mapFile = strdup(("data/maps/" + level.name + ".map").c_str());
        newGameMode = mode;
        hasKey = 0; // as the new game's first step will have it
        size_t next = 0;
        for (int s = 1; s <= last && newGameMode == mode && !(toKey && hasKey); s++) {
            if (next < level.route.size() && level.route[next].step <= s) {
                const Event &e = level.route[next++];
                pushKey(e.down ? SDL_KEYDOWN : SDL_KEYUP, (SDLKey)keyMapping[e.button]);
            }
            if (toKey)
                player.hp = std::max(player.hp, 1);
            mainStepAndDraw();
        }
    }

    // The luminance of pixel (i, j) of a mark's cell; 256 where it is
    // transparent or outside the cell. Glyphs and hearts stand a column
    // apart, so a stroke's neighbours outside its cell belong to no mark.
    static int cellLuminance(const Mark &m, int i, int j)
    {
        if (i < 0 || i >= m.cell.w || j < 0 || j >= m.cell.h)
            return 256;
        const Uint32 p = getPixel(m.sheet, m.cell.x + i, m.cell.y + j);
        return p == m.sheet->format->colorkey ? 256 : luminance(m.sheet, p);
    }

    // Adds a fault for the first mark missing where it belongs or with ink
    // (its cell's darkest colour) that runs into a pixel beside it too close
    // in tone; the frame counter is checked with them.
    void check(const std::string &where, std::vector<Text> texts, std::vector<Mark> marks = {})
    {
        texts.push_back({"0/60", screenWidth - 30, 1});
        for (const Text &t : texts)
            for (int k = 0; k < (int)t.text.size(); k++)
                marks.push_back({"\"" + t.text + "\"", fontIMG, fontClip[(unsigned char)t.text[k]], t.x + 6 * k, t.y});
        for (const Mark &m : marks) {
            int ink = 256;
            for (int k = 0; k < m.cell.w * m.cell.h; k++)
                ink = std::min(ink, cellLuminance(m, k % m.cell.w, k / m.cell.w));
            for (int k = 0; k < m.cell.w * m.cell.h; k++) {
                const int i = k % m.cell.w, j = k / m.cell.w, x = m.x + i, y = m.y + j;
                if (!onScreen(x, y) || ink == 256 || cellLuminance(m, i, j) != ink)
                    continue;
                const std::string at = where + ": " + m.what + " at " + std::to_string(x) + "," + std::to_string(y);
                if (screenLuminance(x, y) != ink)
                    return faults.push_back(at + " is not drawn");
                for (const auto &[di, dj] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                    if (onScreen(x + di, y + dj) && cellLuminance(m, i + di, j + dj) != ink &&
                        std::abs(screenLuminance(x + di, y + dj) - ink) < MIN_CONTRAST)
                        return faults.push_back(at + " runs into what lies beside it");
            }
        }
    }

    // The hearts of the life bar and, while the key is held, the key sign.
    static std::vector<Mark> hud()
    {
        std::vector<Mark> marks;
        for (int k = 0; k < 3; k++)
            marks.push_back(
                {"heart " + std::to_string(k), lifebarIMG, lifebarClip[player.hp > k ? 0 : 1], 1 + 6 * k, 1});
        if (hasKey)
            marks.push_back({"key sign", keySignIMG, {0, 0, (Uint16)keySignIMG->w, (Uint16)keySignIMG->h}, 19, 1});
        return marks;
    }

    // A box drawn at (x, y), w x h, whose edge is of one colour (the editor's
    // marker, the tile strip's frame), stands out from the ring around it.
    static bool boxShows(int x, int y, int w = 16, int h = 16)
    {
        int ring = 0, apart = 0;
        for (int i = -1; i <= w; i++)
            for (int j = -1; j <= h; j++)
                if ((i == -1 || i == w || j == -1 || j == h) && onScreen(x + i, y + j)) {
                    ring++;
                    apart += std::abs(screenLuminance(x + i, y + j) - screenLuminance(x, y)) >= MIN_CONTRAST;
                }
        return apart >= MARKER_RING_SHARE * ring;
    }

    // Plays the route to step at (or to its key), then pauses or loses there
    // and checks the texts of whichever shows with the hearts and key sign;
    // returns 1 when the pause does. On a larger screen more creatures wake,
    // and the route may be lost before this step: then the lost game is what shows.
    int stopAt(const Level &level, int at, bool lose, bool toKey = false)
    {
        play(level, MODE_INGAME, at, toKey);
        if (lose)
            player.hp = 0;
        else
            pushKey(SDL_KEYDOWN, (SDLKey)keyMapping[OK]);
        for (int s = 0; s < (lose ? MAX_DYING_STEPS : 1) && ingameState != INGAME_GAME_OVER; s++)
            mainStepAndDraw();
        const std::string where =
            level.name + (lose ? " lost" : " paused") + (toKey ? " at its key" : " at step " + std::to_string(at));
        EXPECT_TRUE(!lose || ingameState == INGAME_GAME_OVER) << where;
        // Drawn as a test played from the editor, it says so bottom left.
        editorPlaying = 1;
        draw();
        editorPlaying = 0;
        const Text test = {"TEST", 2, screenHeight - 9};
        if (ingameState == INGAME_GAME_OVER)
            check(where, {centred("GAME OVER", screenHeight - 60), centred(campaignRetryLine(), screenHeight - 48), test},
                  hud());
        if (ingameState == INGAME_PAUSED)
            check(where, {centred("PAUSED", screenHeight - 70), centred("Press OK again to quit", screenHeight - 50),
                          centred("BACKSPACE resumes", screenHeight - 40), test}, hud());
        return ingameState == INGAME_PAUSED;
    }

    // Marks ground cells spread over the level in the editor.
    void markGround(const Level &level)
    {
        play({level.name, {}}, MODE_EDITOR, 1);
        std::vector<Point> ground;
        for (int x = 0; x < curLvl.layer0.w; x++)
            for (int y = 1; y < curLvl.layer0.h; y++)
                if (std::min(curLvl.layer0.array[x][y], curLvl.layer0.array[x][y - 1]) >= 1 &&
                    std::max(curLvl.layer0.array[x][y], curLvl.layer0.array[x][y - 1]) <= GROUND_LAST)
                    ground.push_back({x, y});
        ASSERT_FALSE(ground.empty()) << level.name << " has no ground";
        for (int k = 0; k < MARKED_CELLS_PER_LEVEL; k++) {
            marker.x = ground[ground.size() * k / MARKED_CELLS_PER_LEVEL].x;
            marker.y = ground[ground.size() * k / MARKED_CELLS_PER_LEVEL].y;
            editorUpdate(); // centres the camera on the marker
            markerDraw = 1;
            markerBlinkTime = 10;
            draw();
            const std::string where = level.name + " editor at " + std::to_string(marker.x) + "," +
                                      std::to_string(marker.y);
            if (!boxShows(marker.x * 16 - camera.x, marker.y * 16 - camera.y))
                faults.push_back(where + ": the marker blends into the ground");
            const Text tile = {std::to_string(curLvl.layer0.array[marker.x][marker.y]), screenWidth - 43,
                               screenHeight - 16};
            check(where, {tile});
            // Editing the tile: the strip of tiles stands out from the level
            // and leaves the tile number and the frame counter to read.
            editorMode = EDITOR_EDIT;
            draw();
            editorMode = EDITOR_UPDATE;
            const Box strip = editorStripDrawn;
            if (strip.w == 0 || !boxShows(strip.x, strip.y, strip.w, strip.h))
                faults.push_back(where + ": the strip of tiles is missing or blends into the level");
            check(where + " editing", {tile});
        }
    }
};

TEST_P(Legibility, TitleMenuPagesAndRemappingPromptOverTheWholeDemoScroll)
{
    newGameMode = MODE_MENU;
    mainStepAndDraw(); // loads the logo and the demo level
    menuCreate();
    for (int x = 0; x <= curLvl.layer0.w * 16 - screenWidth; x += SCROLL_STRIDE) {
        camera.x = x;
        const std::string where = "demo scrolled to " + std::to_string(x);
        drawTitle = 1;
        draw();
        check(where + ", title", {centred("Press start", screenHeight - 40)});
        drawTitle = 0;
        for (menu *page : {&mainMenu, &optMenu, &contMenu}) {
            curMenu = page;
            page->selectedIndex = page->menuItems - 1;
            draw();
            std::vector<Text> texts = {{"*", 40, 20 * page->selectedIndex}};
            for (int i = 0; i < page->menuItems; i++)
                texts.push_back(centred(page->menuChoices[i], 20 * i));
            check(where + ", menu", texts);
        }
        // The volume beside the sound entry, with its arrows while chosen.
        optMenu.selectedIndex = 1;
        curMenu = &optMenu;
        draw();
        check(where + ", volume", {centred("Sound/Music", 20), {"<6>", screenWidth / 2 + 37, 20}});
        menuState = MENU_STATE_REMAPPING;
        for (remapCurKey = 0; remapCurKey < 9; remapCurKey++) {
            draw();
            check(where + ", remapping",
                  {centred(std::string("Press key for *") + BUTTON_NAMES[remapCurKey] + "*", screenHeight / 2)});
        }
        menuState = MENU_STATE_NAVIGATING;
    }
}

TEST_P(Legibility, EveryLevelsWonScreenAndTheTitleChoosingEachOverTheWholeDemoScroll)
{
    const std::vector<Level> levels = shippedLevels();
    ASSERT_FALSE(levels.empty());
    // Each level won in turn, with the progress file in a scratch data folder.
    TempDir dir;
    char top[PATH_MAX];
    ASSERT_TRUE(getcwd(top, sizeof top) && mkdir((dir.path + "/data").c_str(), 0755) == 0);
    for (const char *entry : {"config.cfg", "gfx", "maps", "mobs"})
        ASSERT_EQ(symlink((std::string(top) + "/data/" + entry).c_str(), (dir.path + "/data/" + entry).c_str()), 0);
    InDirectory inDir(dir.path);
    gameMode = MODE_WON;
    for (const Level &level : levels) {
        free(mapFile);
        mapFile = strdup(("data/maps/" + level.name + ".map").c_str());
        testing::internal::CaptureStdout();
        campaignWonStart();
        testing::internal::GetCapturedStdout();
        draw();
        ASSERT_STRNE(campaignWonLine(), "") << level.name;
        check(level.name + " won", {centred("YOU WON!", screenHeight - 70),
                                    centred("Thanks for playing!", screenHeight - 50),
                                    centred(campaignWonLine(), screenHeight - 30)});
    }
    free(mapFile);
    mapFile = strdup(("data/maps/" + levels[0].name + ".map").c_str());
    newGameMode = MODE_MENU;
    mainStepAndDraw();
    for (size_t k = 0; k < levels.size(); k++, keyPress.key[RIGHT] = 1, campaignTitleStep()) {
        EXPECT_STREQ(mapLevelFile(), ("data/maps/" + levels[k].name + ".map").c_str());
        for (int x = 0; x <= curLvl.layer0.w * 16 - screenWidth; x += SCROLL_STRIDE) {
            camera.x = x;
            draw();
            check("title choosing " + std::string(campaignTitleLine()) + ", demo scrolled to " + std::to_string(x),
                  {centred("Press start", screenHeight - 40), centred(campaignTitleLine(), screenHeight - 18)});
        }
    }
}

TEST_P(Legibility, PausedAndLostAlongEveryWinningRouteAndTheEditorOverGround)
{
    const std::vector<Level> levels = shippedLevels();
    ASSERT_FALSE(levels.empty());
    int withKey = 0;
    for (const Level &level : levels) {
        // A winning route ends soon after its last event, so that step stands
        // for its length, at either size of screen.
        const int steps = level.route.empty() ? 0 : level.route.back().step;
        int paused = 0;
        for (int k = 1; k <= PAUSES_PER_ROUTE; k++)
            paused += stopAt(level, steps * k / (PAUSES_PER_ROUTE + 1), false);
        EXPECT_GE(paused, PAUSES_PER_ROUTE / 2) << level.name << ": the route is lost too soon to pause along it";
        withKey += stopAt(level, steps + MAX_DYING_STEPS, false, true) && hasKey;
        for (int k = 1; k <= LOSSES_PER_ROUTE; k++)
            stopAt(level, steps * k / (LOSSES_PER_ROUTE + 1), true);
        markGround(level);
    }
    EXPECT_GE(withKey, (int)levels.size() / 2) << "too few routes reach their key to check the key sign";
}

INSTANTIATE_TEST_SUITE_P(Screens, Legibility, ::testing::Values(std::make_pair(160, 120), std::make_pair(320, 240)),
                         [](const auto &info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

} // namespace
