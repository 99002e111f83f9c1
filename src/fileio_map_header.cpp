// The header lines of a level file alone: its name, its play layer's size and
// the level after it, read without its grids or its creatures, so that a
// campaign can be followed from level to level at the cost of a few lines each.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdio>
#include <cstring>

#include "map.h"
#include "regular_file.h"

// What the header reader has seen so far.
struct HeaderReader {
    mapHeader *header;
    int parseName;    // the rest of this line is the level name
    int nameArgument; // the next word is a file name after its keyword
    int w, h;      // the play layer's size, as the level reader takes it
    int hasGrid;   // the tile section has begun
};

// A keyword of the header, read as the level reader reads it: anywhere in a
// line, its arguments from the words after it. Returns 1 when the header ends:
// at the tile section, or at the creature section, after which the level
// reader takes no more keywords.
static int headerReadKeyword(HeaderReader *r, char **words, int i, int n)
{
    const char *word = words[i];
    if (strcmp(word, "NAME:") == 0) {
        r->parseName = 1;
    } else if (strcmp(word, "LAYER0_SIZE:") == 0 && i + 2 < n) {
        r->w = readBoundedNumber(words[i + 1], -1, MAP_MAX_SIDE_TILES + 1);
        r->h = readBoundedNumber(words[i + 2], -1, MAP_MAX_SIDE_TILES + 1);
    } else if (strcmp(word, "NEXT:") == 0 && i + 1 < n) {
        snprintf(r->header->next, sizeof r->header->next, "%s", words[i + 1]);
        r->nameArgument = 1;
    } else if ((strcmp(word, "LAYER0_MAPTILESET:") == 0 || strcmp(word, "LAYER1_MAPTILESET:") == 0) && i + 1 < n) {
        r->nameArgument = 1;
    } else if (strcmp(word, "MAP:") == 0) {
        r->hasGrid = 1;
        return 1;
    } else if (strcmp(word, "OBJECTS:") == 0) {
        return 1;
    }
    return 0;
}

// One header line, word by word; returns 1 when the header has ended.
static int headerReadLine(char **words, int n, void *ctx)
{
    HeaderReader *r = static_cast<HeaderReader *>(ctx);
    if (n == 0)
        return 0;
    r->parseName = 0;
    r->nameArgument = 0;
    for (int i = 0; i < n; i++) {
        // A word of the name, or a file name after its keyword, is only
        // that, as the level reader takes it.
        if (r->parseName)
            mapAppendName(r->header->name, sizeof r->header->name, words[i]);
        else if (r->nameArgument)
            r->nameArgument = 0;
        else if (headerReadKeyword(r, words, i, n))
            return 1;
    }
    return 0;
}

int loadMapHeader(const char *filename, mapHeader *header)
{
    header->name[0] = '\0';
    header->next[0] = '\0';
    if (!isRegularFile(filename))
        return 1;
    HeaderReader reader = {header, 0, 0, 0, 0, 0};
    if (readWordLinesUntil(filename, headerReadLine, &reader))
        return 1;
    return reader.hasGrid && mapSizeAllowed(reader.w, reader.h) ? 0 : 1;
}
