#include "animation.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sdldraw.h"

// Entries of the jump list for the three fixed poses.
const int JUMP_ENTRY_RISE = 0;
const int JUMP_ENTRY_APEX = 1;
const int JUMP_ENTRY_FALL = 2;

// Creatures cut from the same sheet file draw from one copy of it, loaded by
// the first and released with the last, so a level's memory grows with its
// kinds of creature rather than their number. There are seven sheet files;
// a sheet beyond the table, or with a name too long to keep, is loaded for
// its creature alone and released with it.
const int ANIM_SHARED_SHEETS = 16;
const int ANIM_SHEET_NAME_SIZE = 64;

struct AnimSheet {
    char filename[ANIM_SHEET_NAME_SIZE];
    SDL_Surface *image;
    int users; // creatures drawing from it; 0 marks a free entry
};

static AnimSheet animSheets[ANIM_SHARED_SHEETS];

// The sheet of filename, shared when it is already loaded. A sheet that fails
// to load is not kept, so each creature that asks for it reports it.
static SDL_Surface *animTakeSheet(const char *filename)
{
    AnimSheet *unused = nullptr;
    for (AnimSheet &sheet : animSheets) {
        if (sheet.users > 0 && strcmp(sheet.filename, filename) == 0) {
            sheet.users++;
            return sheet.image;
        }
        if (sheet.users == 0 && !unused)
            unused = &sheet;
    }
    SDL_Surface *image = loadImage(filename);
    if (image && unused && strlen(filename) < sizeof unused->filename) {
        snprintf(unused->filename, sizeof unused->filename, "%s", filename);
        unused->image = image;
        unused->users = 1;
    }
    return image;
}

// Lets go of a creature's sheet: a shared one is freed with its last user,
// one of its own at once.
static void animReleaseSheet(SDL_Surface **image)
{
    for (AnimSheet &sheet : animSheets) {
        if (sheet.users > 0 && sheet.image == *image) {
            *image = nullptr;
            if (--sheet.users == 0)
                freeImage(&sheet.image);
            return;
        }
    }
    freeImage(image);
}

int animSheetsHeld(void)
{
    int held = 0;
    for (const AnimSheet &sheet : animSheets)
        held += sheet.users > 0;
    return held;
}

void initAnim(animStruct *anim, const char *filename, int tileWidth, int tileHeight, int row, int numOfTiles)
{
    anim->animIMG = animTakeSheet(filename);
    clipImage(anim->animClip, tileWidth, tileHeight, row, numOfTiles);
}

void setAnim(int duration, int numOfFrames, animFrame *anim, ...)
{
    if (anim->frames) {
        fprintf(stderr, "ERROR: (setAnim) Animation array not NULL!\n");
        return;
    }
    int *frames = static_cast<int *>(malloc(sizeof(int) * (numOfFrames > 0 ? numOfFrames : 1)));
    if (!frames) {
        fprintf(stderr, "ERROR: (setAnim) Out of memory!\n");
        return;
    }
    va_list args;
    va_start(args, anim);
    for (int i = 0; i < numOfFrames; i++)
        frames[i] = va_arg(args, int);
    va_end(args);
    anim->frames = frames;
    anim->numOfFrames = numOfFrames;
    anim->duration = duration;
}

// Frees one frame list and leaves it empty, as a fresh record has it.
static void freeFrameList(animFrame *list)
{
    free(list->frames);
    *list = animFrame{};
}

// Frees both facings of one animation.
static void freeAnimDir(animDir *dir)
{
    freeFrameList(&dir->left);
    freeFrameList(&dir->right);
}

void freeAnim(animStruct *anim)
{
    animReleaseSheet(&anim->animIMG);
    freeAnimDir(&anim->idle);
    freeAnimDir(&anim->walk);
    freeAnimDir(&anim->jump);
    freeAnimDir(&anim->die);
}

// The animation a state draws from, or null for states that draw nothing.
static const animDir *animDirOfState(const animStruct *anim, int state)
{
    switch (state) {
    case STATE_IDLE:
        return &anim->idle;
    case STATE_WALK:
        return &anim->walk;
    case STATE_RISE:
    case STATE_APEX:
    case STATE_FALL:
        return &anim->jump;
    case STATE_STUNNED:
    case STATE_DYING:
        return &anim->die;
    default:
        return nullptr;
    }
}

// The list entry a state shows: a fixed pose for the jump states, else the running frame.
static int animEntryOfState(const animStruct *anim, int state)
{
    switch (state) {
    case STATE_RISE:
        return JUMP_ENTRY_RISE;
    case STATE_APEX:
        return JUMP_ENTRY_APEX;
    case STATE_FALL:
        return JUMP_ENTRY_FALL;
    default:
        return anim->currentFrame;
    }
}

// Whether a state runs its list (the jump poses and unknown states stand still).
static int animStateAdvances(int state)
{
    return state == STATE_IDLE || state == STATE_WALK || state == STATE_STUNNED || state == STATE_DYING;
}

int animBeginFrame(animStruct *anim, int state, int dir, const animFrame **list)
{
    // A new state starts its animation from the first entry, so a turn or a landing never shows a stale frame.
    if (state != anim->oldState) {
        anim->currentFrame = 0;
        anim->waitFrame = 0;
        anim->oldState = state;
    }
    // The list of the state's animation for the facing.
    *list = nullptr;
    const animDir *animation = animDirOfState(anim, state);
    if (!animation)
        return -1;
    const animFrame *chosen = dir ? &animation->right : &animation->left;
    *list = chosen;
    // The entry is wrapped: the counter runs on the right list, which may be
    //    longer than the left one; an empty list shows nothing.
    if (!chosen->frames || chosen->numOfFrames <= 0)
        return -1;
    const int entry = animEntryOfState(anim, state);
    if (entry < 0)
        return -1;
    const int sprite = chosen->frames[entry % chosen->numOfFrames];
    if (sprite < 0 || sprite >= TILE_COUNT)
        return -1;
    return sprite;
}

void animEndFrame(animStruct *anim, int state)
{
    if (!animStateAdvances(state))
        return;
    // The right list times the animation whatever the facing.
    const animFrame *timing = &animDirOfState(anim, state)->right;
    if (anim->waitFrame > 0) {
        anim->waitFrame--;
        return;
    }
    anim->waitFrame = timing->duration;
    if (anim->currentFrame < timing->numOfFrames - 1)
        anim->currentFrame++;
    else
        anim->currentFrame = 0;
}
