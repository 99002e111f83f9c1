// Enemies in play: a stunned enemy landing at exactly the settle speed, what a
// thrown enemy knocks out, and the activity area.
#include "gameplay_fixture.h"

namespace {

struct Enemies : GameplayTest {
    void SetUp() override { GameplayTest::SetUp(); fillTiles(0, FLOOR_ROW, 19, FLOOR_ROW, TILE_SOLID); }

    // An enemy moving at (vx, vy) in state; a stunned one (5) has 300 steps of stun left.
    static Enemy *mob(int type, float x, float y, float vx = 0, float vy = 0, int state = 0, int thrown = 0)
    {
        Enemy *e = addEnemy(type, x, y);
        e->creature.vx = vx; e->creature.vy = vy; e->creature.state = state;
        e->confusedTime = state == 5 ? 300 : 0; e->thrown = thrown;
        return e;
    }

    // Runs one update of one enemy and tells its motion after it.
    static std::string update(Enemy *e) { enemyUpdate(e); return motion(e->creature); }
};

} // namespace

// How a stunned enemy bounces, slides and rebounds off walls the rebound route
// and the levels' routes pin; only an exact 1.25 landing needs setting up.
TEST_F(Enemies, AStunnedEnemyLandingAtExactlyTheSettleSpeedStillBounces)
{
    EXPECT_EQ(update(mob(2, 100, 95.9f, 0, 1.15f, 5)), "100 95.9 0 -0.5 0 5");
}

// A thrown enemy knocks out what it touches, and itself, until it comes to
// rest, but passes through the one the player holds; a stunned one that was
// not thrown harms nothing.
TEST_F(Enemies, AThrownEnemyKnocksOutWhatItTouchesButTheCarriedOneUntilItComesToRest)
{
    const struct { float vx; int thrown, carried, thrownAfter, state, otherState; } cases[] = {
        {1, 1, 0, 1, 6, 6}, {0, 1, 0, 0, 5, 0}, {1, 0, 0, 0, 5, 0}, {1, 1, 1, 1, 5, 0}};
    for (const auto &c : cases) {
        const float x = 20.0f + 70.0f * (float)(&c - cases);
        Enemy *other = mob(0, x + 8, ON_FLOOR), *e = mob(2, x, ON_FLOOR, c.vx, 0, 5, c.thrown);
        other->carried = c.carried;
        update(e);
        EXPECT_EQ(std::tuple(e->thrown, e->creature.state, other->creature.state, other->carried),
                  std::tuple(c.thrownAfter, c.state, c.otherState, c.carried)) << &c - cases;
    }
}

TEST_F(Enemies, OnlyEnemiesNearTheCameraMoveAndFrozenOnesLoseTheirStun)
{
    // Camera centre (80, 60): 128 pixels across and 108 down are allowed.
    const float cases[][3] = {{200, 52, 0}, {200.9f, 52, 0}, {-56, 52, 0}, {72, 160, 0}, {72, -56, 0},
                              {201, 52, 1}, {-57, 52, 1},    {72, 161, 1}, {72, -57, 1}};
    for (const auto &at : cases)
        EXPECT_EQ(isEnemyTooFarAway(mob(0, at[0], at[1])), (int)at[2]) << at[0] << "," << at[1];
    Enemy *near = mob(2, 200, 40, 0, 0, 5), *far = mob(2, 201, 40, 0, 0, 5);
    enemyUpdateAll();
    EXPECT_EQ(std::tuple(motion(near->creature), near->confusedTime), std::tuple("200 40.1 0 0.1 0 5", 299));
    EXPECT_EQ(std::tuple(motion(far->creature), far->confusedTime), std::tuple("201 40 0 0 0 5", 0));
    // A level narrower than the screen shrinks the view and moves its centre, not the area's size.
    camera = {0, 0, 80, 120};
    EXPECT_EQ(isEnemyTooFarAway(mob(0, -80, 52)), 0);
}
