// Fuzzes the creature definition reader: any file must load into frame lists
// whose counts match their arrays, and the creature must then animate in every
// state and facing without reading outside a list; its lists are freed after.
#include "animation.h"
#include "fileio.h"
#include "fuzz_input.h"

// Sprites in a sheet, and how many drawn frames each state is played for.
const int FUZZ_SPRITES = 256;
const int FUZZ_FRAMES_PER_STATE = 40;

// A list is empty with no array, or has an array of numOfFrames entries.
static void checkList(const animFrame *list)
{
    FUZZ_CHECK(list->numOfFrames >= 0);
    FUZZ_CHECK((list->frames == nullptr) == (list->numOfFrames == 0));
}

static void checkAnimation(const animDir *dir)
{
    checkList(&dir->left);
    checkList(&dir->right);
}

// Plays every state, the unknown ones around them included, in both facings.
static void playEveryState(animStruct *anim)
{
    for (int state = -1; state <= STATE_DYING + 1; state++) {
        for (int dir = 0; dir <= 1; dir++) {
            for (int frame = 0; frame < FUZZ_FRAMES_PER_STATE; frame++) {
                const animFrame *list = nullptr;
                const int sprite = animBeginFrame(anim, state, dir, &list);
                FUZZ_CHECK(sprite >= -1 && sprite < FUZZ_SPRITES);
                animEndFrame(anim, state);
            }
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Creature mob = {};
    FUZZ_CHECK(loadMobConfig(&mob, fuzzInputFile(data, size)) == 0);
    checkAnimation(&mob.animation.idle);
    checkAnimation(&mob.animation.walk);
    checkAnimation(&mob.animation.jump);
    checkAnimation(&mob.animation.die);
    playEveryState(&mob.animation);
    freeAnim(&mob.animation);
    return 0;
}
