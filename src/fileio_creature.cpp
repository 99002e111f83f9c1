// The creature definition file: a creature's box, health and animation lists.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Where the walk over a definition file stands; the flags are set by their
// keywords and never cleared, except parseFrames.
struct MobConfigWalk {
    Creature *mob;
    int parseAnimType;    // "ANIMATION:" seen: animation keywords may follow
    int parseDirection;   // an animation keyword seen: direction keywords may follow
    int parseAnim;        // data keywords may follow
    int parseFrames;      // the previous word was "frames"
    animDir *curDir;      // the animation named last
    animFrame *curFrames; // the list selected last, null before any LEFT/RIGHT
};

// Replaces the selected list with the count sprite indices in words; an
// empty or unallocatable list leaves it with no frames.
static void mobConfigSetFrames(animFrame *list, char **words, int count)
{
    free(list->frames);
    list->frames = nullptr;
    list->numOfFrames = 0;
    if (count <= 0)
        return;
    int *frames = static_cast<int *>(malloc(sizeof(int) * count));
    if (!frames) {
        fprintf(stderr, "ERROR (loadMobConfig): Out of memory!\n");
        return;
    }
    for (int j = 0; j < count; j++)
        frames[j] = atoi(words[j]);
    list->frames = frames;
    list->numOfFrames = count;
}

// The data keywords of the selected list; arguments missing from the line leave it alone.
static void mobConfigDataWord(MobConfigWalk *walk, char **words, int n, int i)
{
    animFrame *list = walk->curFrames;
    walk->parseFrames = list && strcmp(words[i], "frames") == 0;
    if (!list)
        return;
    if (strcmp(words[i], "pos") == 0 && i + 2 < n) {
        list->posOfTile.x = readBoundedNumber(words[i + 1], -CREATURE_MAX_SIDE, CREATURE_MAX_SIDE);
        list->posOfTile.y = readBoundedNumber(words[i + 2], -CREATURE_MAX_SIDE, CREATURE_MAX_SIDE);
    }
    if (strcmp(words[i], "duration") == 0 && i + 1 < n)
        list->duration = atoi(words[i + 1]);
}

// An animation keyword selects the animation the following blocks fill.
static void mobConfigAnimationWord(MobConfigWalk *walk, const char *word)
{
    animStruct *anim = &walk->mob->animation;
    animDir *named = nullptr;
    if (strcmp(word, "IDLE") == 0)
        named = &anim->idle;
    else if (strcmp(word, "WALK") == 0)
        named = &anim->walk;
    else if (strcmp(word, "JUMP") == 0)
        named = &anim->jump;
    else if (strcmp(word, "DIE") == 0)
        named = &anim->die;
    if (named) {
        walk->curDir = named;
        walk->parseDirection = 1;
    }
}

// A direction keyword selects the list within the animation named last; once
// an animation is named, every word lets data keywords follow.
static void mobConfigDirectionWord(MobConfigWalk *walk, const char *word)
{
    if (strcmp(word, "LEFT") == 0)
        walk->curFrames = &walk->curDir->left;
    else if (strcmp(word, "RIGHT") == 0)
        walk->curFrames = &walk->curDir->right;
    walk->parseAnim = 1;
}

// The box size and health, accepted anywhere in the file and kept within a
// creature's bounds.
static void mobConfigSizeWord(Creature *mob, char **words, int n, int i)
{
    if (i + 1 >= n)
        return;
    if (strcmp(words[i], "WIDTH:") == 0)
        mob->w = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_SIDE);
    else if (strcmp(words[i], "HEIGHT:") == 0)
        mob->h = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_SIDE);
    else if (strcmp(words[i], "HEALTH:") == 0)
        mob->hp = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_HEALTH);
}

// One line of a definition file: every word goes through every step, so
// keywords count wherever they stand.
static void mobConfigLine(char **words, int n, void *ctx)
{
    MobConfigWalk *walk = static_cast<MobConfigWalk *>(ctx);
    for (int i = 0; i < n; i++) {
        // The words after "frames" are the list.
        if (walk->parseFrames)
            mobConfigSetFrames(walk->curFrames, words + i, n - i);
        // Data keywords, once a list may be selected.
        if (walk->parseAnim)
            mobConfigDataWord(walk, words, n, i);
        // Animation keywords, after "ANIMATION:".
        if (walk->parseAnimType)
            mobConfigAnimationWord(walk, words[i]);
        // Direction keywords, after an animation keyword.
        if (walk->parseDirection)
            mobConfigDirectionWord(walk, words[i]);
        mobConfigSizeWord(walk->mob, words, n, i);
        // Checked last, so "ANIMATION:" itself is not read as an animation keyword.
        if (strcmp(words[i], "ANIMATION:") == 0)
            walk->parseAnimType = 1;
    }
    // "frames" that ends its line names no sprites: the list becomes empty.
    if (walk->parseFrames) {
        mobConfigSetFrames(walk->curFrames, words, 0);
        walk->parseFrames = 0;
    }
}

// Reads a creature's box, health and animation lists; 1 if the file cannot be opened.
int loadMobConfig(Creature *mob, const char *filename)
{
    MobConfigWalk walk = {mob, 0, 0, 0, 0, nullptr, nullptr};
    return readWordLines(filename, mobConfigLine, &walk);
}
