// The allocation counter: the program's own malloc, calloc and realloc,
// which count each call and hand it on to the C library's allocator. The C
// library lets a program replace these functions and routes its own internal
// calls through the replacement as well.
#include "alloc_count.h"

#include <cstdio> // defines __GLIBC__ where the C library is glibc

// Counting needs glibc's allocator under its internal names, and a dynamic
// link: the sanitizers bring their own allocator, and in a static link the
// C library's malloc cannot be both replaced and called.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(KETTLEMOOR_STATIC_LINK) || \
    !defined(__GLIBC__) || defined(__UCLIBC__)

long allocCount(void)
{
    return -1;
}

#else

#include <cstddef>

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);
void __libc_free(void *block);
}

// Calls so far; the game has one thread, SDL's video start adds none here.
static long allocations = 0;

extern "C" void *malloc(size_t size) noexcept
{
    allocations++;
    return __libc_malloc(size);
}

extern "C" void *calloc(size_t count, size_t size) noexcept
{
    allocations++;
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *block, size_t size) noexcept
{
    allocations++;
    return __libc_realloc(block, size);
}

extern "C" void free(void *block) noexcept
{
    __libc_free(block);
}

long allocCount(void)
{
    return allocations;
}

#endif
