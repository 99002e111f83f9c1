// Fuzzes the progress file reader: any file must load, handing on only names
// that are single words, and the names it hands on, saved again and read
// back, must come back the same and in the same order: the game writes the
// file anew at each first win from what it read, so a name the writer cannot
// give back would lose a level the player has won.
#include <cstring>
#include <string>
#include <vector>

#include "fileio.h"
#include "fuzz_input.h"

// Where what was read is saved, in a scratch folder of its own.
static const char *savedFile = nullptr;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    savedFile = fuzzSavedFile("progress", "progress.txt");
    return 0;
}

// Keeps each name handed on, after checking it is one word.
static void onLevel(const char *level, void *ctx)
{
    FUZZ_CHECK(level[0] != '\0' && strpbrk(level, " \t\n\v\f\r#") == nullptr);
    static_cast<std::vector<std::string> *>(ctx)->push_back(level);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::string> read;
    const int result = loadProgress(fuzzInputFile(data, size), onLevel, &read);
    FUZZ_CHECK(result >= 0);

    std::vector<const char *> names;
    for (const std::string &name : read)
        names.push_back(name.c_str());
    FUZZ_CHECK(saveProgress(savedFile, names.data(), static_cast<int>(names.size())) == 0);
    std::vector<std::string> readBack;
    FUZZ_CHECK(loadProgress(savedFile, onLevel, &readBack) == 0);
    FUZZ_CHECK(readBack == read);
    return 0;
}
