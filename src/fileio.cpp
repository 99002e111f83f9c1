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

int loadMobConfig(Creature *, const char *)
{
    return 1;
}
