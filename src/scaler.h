// Software scalers that enlarge the logical screen into the display surface.
#pragma once
#include <cstdint>

// Each logical pixel becomes a 2x2 block. Rows are packed: from holds
// screenHeight rows of screenWidth 16-bit pixels, to twice that in each axis.
void upscale2(uint32_t *to, uint32_t *from);

// Each logical pixel becomes a 4x4 block; packed rows as for upscale2.
void upscale4(uint32_t *to, uint32_t *from);
