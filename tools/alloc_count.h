// Counts the heap allocations the whole program makes (malloc, calloc,
// realloc, from the game, SDL and the C and C++ libraries alike), so a tool
// can check that a stretch of frames allocates nothing.
#pragma once

// Allocations made so far, or -1 when this build cannot count them (the
// sanitizers bring their own allocator).
long allocCount(void);
