// The shared line reader and word splitter, and the atomic file writer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileio.h"
#include "sdldraw.h"
#include "test_util.h"

typedef std::vector<std::string> Lines;

// Each line fgetLine reads from text, as its length, a colon and its words each ended by '|'.
static Lines linesOf(const std::string &text)
{
    FILE *fp = tmpfile();
    fwrite(text.data(), 1, text.size(), fp);
    rewind(fp);
    char line[LINE_MAX_CHARS];
    char *words[LINE_MAX_WORDS];
    Lines out;
    for (int n; (n = fgetLine(fp, line, LINE_MAX_CHARS)) != -1;) {
        out.push_back(std::to_string(n) + ":");
        for (int i = 0, count = getWords(line, words, LINE_MAX_WORDS); i < count; i++)
            out.back() += std::string(words[i]) + "|";
    }
    fclose(fp);
    return out;
}

TEST(LineReader, CommentsEmptyLinesOverlongLinesOddBytesAndWordsBeyondTheLimit)
{
    EXPECT_EQ(linesOf("K_UP 273 # up\n# only a comment\n\nNAME: a#b\n \t\r\nabc"),
              (Lines{"9:K_UP|273|", "0:", "0:", "7:NAME:|a|", "3:", "3:abc|"}));
    EXPECT_EQ(linesOf("# trailing comment without line feed"), Lines{});
    // 999 characters are kept; the rest of the line is dropped, not read as the next line.
    EXPECT_EQ(linesOf(std::string(1200, 'x') + "\nnext\n"), (Lines{"999:" + std::string(999, 'x') + "|", "4:next|"}));
    // High bytes are word bytes; a NUL is counted but ends the text the splitter sees.
    EXPECT_EQ(linesOf("caf\xc3\xa9\t\xff\x80\r\n" + std::string("ab\0cd\n", 6)),
              (Lines{"9:caf\xc3\xa9|\xff\x80|", "5:ab|"}));
    // Words beyond the splitter's limit stay unsplit in the last one.
    char line[] = "x y z w", *words[3];
    ASSERT_EQ(getWords(line, words, 2), 2);
    EXPECT_STREQ(words[1] + 2, "z w");
}

// A FIFO with no writer would block the game, /dev/zero never ends and a folder
// holds no lines: every reader refuses them, links to them too, at once.
TEST(LineReader, WhatIsNotARegularFileIsRefusedAtOnceEvenThroughALink)
{
    TempDir dir;
    const std::string fifo = dir.path + "/fifo", zero = dir.path + "/zero.map";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600) | symlink("/dev/zero", zero.c_str()), 0);
    static Creature mob;
    static unsigned char masks[TILE_COUNT][TILE_SIZE][TILE_SIZE];
    bool (*const readers[])(const char *) = {
        [](const char *p) { return loadMap(p) == 1; }, [](const char *p) { return loadConfig(p) == 1; },
        [](const char *p) { return loadMobConfig(&mob, p) == 1; }, [](const char *p) { return !loadImage(p); },
        [](const char *p) { return loadCollisionLayer(masks, p) == 1; }};
    alarm(10); // a reader that hangs ends the test program: it fails rather than stalls
    for (const std::string &path : {fifo, zero, std::string("/dev/zero"), dir.path})
        for (int i = 0; i < 5; i++) {
            const std::string said = printed([&] { EXPECT_TRUE(readers[i](path.c_str())) << path << ", reader " << i; });
            EXPECT_NE(said.find(" " + path + "\n", said.find('|')), std::string::npos) << said << " by reader " << i;
        }
    alarm(0);
}
