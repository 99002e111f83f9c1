// Fuzzes the shared line reader and word splitter: whatever the bytes, every
// line must fit its buffer with its NUL, hold no comment or line feed, and
// split into words that lie inside it, within the word limit.
#include <cstring>

#include "fileio.h"
#include "fuzz_input.h"

// The white space that separates words.
static int isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Checks the words getWords found in a line of length n.
static void checkWords(char *line, int n, char **words, int count, int maxwords)
{
    FUZZ_CHECK(count >= 0 && count <= maxwords);
    for (int w = 0; w < count; w++) {
        FUZZ_CHECK(words[w] >= line && words[w] < line + n);
        FUZZ_CHECK(words[w][0] != '\0');
        for (const char *p = words[w]; *p; p++)
            FUZZ_CHECK(!isBlank(*p));
    }
}

// Reads the whole input line by line with buffers of exactly max bytes and
// maxwords entries, so a write past either is caught.
static void readAll(const char *name, int max, int maxwords)
{
    FILE *fp = fopen(name, "r");
    FUZZ_CHECK(fp != nullptr);
    char *line = static_cast<char *>(malloc(max));
    char **words = static_cast<char **>(malloc(sizeof(char *) * maxwords));
    int n = 0;
    while ((n = fgetLine(fp, line, max)) != -1) {
        FUZZ_CHECK(n >= 0 && n < max && line[n] == '\0');
        FUZZ_CHECK(memchr(line, '#', n) == nullptr && memchr(line, '\n', n) == nullptr);
        const int count = getWords(line, words, maxwords);
        checkWords(line, n, words, count, maxwords);
    }
    free(words);
    free(line);
    fclose(fp);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const char *name = fuzzInputFile(data, size);
    // The loaders' own sizes, then tiny ones that the input's length picks,
    // which put every line and word limit within reach.
    readAll(name, LINE_MAX_CHARS, LINE_MAX_WORDS);
    readAll(name, 1 + static_cast<int>(size % 16), 1 + static_cast<int>(size / 16 % 8));
    return 0;
}
