// Box tests and the per-pixel test of a creature's box against layer 0's masks.
#include "gameplay_fixture.h"

using Collision = GameplayTest;

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
    buildLevel(1, 1);
    setTile(0, 0, TILE_LOW_FLOOR);
    const struct { int x, y, w, h; unsigned int flags; } cases[] = {
        {0, 0, 16, 12, 1}, {0, 0, 16, 4, 0}, {15, 15, 1, 1, 1}};
    for (const auto &c : cases) {
        Creature mob{};
        mob.w = c.w; mob.h = c.h;
        EXPECT_EQ(checkCollision(c.x, c.y, &mob), c.flags) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }
}

TEST_F(Collision, AOneWayFloorHoldsOnlyWhatIsNotRisingAndWasAboveItsTop)
{
    setTile(2, FLOOR_ROW, TILE_ONE_WAY); // top at y 112; the box tried reaches one pixel into it
    const struct { float mobY, vy; unsigned int flags; } cases[] = {
        {96, 0, 1}, {96, -0.5f, 0}, {96.5f, 0.5f, 1}, {97, 0.5f, 0}}; // feet at 112.5 count as at 112
    for (const auto &c : cases) {
        Creature mob{};
        mob.w = mob.h = 16;
        mob.y = c.mobY; mob.vy = c.vy;
        EXPECT_EQ(checkCollision(32, 97, &mob), c.flags) << c.mobY << " moving " << c.vy;
    }
}
