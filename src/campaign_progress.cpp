// The levels won: read from the progress file once a run, kept for the run,
// and written back through the atomic writer only when a level is won for
// the first time. A level is kept by its file name when it lies in the
// level folder, else by its whole path with links resolved, so that two
// spellings of one level count as one and the game folder may move.
#include "campaign.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fileio.h"

// Room for the names of the levels won: far more than any set of campaigns.
const int CAMPAIGN_MAX_WON = 512;
const int CAMPAIGN_WON_CHARS = 16384;

static char progressNames[CAMPAIGN_WON_CHARS];
static int progressNamesUsed = 0;
static const char *progressWon[CAMPAIGN_MAX_WON];
static int progressCount = 0;
static int progressLoaded = 0;     // the file has been read in this run
static int progressUnwritable = 0; // a save failed: the rest of the run keeps them in memory

// The name a level is kept by; 1 when it is too long to keep.
static int progressLevelName(const char *file, char *out, size_t size)
{
    char real[PATH_MAX], folder[PATH_MAX];
    // A level that cannot be resolved (its file gone) is kept as it is spelt.
    const char *name = realpath(file, real) ? real : file;
    if (realpath(CAMPAIGN_LEVEL_FOLDER, folder)) {
        const size_t n = strlen(folder);
        if (strncmp(name, folder, n) == 0 && name[n] == '/')
            name += n + 1;
    }
    return snprintf(out, size, "%s", name) >= static_cast<int>(size);
}

// 1 when a name reads back from the file as the one word it is: no blank,
// no comment sign, no control character.
static int progressWritable(const char *name)
{
    for (const unsigned char *c = (const unsigned char *)name; *c; c++)
        if (*c <= ' ' || *c == '#' || *c == 0x7f)
            return 0;
    return name[0] != '\0';
}

static int progressFind(const char *name)
{
    for (int i = 0; i < progressCount; i++)
        if (strcmp(progressWon[i], name) == 0)
            return 1;
    return 0;
}

// Keeps a name; 1 when there is no room left.
static int progressAdd(const char *name)
{
    const int size = static_cast<int>(strlen(name)) + 1;
    if (progressCount >= CAMPAIGN_MAX_WON || progressNamesUsed + size > CAMPAIGN_WON_CHARS)
        return 1;
    char *kept = progressNames + progressNamesUsed;
    memcpy(kept, name, size);
    progressNamesUsed += size;
    progressWon[progressCount++] = kept;
    return 0;
}

// One entry of the file.
static void progressOnLevel(const char *name, void *)
{
    if (!progressFind(name))
        progressAdd(name);
}

void campaignProgressReset(void)
{
    progressNamesUsed = 0;
    progressCount = 0;
    progressLoaded = 0;
    progressUnwritable = 0;
}

void campaignProgressLoad(void)
{
    if (progressLoaded)
        return;
    progressLoaded = 1;
    const int result = loadProgress(CAMPAIGN_PROGRESS_FILE, progressOnLevel, nullptr);
    if (result == PROGRESS_UNREADABLE)
        printf("WARNING: (campaign) %s cannot be read; no level counts as won\n", CAMPAIGN_PROGRESS_FILE);
    if (result > 0) {
        campaignProgressReset();
        progressLoaded = 1;
        printf("WARNING: (campaign) %s is damaged at line %d; no level counts as won until the next win "
               "writes it again\n",
               CAMPAIGN_PROGRESS_FILE, result);
    }
}

int campaignHasWon(const char *file)
{
    char name[PATH_MAX];
    campaignProgressLoad();
    return !progressLevelName(file, name, sizeof name) && progressFind(name);
}

// Writes every level won whose name the file can hold. After a failed save
// (a data folder that cannot be written) the levels are kept for the run
// only, which is said once.
static void progressSave(void)
{
    static const char *writable[CAMPAIGN_MAX_WON];
    int n = 0;
    if (progressUnwritable)
        return;
    for (int i = 0; i < progressCount; i++)
        if (progressWritable(progressWon[i]))
            writable[n++] = progressWon[i];
    if (saveProgress(CAMPAIGN_PROGRESS_FILE, writable, n) == 0)
        return;
    progressUnwritable = 1;
    printf("WARNING: (campaign) %s cannot be written; the levels won are kept for this run only\n",
           CAMPAIGN_PROGRESS_FILE);
}

void campaignRecordWin(const char *file)
{
    char name[PATH_MAX];
    campaignProgressLoad();
    if (progressLevelName(file, name, sizeof name) || progressFind(name))
        return;
    if (progressAdd(name)) {
        printf("WARNING: (campaign) no room to keep more levels won; %s is not kept\n", file);
        return;
    }
    if (!progressWritable(name)) {
        printf("WARNING: (campaign) the file name of %s cannot be written to %s; it counts as won for this run only\n",
               file, CAMPAIGN_PROGRESS_FILE);
        return;
    }
    progressSave();
}
