#include "tools.h"

#include <cstdio>
#include <cstring>

#include "collision.h"
#include "fileio.h"
#include "sdldraw.h"

// The extraction bitmap holds 16 x 16 tiles of 16 x 16 pixels with a one-pixel
// gap between neighbours, so it must be at least 16 * 17 - 1 pixels wide and high.
const int EXTRACT_MIN_SIDE_PIXELS = SHEET_CELLS_PER_ROW * (TILE_SIZE + 1) - 1;

// Colours of the bitmap in the 16-bit display format (5 bits red, 6 green, 5 blue).
const Uint32 EXTRACT_WHITE = 0xFFFF;
const Uint32 EXTRACT_BLACK = 0x0000;
const Uint32 EXTRACT_DARK_GREEN = 0x0400;
const Uint32 EXTRACT_BLUE = 0x001F;
const Uint32 EXTRACT_RED = 0xF800;

// The mask kind (MASK_*) of a pixel, or -1 for a colour that means nothing here.
static int toolsMaskOfPixel(Uint32 pixel)
{
    switch (pixel) {
    case EXTRACT_WHITE:
        return MASK_EMPTY;
    case EXTRACT_BLACK:
        return MASK_SOLID;
    case EXTRACT_DARK_GREEN:
        return MASK_ONE_WAY;
    case EXTRACT_BLUE:
        return MASK_WATER;
    case EXTRACT_RED:
        return MASK_HAZARD;
    default:
        return -1;
    }
}

// Loads the bitmap; null, with a line saying why, when it cannot be used.
static SDL_Surface *toolsLoadBitmap(const char *input)
{
    SDL_Surface *bitmap = loadImage(input);
    if (!bitmap) {
        fprintf(stderr, "ERROR: (extractCollisionData) Can't load %s, nothing written\n", input);
        return nullptr;
    }
    if (bitmap->w < EXTRACT_MIN_SIDE_PIXELS || bitmap->h < EXTRACT_MIN_SIDE_PIXELS) {
        fprintf(stderr, "ERROR: (extractCollisionData) %s is %dx%d, smaller than %dx%d, nothing written\n",
                input, bitmap->w, bitmap->h, EXTRACT_MIN_SIDE_PIXELS, EXTRACT_MIN_SIDE_PIXELS);
        freeImage(&bitmap);
    }
    return bitmap;
}

// Reads the mask of tile t from its clip rectangle of the bitmap, column by column.
static void toolsExtractTile(SDL_Surface *bitmap, const SDL_Rect *clip, int t, unsigned char mask[TILE_SIZE][TILE_SIZE])
{
    for (int x = 0; x < TILE_SIZE; x++) {
        for (int y = 0; y < TILE_SIZE; y++) {
            const int value = toolsMaskOfPixel(getPixel(bitmap, clip->x + x, clip->y + y));
            if (value < 0)
                printf("WARNING: TILE:%d x:%d y:%d contains incorrect color for the collision layer. Ignoring...\n",
                       t, x, y);
            mask[y][x] = static_cast<unsigned char>(value < 0 ? 0 : value);
        }
    }
}

void extractCollisionData(const char *input, const char *output)
{
    // The bitmap is converted to the display format so pixels read the same on every depth.
    SDL_Surface *bitmap = toolsLoadBitmap(input);
    if (!bitmap)
        return;

    SDL_Rect tileClip[TILE_COUNT];
    memset(tileClip, 0, sizeof(tileClip));
    clipImage(tileClip, TILE_SIZE, TILE_SIZE, SHEET_CELLS_PER_ROW, TILE_COUNT);

    unsigned char layer[TILE_COUNT][TILE_SIZE][TILE_SIZE];
    memset(layer, 0, sizeof(layer));
    for (int t = 0; t < TILE_COUNT; t++)
        toolsExtractTile(bitmap, &tileClip[t], t, layer[t]);

    freeImage(&bitmap);
    saveCollisionLayer(layer, output);
}
