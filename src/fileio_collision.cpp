// The collision layer file: the 16 x 16 mask of every tile index, read and written.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>


// Where the collision reader stands in its file, kept from line to line.
struct CollisionReader {
    unsigned char (*layer)[TILE_SIZE][TILE_SIZE];
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
        r->counterH = TILE_SIZE;
        r->row = 0;
        return 1;
    }
    if (r->counterW == 0) {
        r->counterW = TILE_SIZE;
        r->column = 0;
        return 1;
    }
    // Tiles past the 256th are outside the layer and are dropped.
    if (r->tile < TILE_COUNT)
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
    r->counterW = TILE_SIZE;
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

// Fills the 256 tile masks from the file; 1 if it cannot be opened.
int loadCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename)
{
    CollisionReader reader = {};
    reader.layer = layer;
    reader.skipLine = 1;
    reader.counterW = TILE_SIZE;
    reader.counterH = TILE_SIZE;
    return readWordLines(filename, collisionReadLine, &reader);
}

// Writes all 256 masks in the framing the reader expects.
static void collisionWriteLayer(FILE *ofp, const void *ctx)
{
    const unsigned char(*layer)[TILE_SIZE][TILE_SIZE] = static_cast<const unsigned char(*)[TILE_SIZE][TILE_SIZE]>(ctx);
    levelWriteHeader(ofp);
    fputs("LAYER:\n", ofp);
    for (int t = 0; t < TILE_COUNT; t++) {
        fprintf(ofp, "TILE %d\n", t);
        for (int row = 0; row < TILE_SIZE; row++) {
            for (int column = 0; column < TILE_SIZE; column++)
                fprintf(ofp, "%d ", layer[t][row][column]);
            fputc('\n', ofp);
        }
    }
}

// Writes all 256 tile masks; 1 (with a message) on any failure.
int saveCollisionLayer(unsigned char layer[][TILE_SIZE][TILE_SIZE], const char *filename)
{
    return saveAtomically(filename, "Saving collision layer\n", "ERROR: (saveCollisionLayer) Can't open %s: %s\n",
                          collisionWriteLayer, layer);
}
