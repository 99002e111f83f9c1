// Software scalers that enlarge the logical screen into the display surface.
#pragma once
#include <cstdint>

// Each logical pixel becomes a 2x2 block. Rows are packed: from holds
// screenHeight rows of screenWidth 16-bit pixels (screenWidth even), to twice
// that in each axis.
void upscale2(uint32_t *to, uint32_t *from);

// Each logical pixel becomes a 4x4 block; packed rows as for upscale2.
void upscale4(uint32_t *to, uint32_t *from);

// Each 16-bit pixel of a width x height picture becomes a factor x factor
// block, for any factor >= 1, width and row pitch (pitches in bytes). The
// slower companion of the two above for the sizes they cannot take.
void upscaleAny(uint16_t *to, int toPitch, const uint16_t *from, int fromPitch,
                int width, int height, int factor);
