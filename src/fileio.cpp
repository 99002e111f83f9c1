#include "fileio.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

const char *const GENERATED_HEADER =
    "#This file was generated automatically, any extra lines will be overwritten\n";

// ---- the shared line reader and word splitter ----

int fgetLine(FILE *fp, char *line, int max)
{
    int nch = 0;
    int ignoreLine = 0;
    for (;;) {
        const int c = getc(fp);
        if (c == EOF) {
            if (nch == 0)
                return -1;
            line[nch] = '\0';
            return nch;
        }
        if (c == '\n') {
            line[nch] = '\0';
            return nch;
        }
        if (c == '#')
            ignoreLine = 1;
        if (nch < max - 1 && !ignoreLine)
            line[nch++] = static_cast<char>(c);
    }
}

// The default locale's white space; bytes 0x80-0xFF are word characters.
static int isWordSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int getWords(char *line, char **words, int maxwords)
{
    char *p = line;
    int nwords = 0;
    if (maxwords <= 0)
        return 0;
    for (;;) {
        while (isWordSeparator(*p))
            p++;
        if (*p == '\0')
            return nwords;
        words[nwords++] = p;
        while (*p != '\0' && !isWordSeparator(*p))
            p++;
        if (*p == '\0')
            return nwords;
        *p++ = '\0';
        if (nwords >= maxwords)
            return nwords;
    }
}

int readWordLines(const char *filename, void (*onLine)(char **words, int n, void *ctx), void *ctx)
{
    FILE *ifp = fopen(filename, "r");
    if (!ifp) {
        fprintf(stderr, "Can't open %s\n", filename);
        return 1;
    }
    char line[LINE_MAX_CHARS];
    char *words[LINE_MAX_WORDS];
    while (fgetLine(ifp, line, LINE_MAX_CHARS) != -1) {
        const int n = getWords(line, words, LINE_MAX_WORDS);
        onLine(words, n, ctx);
    }
    fclose(ifp);
    return 0;
}

// ---- the atomic file writer ----

FILE *beginAtomicWrite(const char *filename, char *tmpPath, size_t tmpSize)
{
    const int len = snprintf(tmpPath, tmpSize, "%s.tmp", filename);
    if (len < 0 || static_cast<size_t>(len) >= tmpSize)
        return nullptr;
    return fopen(tmpPath, "w");
}

int finishAtomicWrite(FILE *fp, const char *tmpPath, const char *filename)
{
    // Everything must have reached the disk before the old file is replaced.
    int failed = ferror(fp) != 0;
    failed |= fflush(fp) != 0;
    failed |= fsync(fileno(fp)) != 0;
    failed |= fclose(fp) != 0;
    if (!failed && rename(tmpPath, filename) == 0)
        return 0;
    remove(tmpPath);
    return 1;
}

// ---- settings file ----

int loadConfig(const char *)
{
    return 1;
}

int saveConfig(const char *)
{
    return 1;
}

// ---- map file ----

int loadMap(const char *)
{
    return 1;
}

int saveMap(const char *)
{
    return 1;
}

// ---- collision layer file ----

int loadCollisionLayer(unsigned char (*)[16][16], const char *)
{
    return 1;
}

int saveCollisionLayer(unsigned char (*)[16][16], const char *)
{
    return 1;
}

// ---- creature definition file ----

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
        list->posOfTile.x = atoi(words[i + 1]);
        list->posOfTile.y = atoi(words[i + 2]);
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

// The box size and health, accepted anywhere in the file.
static void mobConfigSizeWord(Creature *mob, char **words, int n, int i)
{
    if (i + 1 >= n)
        return;
    if (strcmp(words[i], "WIDTH:") == 0)
        mob->w = atoi(words[i + 1]);
    else if (strcmp(words[i], "HEIGHT:") == 0)
        mob->h = atoi(words[i + 1]);
    else if (strcmp(words[i], "HEALTH:") == 0)
        mob->hp = atoi(words[i + 1]);
}

// One line of a definition file: every word goes through every step, so
// keywords count wherever they stand.
static void mobConfigLine(char **words, int n, void *ctx)
{
    MobConfigWalk *walk = static_cast<MobConfigWalk *>(ctx);
    for (int i = 0; i < n; i++) {
        // 1. The words after "frames" are the list.
        if (walk->parseFrames)
            mobConfigSetFrames(walk->curFrames, words + i, n - i);
        // 2. Data keywords, once a list may be selected.
        if (walk->parseAnim)
            mobConfigDataWord(walk, words, n, i);
        // 3. Animation keywords, after "ANIMATION:".
        if (walk->parseAnimType)
            mobConfigAnimationWord(walk, words[i]);
        // 4. Direction keywords, after an animation keyword.
        if (walk->parseDirection)
            mobConfigDirectionWord(walk, words[i]);
        // 5. Size and health.
        mobConfigSizeWord(walk->mob, words, n, i);
        // 6. The start of the animation section.
        if (strcmp(words[i], "ANIMATION:") == 0)
            walk->parseAnimType = 1;
    }
    // "frames" that ends its line names no sprites: the list becomes empty.
    if (walk->parseFrames) {
        mobConfigSetFrames(walk->curFrames, words, 0);
        walk->parseFrames = 0;
    }
}

int loadMobConfig(Creature *mob, const char *filename)
{
    MobConfigWalk walk = {mob, 0, 0, 0, 0, nullptr, nullptr};
    return readWordLines(filename, mobConfigLine, &walk);
}
