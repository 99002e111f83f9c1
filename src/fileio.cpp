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

// Room for the temporary path of a file being written.
const int LEVEL_TMP_PATH_CHARS = 4096;

int loadMap(const char *)
{
    return 1;
}

int saveMap(const char *)
{
    return 1;
}

// ---- collision layer file ----

// Tiles in a collision layer, and pixels along a tile's side.
const int COLLISION_TILES = 256;
const int COLLISION_TILE_PIXELS = 16;

// Where the collision reader stands in its file, kept from line to line.
struct CollisionReader {
    unsigned char (*layer)[16][16];
    int parseLayer; // "LAYER:" has been seen
    int parsing;    // the framing has started
    int skipLine;   // this line is a tile's header
    int counterW;   // cells left in the current row
    int counterH;   // rows left in the current tile
    int tile;
    int row;
    int column;
};

// Takes one word of the framed part. Returns 1 when the rest of the line is to
// be skipped (a header, or a row that already has its 16 numbers).
static int collisionReadWord(CollisionReader *r, const char *word)
{
    r->parsing = 1;
    if (r->skipLine)
        return 1;
    // A tile has all its rows: this line is the next tile's header. Blank lines
    // after a sixteenth row count as rows past the end and end here too.
    if (r->counterH <= 0) {
        r->tile++;
        r->skipLine = 1;
        r->counterH = COLLISION_TILE_PIXELS;
        r->row = 0;
        return 1;
    }
    if (r->counterW == 0) {
        r->counterW = COLLISION_TILE_PIXELS;
        r->column = 0;
        return 1;
    }
    // Tiles past the 256th are outside the layer and are dropped.
    if (r->tile < COLLISION_TILES)
        r->layer[r->tile][r->row][r->column] = static_cast<unsigned char>(atoi(word));
    r->column++;
    r->counterW--;
    return 0;
}

// Closes a line of the framed part: a header is done, or a row is.
static void collisionEndLine(CollisionReader *r)
{
    if (!r->parsing)
        return;
    if (r->skipLine) {
        r->skipLine = 0;
        return;
    }
    r->row++;
    r->counterH--;
    r->counterW = COLLISION_TILE_PIXELS;
    r->column = 0;
}

// One line of a collision layer file.
static void collisionReadLine(char **words, int n, void *ctx)
{
    CollisionReader *r = static_cast<CollisionReader *>(ctx);
    for (int i = 0; i < n; i++) {
        if (r->parseLayer && collisionReadWord(r, words[i]))
            break;
        if (strcmp(words[i], "LAYER:") == 0)
            r->parseLayer = 1;
    }
    collisionEndLine(r);
}

int loadCollisionLayer(unsigned char layer[][16][16], const char *filename)
{
    CollisionReader reader = {};
    reader.layer = layer;
    reader.skipLine = 1;
    reader.counterW = COLLISION_TILE_PIXELS;
    reader.counterH = COLLISION_TILE_PIXELS;
    return readWordLines(filename, collisionReadLine, &reader);
}

// Writes all 256 masks in the framing the reader expects.
static void collisionWriteLayer(FILE *ofp, unsigned char layer[][16][16])
{
    fputs(GENERATED_HEADER, ofp);
    fprintf(ofp, "#Created by editor v%d.%d.%d\n", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    fputs("\nLAYER:\n", ofp);
    for (int t = 0; t < COLLISION_TILES; t++) {
        fprintf(ofp, "TILE %d\n", t);
        for (int row = 0; row < COLLISION_TILE_PIXELS; row++) {
            for (int column = 0; column < COLLISION_TILE_PIXELS; column++)
                fprintf(ofp, "%d ", layer[t][row][column]);
            fputc('\n', ofp);
        }
    }
}

// Reports a collision layer that could not be written.
static int collisionSaveFailed(const char *filename)
{
    fprintf(stderr, "ERROR: (saveCollisionLayer) Can't open %s\n", filename);
    return 1;
}

int saveCollisionLayer(unsigned char layer[][16][16], const char *filename)
{
    char tmpPath[LEVEL_TMP_PATH_CHARS];
    FILE *ofp = beginAtomicWrite(filename, tmpPath, sizeof(tmpPath));
    if (!ofp)
        return collisionSaveFailed(filename);
    printf("Saving collision layer\n");
    collisionWriteLayer(ofp, layer);
    if (finishAtomicWrite(ofp, tmpPath, filename))
        return collisionSaveFailed(filename);
    return 0;
}

// ---- creature definition file ----

int loadMobConfig(Creature *, const char *)
{
    return 1;
}
