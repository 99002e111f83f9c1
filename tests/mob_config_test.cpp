// The creature definition file: the keyword walk over an awkward file, and the
// definition files the game ships checked against their sheets.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "animation.h"
#include "fileio.h"
#include "test_util.h"

// In map_file_test.cpp.
void checkCaseFiles(const char *folder, const std::function<std::string(const std::string &)> &load,
                    const std::function<std::string()> &describe);

namespace {

// A creature record as a new enemy has it: everything zero; its lists are freed at the end.
struct ZeroedCreature {
    Creature mob{};
    ~ZeroedCreature() { freeAnim(&mob.animation); }
};

// The eight lists, idle, walk, jump and die, left before right, each as
// "count:frames/duration/x,y".
std::vector<std::string> listsOf(const animStruct &a)
{
    std::vector<std::string> out;
    for (const animDir *d : {&a.idle, &a.walk, &a.jump, &a.die})
        for (const animFrame *l : {&d->left, &d->right}) {
            std::string s = std::to_string(l->numOfFrames) + ":";
            for (int i = 0; l->frames && i < l->numOfFrames; i++)
                s += std::to_string(l->frames[i]) + " ";
            out.push_back(s + "/" + std::to_string(l->duration) + "/" + std::to_string(l->posOfTile.x) + "," +
                          std::to_string(l->posOfTile.y));
        }
    return out;
}

} // namespace

// Each file under tests/data/mob_cases/ states in its "#> " line the creature it
// makes of one that had a die-right list and stood at x = 40: size, health, x,
// then the lists idle, walk, jump and die, left before right. Only the size,
// health and lists are the file's business, and a list it does not name stays.
TEST(MobConfig, EachCaseFileMakesTheCreatureItStates)
{
    ZeroedCreature c;
    checkCaseFiles("tests/data/mob_cases", [&](const std::string &path) {
        freeAnim(&c.mob.animation);
        c.mob = Creature{};
        setAnim(4, 2, &c.mob.animation.die.right, 40, 41);
        c.mob.animation.die.right.posOfTile = Point{-1, -2};
        c.mob.x = 40.0f;
        return printed([&] { EXPECT_EQ(loadMobConfig(&c.mob, path.c_str()), 0); });
    }, [&] {
        std::string made = std::to_string(c.mob.w) + " " + std::to_string(c.mob.h) + " " + std::to_string(c.mob.hp) +
                           " " + std::to_string((int)c.mob.x);
        for (const std::string &list : listsOf(c.mob.animation))
            made += " | " + list;
        return made;
    });
}

TEST(MobConfig, EveryShippedCreatureFitsItsBoxAndItsSheet)
{
    // Each creature's sheet and how the game cuts it: tile size, tiles per row, tiles in all.
    const struct { const char *name; int tileW, tileH, row, numOfTiles; } shipped[] = {
        {"key", 16, 16, 1, 8}, {"monkey", 16, 16, 16, 256}, {"shell", 16, 16, 16, 256},
        {"frog", 20, 16, 3, 24}, {"squid", 17, 16, 3, 24},  {"plant", 16, 16, 3, 24}};
    for (const auto &s : shipped) {
        SCOPED_TRACE(s.name);
        ZeroedCreature c;
        ASSERT_EQ(loadMobConfig(&c.mob, ("data/mobs/" + std::string(s.name) + ".dat").c_str()), 0);
        SDL_Surface *sheet = SDL_LoadBMP(("data/gfx/" + std::string(s.name) + "Ani.bmp").c_str());
        ASSERT_NE(sheet, nullptr) << SDL_GetError();
        const int sheetW = sheet->w, sheetH = sheet->h;
        SDL_FreeSurface(sheet);
        // Whole cells with one-pixel gaps between them; a box collision can handle; some health.
        EXPECT_EQ((sheetW + 1) % (s.tileW + 1) + (sheetH + 1) % (s.tileH + 1), 0);
        EXPECT_TRUE(c.mob.w >= 1 && c.mob.w <= 16 && c.mob.h >= 1 && c.mob.h <= 16 && c.mob.hp >= 1);
        const animStruct &a = c.mob.animation;
        for (const animDir *d : {&a.idle, &a.walk, &a.jump, &a.die}) {
            EXPECT_EQ(d->left.numOfFrames, d->right.numOfFrames);
            for (const animFrame *l : {&d->left, &d->right}) {
                // Enough frames, and the box inside the sprite drawn over it.
                EXPECT_GE(l->numOfFrames, d == &a.jump ? 3 : 1);
                EXPECT_TRUE(l->posOfTile.x <= 0 && l->posOfTile.y <= 0 && l->posOfTile.x + s.tileW >= c.mob.w &&
                            l->posOfTile.y + s.tileH >= c.mob.h);
                for (int i = 0; i < l->numOfFrames; i++) {
                    const int f = l->frames[i];
                    EXPECT_TRUE(f >= 0 && f < s.numOfTiles && (f % s.row + 1) * (s.tileW + 1) <= sheetW + 1 &&
                                (f / s.row + 1) * (s.tileH + 1) <= sheetH + 1) << "sprite " << f;
                }
            }
        }
    }
}
