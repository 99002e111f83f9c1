// The shared line reader and word splitter that every text format reads
// through, and the bounded number reader the formats share.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdio>
#include <cstdlib>

#include "regular_file.h"

// Reads one line without its comment; -1 at the end of the stream.
int fgetLine(FILE *fp, char *line, int max)
{
    int nch = 0;
    int ignoreLine = 0;
    for (;;) {
        // The game reads its files from one thread, so the stream needs no lock.
        const int c = getc_unlocked(fp);
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

// Splits a line in place into its words; returns their count.
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

// Hands the lines of a file, split into words, to onLine until it asks to
// stop. Only a regular file is read: what else a data file's name may reach
// would hang the game.
int readWordLinesUntil(const char *filename, int (*onLine)(char **words, int n, void *ctx), void *ctx)
{
    FILE *ifp = fopenRegular(filename);
    if (!ifp) {
        fprintf(stderr, "Can't open %s\n", filename);
        return 1;
    }
    char line[LINE_MAX_CHARS];
    char *words[LINE_MAX_WORDS];
    while (fgetLine(ifp, line, LINE_MAX_CHARS) != -1) {
        const int n = getWords(line, words, LINE_MAX_WORDS);
        if (onLine(words, n, ctx))
            break;
    }
    fclose(ifp);
    return 0;
}

// A reader that takes every line, and its own context.
struct EveryLine {
    void (*onLine)(char **words, int n, void *ctx);
    void *ctx;
};

// Passes a line on and never stops.
static int readEveryLine(char **words, int n, void *every)
{
    const EveryLine *e = static_cast<const EveryLine *>(every);
    e->onLine(words, n, e->ctx);
    return 0;
}

// Hands every line of a file, split into words, to onLine.
int readWordLines(const char *filename, void (*onLine)(char **words, int n, void *ctx), void *ctx)
{
    EveryLine every = {onLine, ctx};
    return readWordLinesUntil(filename, readEveryLine, &every);
}

// A number word read like atoi, but kept within lowest ... highest.
int readBoundedNumber(const char *word, int lowest, int highest)
{
    const long v = strtol(word, nullptr, 10);
    if (v < lowest)
        return lowest;
    if (v > highest)
        return highest;
    return static_cast<int>(v);
}
