// The shared line reader and word splitter, and the atomic file writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fileio.h"
#include "test_util.h"

namespace {

FILE *streamOf(const std::string &text)
{
    FILE *fp = tmpfile();
    fwrite(text.data(), 1, text.size(), fp);
    rewind(fp);
    return fp;
}

} // namespace

TEST(LineReader, CommentsBlankLinesAndTheEndOfTheStream)
{
    char line[LINE_MAX_CHARS];
    FILE *fp = streamOf("K_UP   273   # up arrow\n# only a comment\n\nabc");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 13);
    EXPECT_STREQ(line, "K_UP   273   ");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 0); // comment-only line is empty, not the end
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 0);
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 3); // last line without a line feed
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), -1);
    fclose(fp);

    fp = streamOf("");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), -1);
    fclose(fp);

    fp = streamOf("# trailing comment without line feed");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), -1);
    fclose(fp);

    fp = streamOf("NAME: a#b c\n");
    fgetLine(fp, line, LINE_MAX_CHARS);
    EXPECT_STREQ(line, "NAME: a");
    fclose(fp);
}

TEST(LineReader, AnOverlongLineIsCutAndItsRestDiscarded)
{
    char line[LINE_MAX_CHARS];
    FILE *fp = streamOf(std::string(1200, 'x') + "\nnext\n");
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 999);
    EXPECT_EQ(std::string(line), std::string(999, 'x'));
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 4);
    EXPECT_STREQ(line, "next");
    fclose(fp);
}

TEST(WordSplitter, WhitespaceHighBytesNulAndTheWordLimit)
{
    char line[LINE_MAX_CHARS];
    char *words[LINE_MAX_WORDS];

    strcpy(line, "K_UP   273   ");
    ASSERT_EQ(getWords(line, words, LINE_MAX_WORDS), 2);
    EXPECT_STREQ(words[0], "K_UP");
    EXPECT_STREQ(words[1], "273");

    strcpy(line, " \t \t ");
    EXPECT_EQ(getWords(line, words, LINE_MAX_WORDS), 0);

    strcpy(line, "a\tb\r");
    ASSERT_EQ(getWords(line, words, LINE_MAX_WORDS), 2);
    EXPECT_STREQ(words[0], "a");
    EXPECT_STREQ(words[1], "b");

    strcpy(line, "caf\xc3\xa9 \xff\x80");
    ASSERT_EQ(getWords(line, words, LINE_MAX_WORDS), 2);
    EXPECT_STREQ(words[0], "caf\xc3\xa9");
    EXPECT_STREQ(words[1], "\xff\x80");

    char sentinel[] = "untouched";
    strcpy(line, "x y z");
    words[2] = sentinel;
    ASSERT_EQ(getWords(line, words, 2), 2);
    EXPECT_STREQ(words[0], "x");
    EXPECT_STREQ(words[1], "y");
    EXPECT_EQ(words[2], sentinel);
    EXPECT_STREQ(words[1] + 2, "z"); // the rest stays unsplit in the buffer

    // A NUL read from the file ends the text the splitter sees.
    FILE *fp = tmpfile();
    fwrite("ab\0cd\n", 1, 6, fp);
    rewind(fp);
    EXPECT_EQ(fgetLine(fp, line, LINE_MAX_CHARS), 5);
    fclose(fp);
    ASSERT_EQ(getWords(line, words, LINE_MAX_WORDS), 1);
    EXPECT_STREQ(words[0], "ab");
}

TEST(AtomicWriter, ReplacesTheFileOnlyWhenTheWriteSucceeds)
{
    TempDir dir;
    const std::string path = dir.path + "/settings.txt";
    writeFile(path, "old contents\n");

    char tmp[512];
    FILE *fp = beginAtomicWrite(path.c_str(), tmp, sizeof tmp);
    ASSERT_NE(fp, nullptr);
    fputs("new contents\n", fp);
    EXPECT_EQ(readFile(path), "old contents\n"); // untouched while writing
    EXPECT_EQ(finishAtomicWrite(fp, tmp, path.c_str()), 0);
    EXPECT_EQ(readFile(path), "new contents\n");
    EXPECT_FALSE(fileExists(tmp));

    // A target directory that does not exist: nothing is opened.
    EXPECT_EQ(beginAtomicWrite((dir.path + "/missing/x.txt").c_str(), tmp, sizeof tmp), nullptr);
}

TEST(AtomicWriter, AFullDiskLeavesTheOldFileIntact)
{
    if (!fileExists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    // Writing into /dev/full fails at the flush; the old file must survive.
    TempDir dir;
    const std::string path = dir.path + "/level.map";
    writeFile(path, "complete level\n");
    FILE *full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    fputs(std::string(100000, 'x').c_str(), full);
    const std::string tmp = dir.path + "/level.map.tmp";
    writeFile(tmp, "partial");
    EXPECT_EQ(finishAtomicWrite(full, tmp.c_str(), path.c_str()), 1);
    EXPECT_EQ(readFile(path), "complete level\n");
    EXPECT_FALSE(fileExists(tmp));
}
