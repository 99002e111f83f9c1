// Box tests and the per-pixel test of a creature's box against layer 0's masks.
#include <cmath>
#include <cstdlib>

#include "gameplay_fixture.h"

namespace {

class Collision : public GameplayTest {
protected:
    Creature mob{};

    // A creature of w x h standing at (x, y) with vertical speed vy.
    void shape(int w, int h, float y = 0, float vy = 0)
    {
        mob.w = w;
        mob.h = h;
        mob.y = y;
        mob.vy = vy;
    }
};

// The flags of one mask pixel of the level, worked out pixel by pixel.
unsigned int pixelFlags(int px, int py, Creature *mob)
{
    const int tileRow = py / TILE_SIZE;
    const int v = curLvl.layer0.colLayer[curLvl.layer0.array[px / TILE_SIZE][tileRow]][py % TILE_SIZE][px % TILE_SIZE];
    if (v == 1)
        return 1;
    if (v == 2 && mob->vy >= 0 && (int)floorf(mob->y) + mob->h <= tileRow * TILE_SIZE)
        return 1;
    if (v == 3)
        return 2;
    if (v == 4)
        return 8;
    return 0;
}

// Reference answer: every pixel of the box, plus overlap with the exit tile.
unsigned int referenceFlags(int x, int y, Creature *mob)
{
    if (x < 0 || y < 0 || x + mob->w > curLvl.layer0.w * TILE_SIZE || y + mob->h > curLvl.layer0.h * TILE_SIZE)
        return 1;
    unsigned int flags = 0;
    for (int py = y; py < y + mob->h; py++)
        for (int px = x; px < x + mob->w; px++)
            flags |= pixelFlags(px, py, mob);
    const int ex = curLvl.exit.x * TILE_SIZE, ey = curLvl.exit.y * TILE_SIZE;
    if (ex < x + mob->w && x < ex + TILE_SIZE && ey < y + mob->h && y < ey + TILE_SIZE)
        flags |= 4;
    return flags;
}

} // namespace

TEST(Boxes, EdgesAreExclusiveAndSharedEdgesDoNotCollide)
{
    Box box = {10, 20, 16, 8};
    EXPECT_EQ(isPixelInsideBox(&box, 10, 20), 1);
    EXPECT_EQ(isPixelInsideBox(&box, 25, 27), 1);
    EXPECT_EQ(isPixelInsideBox(&box, 26, 27), 0);
    EXPECT_EQ(isPixelInsideBox(&box, 25, 28), 0);
    EXPECT_EQ(isPixelInsideBox(&box, 9, 20), 0);
    EXPECT_EQ(isPixelInsideBox(&box, 10, 19), 0);

    Box a = {0, 0, 16, 16}, right = {16, 0, 16, 16}, below = {0, 16, 16, 16}, corner = {15, 15, 16, 16};
    EXPECT_EQ(boxesCollide(&a, &right), 0);
    EXPECT_EQ(boxesCollide(&right, &a), 0);
    EXPECT_EQ(boxesCollide(&a, &below), 0);
    EXPECT_EQ(boxesCollide(&a, &corner), 1);
    EXPECT_EQ(boxesCollide(&corner, &a), 1);
}

TEST_F(Collision, LeavingTheLevelIsExactlyBlockedWhateverLiesThere)
{
    // The whole 20 x 12 level is water with a hazard column and the exit at the border.
    fillTiles(0, 0, 19, 11, TILE_WATER);
    fillTiles(0, 0, 0, 11, TILE_HAZARD);
    curLvl.exit = {0, 11};
    shape(16, 16);
    EXPECT_EQ(checkCollision(-1, 100, &mob), 1u);
    EXPECT_EQ(checkCollision(20 * 16 - 16 + 1, 100, &mob), 1u);
    EXPECT_EQ(checkCollision(0, -1, &mob), 1u);
    EXPECT_EQ(checkCollision(0, 12 * 16 - 16 + 1, &mob), 1u);
    // Flush with the borders is still inside.
    EXPECT_EQ(checkCollision(0, 12 * 16 - 16, &mob), 4u | 8u);
    EXPECT_EQ(checkCollision(20 * 16 - 16, 0, &mob), 2u);
}

TEST_F(Collision, StandingOnAFloorIsFreeOnePixelLowerIsBlocked)
{
    fillTiles(0, 7, 19, 7, TILE_SOLID); // floor top at y = 112
    shape(16, 16);
    EXPECT_EQ(checkCollision(40, 96, &mob), 0u);
    EXPECT_EQ(checkCollision(40, 97, &mob), 1u);
    // A low floor whose first solid row is 116.
    fillTiles(0, 7, 19, 7, TILE_LOW_FLOOR);
    EXPECT_EQ(checkCollision(40, 100, &mob), 0u);
    EXPECT_EQ(checkCollision(40, 101, &mob), 1u);
}

TEST_F(Collision, OneWayPlatformsHoldOnlyWhatComesFromAbove)
{
    fillTiles(3, 4, 3, 4, TILE_ONE_WAY); // top at y = 64
    shape(16, 16, 48.0f, 0.5f);
    EXPECT_EQ(checkCollision(48, 49, &mob), 1u);
    shape(16, 16, 48.0f, -0.5f); // moving up passes through
    EXPECT_EQ(checkCollision(48, 49, &mob), 0u);
    shape(16, 16, 48.5f, 0.5f); // bottom edge 64.5 floors to 64: still above
    EXPECT_EQ(checkCollision(48, 49, &mob), 1u);
    shape(16, 16, 49.0f, 0.5f); // already below the top: falls through
    EXPECT_EQ(checkCollision(48, 50, &mob), 0u);
    // The tile's top counts, not the pixel's row: deep inside the tile a
    // creature that stood on its top is still held.
    shape(16, 16, 48.0f, 0.0f);
    EXPECT_EQ(checkCollision(48, 60, &mob), 1u);
}

TEST_F(Collision, ExitNeedsAnOverlapAndKindsCombine)
{
    curLvl.exit = {5, 5}; // pixels 80..95
    shape(16, 16);
    EXPECT_EQ(checkCollision(65, 80, &mob), 4u);   // one pixel column inside
    EXPECT_EQ(checkCollision(64, 80, &mob), 0u);   // only the edges meet
    EXPECT_EQ(checkCollision(80, 64, &mob), 0u);
    EXPECT_EQ(checkCollision(80, 65, &mob), 4u);

    // Solid, water and hazard under one box, next to the exit.
    setTile(5, 6, TILE_SOLID);
    setTile(6, 6, TILE_WATER);
    setTile(6, 5, TILE_HAZARD);
    EXPECT_EQ(checkCollision(88, 88, &mob), 1u | 2u | 4u | 8u);
    EXPECT_EQ(checkCollision(96, 88, &mob), 2u | 8u); // one column right: water and hazard only
}

TEST_F(Collision, TilesBeyondTheRightAndBottomEdgesAreNotRead)
{
    // A one-tile level: the scan's second column and row lie outside the grid.
    freeLevel();
    buildLevel(1, 1);
    setTile(0, 0, TILE_LOW_FLOOR);
    shape(16, 12);
    EXPECT_EQ(checkCollision(0, 0, &mob), 1u);
    shape(16, 4);
    EXPECT_EQ(checkCollision(0, 0, &mob), 0u);
    shape(1, 1);
    EXPECT_EQ(checkCollision(15, 15, &mob), 1u);
}

TEST_F(Collision, EveryPixelOfTheBoxIsTestedAndNoOther)
{
    // A level of random masks under random boxes, checked pixel by pixel. Boxes
    // reach 33 pixels, wider than any creature, to show no pixel goes unseen.
    srand(7);
    for (int tile = 10; tile < 16; tile++)
        for (int r = 0; r < 16; r++)
            for (int c = 0; c < 16; c++)
                curLvl.layer0.colLayer[tile][r][c] = (unsigned char)(rand() % 10 < 7 ? 0 : rand() % 6);
    for (int x = 0; x < 20; x++)
        for (int y = 0; y < 12; y++)
            setTile(x, y, (unsigned char)(10 + rand() % 6));
    curLvl.exit = {4, 3};
    for (int i = 0; i < 3000; i++) {
        shape(1 + rand() % 33, 1 + rand() % 33, (float)(rand() % 200) + 0.5f * (float)(rand() % 2),
              (float)(rand() % 3 - 1));
        const int x = rand() % 330 - 5, y = rand() % 200 - 5;
        ASSERT_EQ(checkCollision(x, y, &mob), referenceFlags(x, y, &mob))
            << "box " << mob.w << "x" << mob.h << " at " << x << "," << y << " y " << mob.y << " vy " << mob.vy;
    }
}

namespace {

// The collision test as it was first written, kept as the reference for the
// row scan that replaced it: every pixel of each scanned tile's mask is tested
// against the box on its own.
unsigned int perPixelTileFlags(Box *box, int tileX, int tileY, Creature *creature)
{
    unsigned char mask[TILE_SIZE][TILE_SIZE];
    returnColArray(mask, tileX, tileY);
    const int oneWaySolid = creature->vy >= 0 && (int)floorf(creature->y) + creature->h <= tileY * TILE_SIZE;
    unsigned int result = 0;
    for (int r = 0; r < TILE_SIZE; r++) {
        for (int c = 0; c < TILE_SIZE; c++) {
            const int v = mask[r][c];
            if (v == 0 || !isPixelInsideBox(box, tileX * TILE_SIZE + c, tileY * TILE_SIZE + r))
                continue;
            if (v == 1 || (v == 2 && oneWaySolid))
                result |= 1;
            else if (v == 3)
                result |= 2;
            else if (v == 4)
                result |= 8;
        }
    }
    return result;
}

unsigned int perPixelCheckCollision(int newX, int newY, Creature *creature)
{
    const int levelW = curLvl.layer0.w * TILE_SIZE, levelH = curLvl.layer0.h * TILE_SIZE;
    if (newX < 0 || newX > levelW - creature->w || newY < 0 || newY > levelH - creature->h)
        return 1;
    Box box = {newX, newY, creature->w, creature->h};
    const int tileXStart = newX / TILE_SIZE, tileYStart = newY / TILE_SIZE;
    const int lastX = (newX + creature->w - 1) / TILE_SIZE, lastY = (newY + creature->h - 1) / TILE_SIZE;
    const int tileXEnd = lastX > tileXStart + 1 ? lastX : tileXStart + 1;
    const int tileYEnd = lastY > tileYStart + 1 ? lastY : tileYStart + 1;
    unsigned int result = 0;
    for (int tileY = tileYStart; tileY <= tileYEnd; tileY++) {
        for (int tileX = tileXStart; tileX <= tileXEnd; tileX++) {
            if (tileY >= curLvl.layer0.h || tileX >= curLvl.layer0.w)
                continue;
            Box tile = {tileX * TILE_SIZE, tileY * TILE_SIZE, TILE_SIZE, TILE_SIZE};
            if (tileX == curLvl.exit.x && tileY == curLvl.exit.y && boxesCollide(&box, &tile))
                result |= 4;
            result |= perPixelTileFlags(&box, tileX, tileY, creature);
        }
    }
    return result;
}

} // namespace

TEST_F(Collision, TheRowScanAnswersExactlyAsThePerPixelScanDid)
{
    // Random masks holding every byte value (unknown ones must stay ignored),
    // a random level of them, and random boxes, sizes, speeds and places,
    // partly outside the level, compared with the per-pixel scan.
    srand(2024);
    for (int tile = 20; tile < 28; tile++)
        for (int r = 0; r < 16; r++)
            for (int c = 0; c < 16; c++)
                curLvl.layer0.colLayer[tile][r][c] =
                    (unsigned char)(rand() % 3 == 0 ? rand() % 256 : (rand() % 2 ? 0 : rand() % 5));
    for (int x = 0; x < 20; x++)
        for (int y = 0; y < 12; y++)
            setTile(x, y, (unsigned char)(20 + rand() % 8));
    curLvl.exit = {7, 5};
    const float speeds[] = {-0.5f, 0.0f, 0.5f};
    for (int i = 0; i < 20000; i++) {
        shape(rand() % 42 - 1, rand() % 42 - 1, (float)(rand() % 220 - 10) + 0.25f * (float)(rand() % 4),
              speeds[rand() % 3]);
        const int x = rand() % 340 - 10, y = rand() % 210 - 10;
        ASSERT_EQ(checkCollision(x, y, &mob), perPixelCheckCollision(x, y, &mob))
            << "box " << mob.w << "x" << mob.h << " at " << x << "," << y << " y " << mob.y << " vy " << mob.vy;
    }
}
