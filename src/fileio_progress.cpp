// The progress file: the levels the player has won, one line each.
#include "fileio.h"
#include "fileio_private.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "regular_file.h"

// The word that leads every entry, so that a line of anything else shows the
// file damaged instead of passing for a level's name.
static const char PROGRESS_KEY[] = "WON";

// Where the reader stands: the lines so far and the first that was no entry.
struct ProgressReader {
    void (*onLevel)(const char *level, void *ctx);
    void *ctx;
    int lineNo;
    int badLine;
};

// One line: an entry is handed on; a line of other words marks the file damaged.
static void progressReadLine(char **words, int n, void *ctx)
{
    ProgressReader *r = static_cast<ProgressReader *>(ctx);
    r->lineNo++;
    if (n == 0)
        return;
    if (n == 2 && strcmp(words[0], PROGRESS_KEY) == 0)
        r->onLevel(words[1], r->ctx);
    else if (r->badLine == 0)
        r->badLine = r->lineNo;
}

int loadProgress(const char *filename, void (*onLevel)(const char *level, void *ctx), void *ctx)
{
    struct stat st;
    if (stat(filename, &st) != 0 && errno == ENOENT)
        return PROGRESS_MISSING;
    // Checked first so that a file that cannot be read is the caller's to report.
    if (!isRegularFile(filename) || access(filename, R_OK) != 0)
        return PROGRESS_UNREADABLE;
    ProgressReader reader = {onLevel, ctx, 0, 0};
    if (readWordLines(filename, progressReadLine, &reader))
        return PROGRESS_UNREADABLE;
    return reader.badLine;
}

// What saveProgress writes.
struct ProgressLines {
    const char *const *levels;
    int count;
};

// The header, a line saying what the entries are, and one line per level won.
static void progressWriteLines(FILE *ofp, const void *ctx)
{
    const ProgressLines *p = static_cast<const ProgressLines *>(ctx);
    fputs(GENERATED_HEADER, ofp);
    fputs("#Levels won: file names in data/maps/, whole paths for levels kept elsewhere\n", ofp);
    for (int i = 0; i < p->count; i++)
        fprintf(ofp, "%s %s\n", PROGRESS_KEY, p->levels[i]);
}

int saveProgress(const char *filename, const char *const *levels, int count)
{
    const ProgressLines lines = {levels, count};
    return saveAtomically(filename, "Saving progress\n", "ERROR: (saveProgress) Can't open %s: %s\n",
                          progressWriteLines, &lines);
}
