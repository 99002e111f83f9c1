// Enemies in play where the pinned routes do not reach: every kind of stunned
// bounce, the enemy the player holds, and the activity area.
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

    // Runs n updates of one enemy and tells its motion after them.
    static std::string update(Enemy *e, int n = 1) { while (n-- > 0) enemyUpdate(e); return motion(e->creature); }
};

} // namespace

TEST_F(Enemies, AStunnedEnemyBouncesSlidesAndReboundsOffWallsOnlyInTheAir)
{
    fillTiles(10, 0, 10, 11, TILE_SOLID); // wall from x 160
    const struct { float x, y, vx, vy; const char *after; } cases[] = {
        {100, 95, 0, 1.9f, "100 95 0 -0.8 0 5"},                 // a 2.0 fall at the floor bounces up at -0.8
        {100, 95.9f, 0, 1.15f, "100 95.9 0 -0.5 0 5"},           // exactly 1.25 still bounces, at -0.5
        {100, 95.9f, 0, 1.1f, "100 95.9 0 0 1 5"},               // slower settles
        {100, ON_FLOOR, 1.0f, 0, "101 96.95 0.9 0 1 5"},         // sliding keeps nine tenths...
        {100, ON_FLOOR, 0.9f, 0, "100.9 96.95 0.81 0 1 5"},      // ...taken in double
        {100, ON_FLOOR, 0.112f, 0, "100.112 96.95 0.1008 0 1 5"},
        {100, ON_FLOOR, -0.11f, 0, "99.89 96.95 0 0 1 5"},       // below a tenth it stops
        {144.5f, 40, 1.3f, 0, "144.5 40.1 -0.90999997 0.1 0 5"}, // a wall in the air: back at 0.7
        {144.5f, ON_FLOOR, 1.3f, 0, "144.5 96.95 0 0 1 5"},      // a wall on the ground: stop
    };
    for (const auto &c : cases)
        EXPECT_EQ(update(mob(2, c.x, c.y, c.vx, c.vy, 5)), c.after);
}

// What a throw knocks out, and when a thrown enemy comes to rest, the pinned
// routes show; a thrown enemy passing through the one the player holds no route reaches.
TEST_F(Enemies, AThrownEnemyLeavesTheCarriedOneAlone)
{
    Enemy *held = mob(0, 105, 50, 0, 0, 5);
    held->carried = 1;
    Enemy *thrown = mob(2, 100, 50, 1.0f, -1.0f, 5, 1);
    update(thrown);
    EXPECT_EQ(std::tuple(thrown->creature.state, held->creature.state, held->carried), std::tuple(5, 5, 1));
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
