// Box tests and the per-pixel test of a creature's box against layer 0's masks.
#include <cmath>

#include "gameplay_fixture.h"

using Collision = GameplayTest;

// The flags worked out pixel by pixel from the masks of the 16-pixel tiles, plus overlap with the exit tile.
static unsigned int referenceFlags(int x, int y, const Creature &mob)
{
    if (x < 0 || y < 0 || x + mob.w > curLvl.layer0.w * 16 || y + mob.h > curLvl.layer0.h * 16)
        return 1;
    const int ex = curLvl.exit.x * 16, ey = curLvl.exit.y * 16;
    unsigned int flags = ex < x + mob.w && x < ex + 16 && ey < y + mob.h && y < ey + 16 ? 4 : 0;
    for (int py = y; py < y + mob.h; py++)
        for (int px = x; px < x + mob.w; px++) {
            const int v = curLvl.layer0.colLayer[curLvl.layer0.array[px / 16][py / 16]][py % 16][px % 16];
            const bool fromAbove = mob.vy >= 0 && (int)floorf(mob.y) + mob.h <= py / 16 * 16;
            flags |= v == 1 || (v == 2 && fromAbove) ? 1 : v == 3 ? 2 : v == 4 ? 8 : 0;
        }
    return flags;
}

TEST(Boxes, EdgesAreExclusiveAndSharedEdgesDoNotCollide)
{
    Box b = {10, 20, 16, 8}, a = {0, 0, 16, 16}, rt = {16, 0, 16, 16}, dn = {0, 16, 16, 16}, c = {15, 15, 16, 16};
    auto in = [&b](int x, int y) { return isPixelInsideBox(&b, x, y); };
    // A box holds its first and last pixels but not one past either end; boxes meeting at an edge do not collide.
    EXPECT_EQ(in(10, 20) + in(25, 27) + boxesCollide(&a, &c) + boxesCollide(&c, &a), 4);
    EXPECT_EQ(in(26, 27) + in(25, 28) + in(9, 20) + in(10, 19), 0);
    EXPECT_EQ(boxesCollide(&a, &rt) + boxesCollide(&rt, &a) + boxesCollide(&a, &dn) + boxesCollide(&dn, &a), 0);
}

TEST_F(Collision, TilesBeyondTheRightAndBottomEdgesAreNotRead)
{
    // A one-tile level: boxes flush with its right and bottom edges read that tile alone.
    freeLevel();
    buildLevel(1, 1);
    setTile(0, 0, TILE_LOW_FLOOR);
    const struct { int x, y, w, h; unsigned int flags; } cases[] = {{0, 0, 16, 12, 1}, {0, 0, 16, 4, 0}, {15, 15, 1, 1, 1}};
    for (const auto &c : cases) {
        Creature mob{};
        mob.w = c.w; mob.h = c.h;
        EXPECT_EQ(checkCollision(c.x, c.y, &mob), c.flags) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
}

TEST_F(Collision, TheScanAgreesWithAPixelByPixelReference)
{
    // Random masks holding every byte value (unknown ones are ignored), a random
    // level of them, and random boxes up to 33 pixels, partly outside the level.
    srand(2024);
    for (int p = 20 * 256; p < 28 * 256; p++)
        curLvl.layer0.colLayer[p / 256][p / 16 % 16][p % 16] = rand() % 3 ? rand() % 2 * (rand() % 5) : rand() % 256;
    for (int p = 0; p < 20 * 12; p++)
        setTile(p % 20, p / 20, (unsigned char)(20 + rand() % 8));
    curLvl.exit = {7, 5};
    Creature mob{};
    for (int i = 0; i < 20000; i++) {
        mob.w = 1 + rand() % 33;
        mob.h = 1 + rand() % 33;
        mob.vy = (float)(rand() % 3 - 1) * 0.5f;
        const int x = rand() % 340 - 10, y = rand() % 210 - 10;
        mob.y = (float)(y - rand() % 3) + 0.25f * (float)(rand() % 4); // near the place tried, as in a step
        ASSERT_EQ(checkCollision(x, y, &mob), referenceFlags(x, y, mob)) << "case " << i;
    }
}
