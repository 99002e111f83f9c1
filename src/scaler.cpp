// Pixel-multiplying scalers. The two fast ones work on whole 32-bit words,
// each holding two 16-bit pixels, and build every output word with a shift,
// a mask and an OR; they need packed rows of an even width.
#include "scaler.h"

#include <cstring>

#include "sdlmain.h"

// The word loops run every frame over the whole screen. At the usual -O2
// GCC would do them one word at a time; letting it work on several words
// at once makes doubling faster than copying a display-sized frame.
#if defined(__GNUC__) && !defined(__clang__)
#define WORD_LOOPS __attribute__((optimize("tree-vectorize")))
#else
#define WORD_LOOPS
#endif

// The left pixel of a word, twice. On little-endian machines the left
// pixel is the low half.
static inline uint32_t leftPixelTwice(uint32_t pair)
{
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
    return (pair >> 16) | (pair & 0xFFFF0000u);
#else
    return (pair << 16) | (pair & 0x0000FFFFu);
#endif
}

// The right pixel of a word, twice.
static inline uint32_t rightPixelTwice(uint32_t pair)
{
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
    return (pair << 16) | (pair & 0x0000FFFFu);
#else
    return (pair >> 16) | (pair & 0xFFFF0000u);
#endif
}

// Each logical pixel becomes a 2x2 block; the two surfaces never overlap.
WORD_LOOPS void upscale2(uint32_t *__restrict to, uint32_t *__restrict from)
{
    const int scaleWidth = screenWidth; // one display row, in words
    const int wordsPerRow = screenWidth / 2;
    for (int y = 0; y < screenHeight; y++) {
        for (int x = 0; x < wordsPerRow; x++) {
            const uint32_t tmp = *from++;
            const uint32_t left = leftPixelTwice(tmp);
            to[0] = left;
            to[scaleWidth] = left;
            const uint32_t right = rightPixelTwice(tmp);
            to[1] = right;
            to[scaleWidth + 1] = right;
            to += 2;
        }
        to += scaleWidth; // past the second display row, written above
    }
}

// Each logical pixel becomes a 4x4 block; the two surfaces never overlap.
WORD_LOOPS void upscale4(uint32_t *__restrict to, uint32_t *__restrict from)
{
    const int scaleWidth = 2 * screenWidth; // one display row, in words
    const int row2 = 2 * scaleWidth;
    const int row3 = 3 * scaleWidth;
    const int wordsPerRow = screenWidth / 2;
    for (int y = 0; y < screenHeight; y++) {
        for (int x = 0; x < wordsPerRow; x++) {
            const uint32_t tmp = *from++;
            const uint32_t left = leftPixelTwice(tmp);
            const uint32_t right = rightPixelTwice(tmp);
            to[0] = left;
            to[1] = left;
            to[2] = right;
            to[3] = right;
            to[scaleWidth] = left;
            to[scaleWidth + 1] = left;
            to[scaleWidth + 2] = right;
            to[scaleWidth + 3] = right;
            to[row2] = left;
            to[row2 + 1] = left;
            to[row2 + 2] = right;
            to[row2 + 3] = right;
            to[row3] = left;
            to[row3 + 1] = left;
            to[row3 + 2] = right;
            to[row3 + 3] = right;
            to += 4;
        }
        to += row3; // past the three display rows below, written above
    }
}

// Each pixel becomes a factor x factor block, row by row with pitches.
void upscaleAny(uint16_t *to, int toPitch, const uint16_t *from, int fromPitch,
                int width, int height, int factor)
{
    const size_t displayRowBytes = (size_t)width * factor * sizeof(uint16_t);
    char *outRow = (char *)to;
    const char *inRow = (const char *)from;
    for (int y = 0; y < height; y++) {
        // Widen one logical row into the first display row of its block...
        const uint16_t *in = (const uint16_t *)inRow;
        uint16_t *out = (uint16_t *)outRow;
        for (int x = 0; x < width; x++) {
            const uint16_t pixel = in[x];
            for (int k = 0; k < factor; k++)
                *out++ = pixel;
        }
        // ...then repeat that row down the block.
        char *copy = outRow + toPitch;
        for (int k = 1; k < factor; k++) {
            memcpy(copy, outRow, displayRowBytes);
            copy += toPitch;
        }
        outRow = copy;
        inRow += fromPitch;
    }
}
