// Creature animations: frame lists, the counters behind drawAnim, and release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "animation.h"
#include "sdldraw.h"
#include "test_util.h"

namespace {

// One drawn frame as drawAnim runs it; returns the sprite index shown, -1 for none.
int drawnSprite(animStruct *anim, int state, int dir)
{
    const animFrame *list = nullptr;
    const int sprite = animBeginFrame(anim, state, dir, &list);
    animEndFrame(anim, state);
    return sprite;
}

// The sprites shown by count drawn frames in one state and facing.
std::vector<int> drawnSprites(animStruct *anim, int state, int dir, int count)
{
    std::vector<int> shown;
    for (int k = 0; k < count; k++)
        shown.push_back(drawnSprite(anim, state, dir));
    return shown;
}

// A creature record as a new enemy has it: everything zero.
struct ZeroedCreature {
    Creature mob{};
    ~ZeroedCreature() { freeAnim(&mob.animation); }
};

} // namespace

TEST(Animation, EntryZeroShowsOneFrameAfterAStateChangeThenEachEntryDurationPlusOne)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(2, 3, &a->walk.right, 10, 11, 12);
    setAnim(2, 3, &a->walk.left, 20, 21, 22);

    EXPECT_EQ(drawnSprites(a, STATE_WALK, 1, 13),
              (std::vector<int>{10, 11, 11, 11, 12, 12, 12, 10, 10, 10, 11, 11, 11}));
    EXPECT_EQ(a->oldState, STATE_WALK);

    // Turning round keeps the counters: the left list continues at the same entry.
    EXPECT_EQ(drawnSprites(a, STATE_WALK, 0, 4), (std::vector<int>{22, 22, 22, 20}));
}

TEST(Animation, ShortAndFastListsAndRestartsOnEveryStateChange)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(5, 1, &a->idle.right, 4);
    setAnim(0, 3, &a->walk.right, 1, 2, 3);

    // A single entry is all a one-frame list ever shows.
    EXPECT_EQ(drawnSprites(a, STATE_IDLE, 1, 8), (std::vector<int>(8, 4)));

    // Duration 0 advances on every drawn frame.
    EXPECT_EQ(drawnSprites(a, STATE_WALK, 1, 5), (std::vector<int>{1, 2, 3, 1, 2}));

    // Walk, idle, walk: the walk starts over at its first entry.
    EXPECT_EQ(drawnSprite(a, STATE_IDLE, 1), 4);
    EXPECT_EQ(drawnSprites(a, STATE_WALK, 1, 2), (std::vector<int>{1, 2}));
}

TEST(Animation, JumpPosesAreFixedAndLeaveTheCountersAlone)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(3, 3, &a->jump.right, 30, 31, 32);
    setAnim(3, 3, &a->jump.left, 40, 41, 42);
    a->jump.left.posOfTile = Point{-2, -1};

    const int poses[] = {STATE_RISE, STATE_APEX, STATE_FALL};
    for (int k = 0; k < 3; k++) {
        EXPECT_EQ(drawnSprites(a, poses[k], 1, 3), (std::vector<int>(3, 30 + k)));
        EXPECT_EQ(a->currentFrame, 0);
        EXPECT_EQ(a->waitFrame, 0);
    }

    // The apex facing left comes from the left list, with that list's offset.
    const animFrame *list = nullptr;
    EXPECT_EQ(animBeginFrame(a, STATE_APEX, 0, &list), 41);
    EXPECT_EQ(list, &a->jump.left);
    EXPECT_EQ(list->posOfTile.x, -2);
    EXPECT_EQ(list->posOfTile.y, -1);

    // A jump list with fewer than three poses repeats them instead of reading past its end.
    ZeroedCreature shortJump;
    setAnim(0, 2, &shortJump.mob.animation.jump.right, 7, 8);
    EXPECT_EQ(drawnSprite(&shortJump.mob.animation, STATE_FALL, 1), 7);
}

TEST(Animation, StunnedAndDyingLoopTheDieList)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(1, 2, &a->die.right, 50, 51);
    EXPECT_EQ(drawnSprites(a, STATE_STUNNED, 1, 7), (std::vector<int>{50, 51, 51, 50, 50, 51, 51}));
    EXPECT_EQ(drawnSprites(a, STATE_DYING, 1, 3), (std::vector<int>{50, 51, 51}));
}

TEST(Animation, AnUnknownStateDrawsNothingButRestartsTheCounters)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(0, 3, &a->walk.right, 1, 2, 3);
    drawnSprites(a, STATE_WALK, 1, 2);
    ASSERT_EQ(a->currentFrame, 2);

    const animFrame *list = &a->walk.right;
    EXPECT_EQ(animBeginFrame(a, 7, 1, &list), -1);
    EXPECT_EQ(list, nullptr);
    animEndFrame(a, 7);
    EXPECT_EQ(a->currentFrame, 0);
    EXPECT_EQ(a->waitFrame, 0);
    EXPECT_EQ(a->oldState, 7);
}

TEST(Animation, ALeftListShorterThanTheRightOneWrapsAround)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(0, 4, &a->walk.right, 1, 2, 3, 4);
    setAnim(0, 2, &a->walk.left, 7, 8);
    EXPECT_EQ(drawnSprites(a, STATE_WALK, 0, 6), (std::vector<int>{7, 8, 7, 8, 7, 8}));
    EXPECT_EQ(a->currentFrame, 2); // the counter still runs over the four right entries
}

TEST(Animation, EmptyListsAndImpossibleSpritesDrawNothing)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;

    // No lists at all: nothing is drawn and the counter stays at the start.
    EXPECT_EQ(drawnSprites(a, STATE_IDLE, 1, 3), (std::vector<int>(3, -1)));
    EXPECT_EQ(a->currentFrame, 0);

    // A count without an array is never read.
    a->walk.left.numOfFrames = 3;
    EXPECT_EQ(drawnSprite(a, STATE_WALK, 0), -1);

    // An empty left list beside a full right one: the right one still times the animation.
    setAnim(0, 2, &a->die.right, 5, 6);
    setAnim(0, 0, &a->die.left);
    EXPECT_EQ(drawnSprites(a, STATE_DYING, 0, 3), (std::vector<int>(3, -1)));
    EXPECT_EQ(drawnSprites(a, STATE_DYING, 1, 2), (std::vector<int>{6, 5}));

    // A sprite index outside the sheet's 256 cells shows nothing.
    setAnim(0, 2, &a->idle.right, 256, -1);
    EXPECT_EQ(drawnSprites(a, STATE_IDLE, 1, 2), (std::vector<int>{-1, -1}));
}

TEST(Animation, DrawAnimAdvancesLikeItsTwoHalvesEvenWithoutASheet)
{
    ZeroedCreature drawn, counted;
    setAnim(1, 3, &drawn.mob.animation.walk.right, 1, 2, 3);
    setAnim(1, 3, &counted.mob.animation.walk.right, 1, 2, 3);
    const SDL_Rect coord = {10, 20, 12, 15};
    for (int k = 0; k < 9; k++) {
        drawAnim(&drawn.mob, coord, STATE_WALK, 1);
        drawnSprite(&counted.mob.animation, STATE_WALK, 1);
        EXPECT_EQ(drawn.mob.animation.currentFrame, counted.mob.animation.currentFrame) << "frame " << k;
        EXPECT_EQ(drawn.mob.animation.waitFrame, counted.mob.animation.waitFrame) << "frame " << k;
    }
}

TEST(Animation, SetAnimBuildsAListOnceAndReportsTheSecondAttempt)
{
    animFrame list{};
    list.posOfTile = Point{3, 4};
    setAnim(6, 3, &list, 9, 8, 7);
    ASSERT_NE(list.frames, nullptr);
    EXPECT_EQ(list.numOfFrames, 3);
    EXPECT_EQ(list.duration, 6);
    EXPECT_EQ(list.frames[0], 9);
    EXPECT_EQ(list.frames[2], 7);
    EXPECT_EQ(list.posOfTile.x, 3);

    int *const before = list.frames;
    testing::internal::CaptureStderr();
    setAnim(1, 1, &list, 5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: (setAnim) Animation array not NULL!\n");
    EXPECT_EQ(list.frames, before);
    EXPECT_EQ(list.numOfFrames, 3);
    EXPECT_EQ(list.duration, 6);
    EXPECT_EQ(list.frames[0], 9);
    free(list.frames);
}

TEST(Animation, FreeAnimReleasesEverythingSoTheCreatureCanBeBuiltAgain)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    a->animIMG = SDL_LoadBMP("data/gfx/monkeyAni.bmp");
    ASSERT_NE(a->animIMG, nullptr);
    setAnim(8, 2, &a->idle.left, 1, 2);
    setAnim(8, 2, &a->idle.right, 1, 2);
    setAnim(6, 3, &a->walk.right, 3, 4, 5);
    setAnim(0, 3, &a->jump.left, 6, 7, 8);
    setAnim(9, 1, &a->die.right, 9);
    a->die.right.posOfTile = Point{-2, -1};

    freeAnim(a);
    EXPECT_EQ(a->animIMG, nullptr);
    const animDir *dirs[] = {&a->idle, &a->walk, &a->jump, &a->die};
    for (const animDir *d : dirs) {
        EXPECT_EQ(d->left.frames, nullptr);
        EXPECT_EQ(d->right.frames, nullptr);
        EXPECT_EQ(d->right.numOfFrames, 0);
    }
    EXPECT_EQ(a->die.right.posOfTile.x, 0);

    // A second game builds the lists afresh without complaint; freeing twice is harmless.
    testing::internal::CaptureStderr();
    setAnim(8, 2, &a->idle.right, 1, 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    freeAnim(a);
    freeAnim(a);
}

TEST(Animation, InitAnimTakesANewSheetAndKeepsListsAndCounters)
{
    ZeroedCreature c;
    animStruct *a = &c.mob.animation;
    setAnim(4, 2, &a->walk.right, 1, 2);
    a->currentFrame = 1;
    a->waitFrame = 3;
    a->oldState = STATE_WALK;

    testing::internal::CaptureStderr();
    initAnim(a, "data/gfx/no-such-sheet.bmp", 16, 16, 16, 256);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(a->animIMG, nullptr);
    EXPECT_EQ(a->walk.right.numOfFrames, 2);
    EXPECT_EQ(a->walk.right.frames[1], 2);
    EXPECT_EQ(a->currentFrame, 1);
    EXPECT_EQ(a->waitFrame, 3);
    EXPECT_EQ(a->oldState, STATE_WALK);
}
