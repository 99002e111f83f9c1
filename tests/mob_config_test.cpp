// The creature definition file: the keyword walk, awkward files, and the
// definition files the game ships.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "animation.h"
#include "fileio.h"
#include "test_util.h"

namespace {

// A creature record as a new enemy has it: everything zero; its lists are freed at the end.
struct ZeroedCreature {
    Creature mob{};
    ~ZeroedCreature() { freeAnim(&mob.animation); }
};

std::vector<int> framesOf(const animFrame &list)
{
    if (!list.frames)
        return {};
    return std::vector<int>(list.frames, list.frames + list.numOfFrames);
}

// Reads text as a definition file; returns what loadMobConfig returns.
int loadText(Creature *mob, const std::string &text)
{
    TempDir dir;
    const std::string path = dir.path + "/mob.dat";
    writeFile(path, text);
    return loadMobConfig(mob, path.c_str());
}

// One shipped creature: its sheet and how the game cuts it.
struct ShippedCreature {
    const char *name;
    const char *sheet;
    const char *definition;
    int tileWidth;
    int tileHeight;
    int row;
    int numOfTiles;
};

const ShippedCreature SHIPPED[] = {
    {"key", "data/gfx/keyAni.bmp", "data/mobs/key.dat", 16, 16, 1, 8},
    {"monkey", "data/gfx/monkeyAni.bmp", "data/mobs/monkey.dat", 16, 16, 16, 256},
    {"shell", "data/gfx/shellAni.bmp", "data/mobs/shell.dat", 16, 16, 16, 256},
    {"frog", "data/gfx/frogAni.bmp", "data/mobs/frog.dat", 20, 16, 3, 24},
    {"squid", "data/gfx/squidAni.bmp", "data/mobs/squid.dat", 17, 16, 3, 24},
    {"plant", "data/gfx/plantAni.bmp", "data/mobs/plant.dat", 16, 16, 3, 24},
};

// Collision looks at boxes of at most this many pixels each way.
const int LARGEST_BOX = 16;

} // namespace

TEST(MobConfig, AWellFormedFileFillsSizeHealthAndEveryList)
{
    ZeroedCreature c;
    c.mob.x = 40.0f;
    c.mob.state = STATE_WALK;
    c.mob.animation.currentFrame = 2;
    const int result = loadText(&c.mob, "WIDTH: 12\nHEIGHT: 15\nHEALTH: 3\nANIMATION:\n"
                                        "IDLE\nLEFT\nframes 16 17\nduration 30\npos -2 -1\n"
                                        "RIGHT\nframes 0 1\nduration 30\npos -2 -1\n"
                                        "WALK\nLEFT\nframes 18 19 20 21\nduration 7\npos -1 -1\n"
                                        "RIGHT\nframes 2 3 4 5   # four steps\nduration 7\npos -3 -1\n"
                                        "JUMP\nLEFT\nframes 22 23 24\nduration 0\npos -2 -1\n"
                                        "RIGHT\nframes 6 7 8\nduration 0\npos -2 -1\n"
                                        "DIE\nLEFT\nframes 25\nduration 10\npos -2 -1\n"
                                        "RIGHT\nframes 9\nduration 10\npos -2 -1\n");
    EXPECT_EQ(result, 0);
    const animStruct &a = c.mob.animation;
    EXPECT_EQ(c.mob.w, 12);
    EXPECT_EQ(c.mob.h, 15);
    EXPECT_EQ(c.mob.hp, 3);
    EXPECT_EQ(framesOf(a.idle.left), (std::vector<int>{16, 17}));
    EXPECT_EQ(a.idle.left.duration, 30);
    EXPECT_EQ(a.idle.left.posOfTile.x, -2);
    EXPECT_EQ(a.idle.left.posOfTile.y, -1);
    EXPECT_EQ(framesOf(a.walk.right), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(a.walk.right.duration, 7);
    EXPECT_EQ(a.walk.right.posOfTile.x, -3);
    EXPECT_EQ(framesOf(a.walk.left), (std::vector<int>{18, 19, 20, 21}));
    EXPECT_EQ(framesOf(a.jump.right), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(framesOf(a.die.left), (std::vector<int>{25}));
    EXPECT_EQ(a.die.right.duration, 10);

    // Only the size, health and lists are the file's business.
    EXPECT_EQ(c.mob.x, 40.0f);
    EXPECT_EQ(c.mob.state, STATE_WALK);
    EXPECT_EQ(a.currentFrame, 2);
}

TEST(MobConfig, KeywordsCountAnywhereAndALaterBlockRedirects)
{
    ZeroedCreature c;
    EXPECT_EQ(loadMobConfig(&c.mob, "tests/data/mob_awkward.dat"), 0);
    const animStruct &a = c.mob.animation;

    // Size and health on one line, WIDTH: after the animations; a bare WIDTH: changes nothing.
    EXPECT_EQ(c.mob.w, 12);
    EXPECT_EQ(c.mob.h, 13);
    EXPECT_EQ(c.mob.hp, 2);

    // Nothing before ANIMATION:, before the first animation keyword, or before the first LEFT/RIGHT.
    EXPECT_EQ(framesOf(a.idle.left), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(a.idle.left.duration, 8);
    EXPECT_EQ(a.idle.left.posOfTile.x, -2);
    EXPECT_EQ(a.idle.left.posOfTile.y, -1);

    // "RIGHT duration 7 pos 3": the duration counts, the pos without its y does not.
    EXPECT_EQ(a.idle.right.duration, 7);
    EXPECT_EQ(a.idle.right.posOfTile.x, 0);
    EXPECT_EQ(a.idle.right.posOfTile.y, 0);

    // A second RIGHT block replaces the list; a later IDLE redirects to the idle lists again.
    EXPECT_EQ(framesOf(a.walk.right), (std::vector<int>{23, 24}));
    EXPECT_EQ(a.walk.right.duration, 6);
    EXPECT_EQ(framesOf(a.idle.right), (std::vector<int>{9, 9, 9}));

    // Lists the file never names stay untouched.
    EXPECT_EQ(a.walk.left.frames, nullptr);
    EXPECT_EQ(a.jump.right.frames, nullptr);
    EXPECT_EQ(a.die.left.frames, nullptr);
}

TEST(MobConfig, LinesOutsideTheFormatNeverWriteOutsideTheSelectedList)
{
    ZeroedCreature c;
    EXPECT_EQ(loadText(&c.mob, "ANIMATION:\nWALK\nRIGHT\n"
                               "frames 1 2 3\n"
                               "frames\n"        // names no sprites: the list becomes empty
                               "7 8 9\n"         // and the next line is not taken for it
                               "pos 4 5 6\n"
                               "duration\n"      // its argument would be a word of the line before
                               "LEFT\n"
                               "first frames 11 12\n"
                               "pos\n"
                               "HEALTH:\n"),
              0);
    const animStruct &a = c.mob.animation;
    EXPECT_EQ(a.walk.right.frames, nullptr);
    EXPECT_EQ(a.walk.right.numOfFrames, 0);
    EXPECT_EQ(a.walk.right.posOfTile.x, 4);
    EXPECT_EQ(a.walk.right.posOfTile.y, 5);
    EXPECT_EQ(a.walk.right.duration, 0);
    EXPECT_EQ(framesOf(a.walk.left), (std::vector<int>{11, 12}));
    EXPECT_EQ(a.walk.left.posOfTile.x, 0);
    EXPECT_EQ(c.mob.hp, 0);
    EXPECT_EQ(framesOf(a.idle.right), std::vector<int>{});
}

TEST(MobConfig, AFileWithoutSomeBlocksLeavesThoseListsAsTheyWere)
{
    ZeroedCreature c;
    setAnim(4, 2, &c.mob.animation.die.right, 40, 41);
    c.mob.animation.die.right.posOfTile = Point{-1, -2};
    c.mob.w = 9;
    EXPECT_EQ(loadText(&c.mob, "ANIMATION:\nIDLE\nRIGHT\nframes 0\n"), 0);
    EXPECT_EQ(framesOf(c.mob.animation.die.right), (std::vector<int>{40, 41}));
    EXPECT_EQ(c.mob.animation.die.right.duration, 4);
    EXPECT_EQ(c.mob.animation.die.right.posOfTile.y, -2);
    EXPECT_EQ(c.mob.w, 9);
    EXPECT_EQ(framesOf(c.mob.animation.idle.right), (std::vector<int>{0}));
}

TEST(MobConfig, AMissingFileIsReportedAndChangesNothing)
{
    ZeroedCreature c;
    c.mob.w = 5;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadMobConfig(&c.mob, "data/mobs/no-such-creature.dat"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can't open data/mobs/no-such-creature.dat\n");
    EXPECT_EQ(c.mob.w, 5);
}

TEST(MobConfig, EveryShippedCreatureFitsItsBoxAndItsSheet)
{
    for (const ShippedCreature &s : SHIPPED) {
        SCOPED_TRACE(s.name);
        ZeroedCreature c;
        ASSERT_EQ(loadMobConfig(&c.mob, s.definition), 0);
        SDL_Surface *sheet = SDL_LoadBMP(s.sheet);
        ASSERT_NE(sheet, nullptr) << SDL_GetError();
        const int sheetW = sheet->w;
        const int sheetH = sheet->h;
        SDL_FreeSurface(sheet);

        // Whole rows of cells, gaps between them.
        EXPECT_EQ((sheetW + 1) % (s.tileWidth + 1), 0);
        EXPECT_EQ((sheetH + 1) % (s.tileHeight + 1), 0);

        EXPECT_GE(c.mob.w, 1);
        EXPECT_GE(c.mob.h, 1);
        EXPECT_LE(c.mob.w, LARGEST_BOX);
        EXPECT_LE(c.mob.h, LARGEST_BOX);
        EXPECT_GE(c.mob.hp, 1);

        const animStruct &a = c.mob.animation;
        const animDir *dirs[] = {&a.idle, &a.walk, &a.jump, &a.die};
        for (const animDir *d : dirs) {
            const animFrame *lists[] = {&d->left, &d->right};
            EXPECT_EQ(d->left.numOfFrames, d->right.numOfFrames);
            for (const animFrame *l : lists) {
                EXPECT_GE(l->numOfFrames, d == &a.jump ? 3 : 1);
                // The box lies inside the sprite drawn over it.
                EXPECT_LE(l->posOfTile.x, 0);
                EXPECT_LE(l->posOfTile.y, 0);
                EXPECT_GE(l->posOfTile.x + s.tileWidth, c.mob.w);
                EXPECT_GE(l->posOfTile.y + s.tileHeight, c.mob.h);
                for (int f : framesOf(*l)) {
                    EXPECT_GE(f, 0);
                    EXPECT_LT(f, s.numOfTiles);
                    const int x = (f % s.row) * (s.tileWidth + 1);
                    const int y = (f / s.row) * (s.tileHeight + 1);
                    EXPECT_LE(x + s.tileWidth, sheetW) << "sprite " << f;
                    EXPECT_LE(y + s.tileHeight, sheetH) << "sprite " << f;
                }
            }
        }
    }
}

namespace {

// The file's lines, each cut into words.
std::vector<std::vector<std::string>> wordLines(const std::string &text)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        lines.emplace_back();
        for (std::string w; words >> w;)
            lines.back().push_back(w);
    }
    return lines;
}

std::string joinLines(const std::vector<std::vector<std::string>> &lines)
{
    std::string text;
    for (const auto &line : lines) {
        for (const std::string &w : line)
            text += w + " ";
        text += "\n";
    }
    return text;
}

// One random hand edit: a word dropped, doubled or moved, or two lines joined.
void scramble(std::vector<std::vector<std::string>> &lines, std::mt19937 &rng)
{
    auto pick = [&rng](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    auto &line = lines[pick(lines.size())];
    const size_t edit = pick(4);
    if (edit == 3 && lines.size() > 1) {
        const size_t at = pick(lines.size() - 1);
        lines[at].insert(lines[at].end(), lines[at + 1].begin(), lines[at + 1].end());
        lines.erase(lines.begin() + static_cast<long>(at) + 1);
        return;
    }
    if (line.empty())
        return;
    const size_t w = pick(line.size());
    const std::string word = line[w];
    if (edit == 0) {
        line.erase(line.begin() + static_cast<long>(w));
    } else if (edit == 1) {
        line.insert(line.begin() + static_cast<long>(w), word);
    } else {
        line.erase(line.begin() + static_cast<long>(w));
        auto &other = lines[pick(lines.size())];
        other.insert(other.begin() + static_cast<long>(pick(other.size() + 1)), word);
    }
}

} // namespace

TEST(MobConfig, ScrambledShippedFilesLoadIntoConsistentLists)
{
    std::mt19937 rng(20240611);
    for (const ShippedCreature &s : SHIPPED) {
        const auto original = wordLines(readFile(s.definition));
        ASSERT_FALSE(original.empty()) << s.definition;
        for (int round = 0; round < 40; round++) {
            auto lines = original;
            for (int edits = 0; edits < 1 + round % 6; edits++)
                scramble(lines, rng);
            ZeroedCreature c;
            ASSERT_EQ(loadText(&c.mob, joinLines(lines)), 0);
            const animStruct &a = c.mob.animation;
            const animDir *dirs[] = {&a.idle, &a.walk, &a.jump, &a.die};
            for (const animDir *d : dirs) {
                for (const animFrame *l : {&d->left, &d->right}) {
                    EXPECT_GE(l->numOfFrames, 0);
                    EXPECT_EQ(l->frames == nullptr, l->numOfFrames == 0);
                }
            }
        }
    }
}
