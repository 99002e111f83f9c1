// What every reader harness shares. The readers take file names, so each input
// is written to one scratch file that lives for the whole run; a rule that a
// reader must keep is checked with FUZZ_CHECK, which stops the run with a
// report like any crash.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <unistd.h>

// Aborts (so libFuzzer keeps the input) when a reader broke a rule it must keep.
#define FUZZ_CHECK(cond)                                                             \
    do {                                                                             \
        if (!(cond)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            abort();                                                                 \
        }                                                                            \
    } while (0)

// Makes a scratch folder kettlemoor-NAME-XXXXXX in memory-backed /dev/shm when
// there is one, and else in /tmp; its path goes to folder.
template <size_t N>
inline void fuzzScratchFolder(char (&folder)[N], const char *name)
{
    for (const char *place : {"/dev/shm", "/tmp"}) {
        snprintf(folder, N, "%s/kettlemoor-%s-XXXXXX", place, name);
        if (mkdtemp(folder))
            return;
    }
    FUZZ_CHECK(!"no place for a scratch folder");
}

// The path of a file called file in a scratch folder of its own, for a
// harness that saves what it read (the writers replace a file through a
// temporary one beside it, so they need a folder). The folder and the file
// are removed when the run ends normally. Call it once, at start-up.
inline const char *fuzzSavedFile(const char *name, const char *file)
{
    static char folder[64];
    static std::string path;
    FUZZ_CHECK(path.empty());
    fuzzScratchFolder(folder, name);
    path = std::string(folder) + "/" + file;
    atexit([] {
        remove(path.c_str());
        rmdir(folder);
    });
    return path.c_str();
}

// The scratch file: made in memory-backed /dev/shm when there is one, unlinked
// at once and opened again through /proc/self/fd, so nothing is left behind
// however the run ends.
struct FuzzScratch {
    int fd;
    char name[64];
};

// Makes the scratch file on first use.
inline FuzzScratch *fuzzScratch(void)
{
    static FuzzScratch scratch = {-1, ""};
    if (scratch.fd >= 0)
        return &scratch;
    char path[] = "/dev/shm/kettlemoor-fuzz-XXXXXX";
    char fallback[] = "/tmp/kettlemoor-fuzz-XXXXXX";
    char *made = path;
    scratch.fd = mkstemp(path);
    if (scratch.fd < 0) {
        made = fallback;
        scratch.fd = mkstemp(fallback);
    }
    FUZZ_CHECK(scratch.fd >= 0);
    unlink(made);
    snprintf(scratch.name, sizeof scratch.name, "/proc/self/fd/%d", scratch.fd);
    return &scratch;
}

// Replaces the scratch file's contents with one input and returns its name.
inline const char *fuzzInputFile(const uint8_t *data, size_t size)
{
    FuzzScratch *scratch = fuzzScratch();
    FUZZ_CHECK(ftruncate(scratch->fd, 0) == 0);
    size_t done = 0;
    while (done < size) {
        const ssize_t written = pwrite(scratch->fd, data + done, size - done, static_cast<off_t>(done));
        FUZZ_CHECK(written > 0);
        done += static_cast<size_t>(written);
    }
    return scratch->name;
}
