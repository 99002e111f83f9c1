// Fuzzes the collision layer reader: any file must load without storing a
// byte outside the 256 tile masks, which sit in a block of exactly that size.
#include <cstring>

#include "fileio.h"
#include "fuzz_input.h"

// Tiles in a layer and pixels along a tile's side.
const int FUZZ_TILES = 256;
const int FUZZ_TILE_PIXELS = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    typedef unsigned char Mask[FUZZ_TILE_PIXELS][FUZZ_TILE_PIXELS];
    Mask *layer = static_cast<Mask *>(malloc(sizeof(Mask) * FUZZ_TILES));
    FUZZ_CHECK(layer != nullptr);
    memset(layer, 0, sizeof(Mask) * FUZZ_TILES);
    FUZZ_CHECK(loadCollisionLayer(layer, fuzzInputFile(data, size)) == 0);
    free(layer);
    return 0;
}
