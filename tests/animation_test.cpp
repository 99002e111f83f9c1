// Creature animations: which sprite each drawn frame shows and how the counters run.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "animation.h"
#include "sdldraw.h"
#include "test_util.h"

namespace {

using Sprites = std::vector<int>;

// A creature as a new one has it, without a sprite sheet; its lists are released at the end.
struct Anim : ::testing::Test {
    Creature mob{};
    animStruct *a = &mob.animation;
    void TearDown() override { freeAnim(a); }

    // Draws count frames in one state and facing; tells the sprite each showed, -1 for none.
    Sprites drawn(int state, int dir, int count)
    {
        Sprites shown;
        const animFrame *list = nullptr;
        while (count-- > 0) {
            shown.push_back(animBeginFrame(a, state, dir, &list));
            drawAnim(&mob, SDL_Rect{}, state, dir);
        }
        return shown;
    }
};

} // namespace

TEST_F(Anim, EntryZeroShowsOneFrameAfterAStateChangeThenEachEntryDurationPlusOne)
{
    setAnim(2, 3, &a->walk.right, 10, 11, 12);
    setAnim(2, 3, &a->walk.left, 20, 21, 22);
    // A list is built once: the second is refused.
    EXPECT_EQ(printed([this] { setAnim(1, 1, &a->walk.right, 5); }), "|ERROR: (setAnim) Animation array not NULL!\n");
    EXPECT_EQ(drawn(STATE_WALK, 1, 13), (Sprites{10, 11, 11, 11, 12, 12, 12, 10, 10, 10, 11, 11, 11}));
    // Turning round keeps the counters: the left list goes on at the same entry.
    EXPECT_EQ(drawn(STATE_WALK, 0, 4), (Sprites{22, 22, 22, 20}));
    // Another state restarts them.
    setAnim(1, 2, &a->die.right, 50, 51);
    EXPECT_EQ(drawn(STATE_STUNNED, 1, 7), (Sprites{50, 51, 51, 50, 50, 51, 51}));
}

TEST_F(Anim, StandingWalkingJumpingAndStunnedOrDyingEachDrawFromTheirOwnList)
{
    setAnim(0, 1, &a->idle.right, 1); setAnim(0, 1, &a->walk.right, 2);
    setAnim(0, 3, &a->jump.right, 3, 4, 5); setAnim(0, 1, &a->die.right, 6);
    Sprites shown;
    for (int state = STATE_IDLE; state <= STATE_DYING; state++)
        shown.push_back(drawn(state, 1, 1)[0]);
    EXPECT_EQ(shown, (Sprites{1, 2, 3, 4, 5, 6, 6}));
}

TEST_F(Anim, JumpPosesAreFixedShortListsWrapAndImpossibleEntriesDrawNothing)
{
    setAnim(3, 3, &a->jump.right, 30, 31, 32);
    setAnim(3, 2, &a->jump.left, 40, 41); // two poses for three states
    EXPECT_EQ(drawn(STATE_RISE, 1, 2), (Sprites{30, 30}));
    EXPECT_EQ(drawn(STATE_APEX, 0, 2), (Sprites{41, 41}));
    EXPECT_EQ(drawn(STATE_FALL, 1, 2), (Sprites{32, 32}));
    EXPECT_EQ(drawn(STATE_FALL, 0, 1), (Sprites{40}));
    EXPECT_EQ(std::tuple(a->currentFrame, a->waitFrame), std::tuple(0, 0));
    // The right list times the animation for both facings; a shorter left list wraps.
    setAnim(0, 4, &a->walk.right, 1, 2, 3, 4);
    setAnim(0, 2, &a->walk.left, 7, 8);
    EXPECT_EQ(drawn(STATE_WALK, 0, 6), (Sprites{7, 8, 7, 8, 7, 8}));
    // An unknown state draws nothing but restarts the counters.
    EXPECT_EQ(drawn(7, 1, 1), (Sprites{-1}));
    EXPECT_EQ(std::tuple(a->currentFrame, a->waitFrame, a->oldState), std::tuple(0, 0, 7));
    EXPECT_EQ(drawn(STATE_IDLE, 1, 2), (Sprites{-1, -1})); // no list at all
    setAnim(0, 2, &a->die.right, 256, -1);                 // outside the sheet's 256 cells
    EXPECT_EQ(drawn(STATE_DYING, 1, 2), (Sprites{-1, -1}));
    // A new sprite sheet, even one that fails to load, leaves the lists and counters as they were.
    printed([this] { initAnim(a, "data/gfx/no-such-sheet.bmp", 16, 16, 16, 256); });
    EXPECT_EQ(std::tuple(a->animIMG, a->oldState, a->walk.left.numOfFrames), std::tuple(nullptr, STATE_DYING, 2));
}
