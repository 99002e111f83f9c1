// The atomic file writer that the settings, map and collision layer files share:
// it replaces only the file it was asked to write, the way a plain fopen(..., "w")
// would reach it, and never leaves a half-written one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>

#include "fileio.h"
#include "test_util.h"

namespace {

// The user the permission tests run as when started as root: root may write anything.
const uid_t NOBODY = 65534;

// What saveConfig writes, as a fresh file shows it.
std::string savedSettings()
{
    TempDir dir;
    printed([&] { saveConfig((dir.path + "/fresh.cfg").c_str()); });
    return readFile(dir.path + "/fresh.cfg");
}

} // namespace

TEST(FileWriter, ASaveReplacesOnlyTheFileItsLinksNameKeepingItsModeClearsOnlyItsOwnLeftoversAndWritesAFifoInPlace)
{
    TempDir dir;
    const std::string settings = savedSettings(), d = dir.path + "/", longest(255, 'n');
    writeFile(d + "real.cfg", "old\n");
    chmod((d + "real.cfg").c_str(), 0640);
    writeFile(d + "own.cfg", "old\n");
    chmod((d + "own.cfg").c_str(), 0600);
    writeFile(d + "own.cfg.tmp", "the user's own\n"); // a name the writer once used for itself
    writeFile(d + "victim", "untouched\n");
    // What a killed save of own.cfg left goes; another file's, names merely like it, a link and a folder stay.
    for (const char *name : {".own.cfg.Ab12Cd", ".victim.Xy34Zw", ".own.cfg.Ab12C", ".own.cfg.Ab12Cde",
                             "own.cfg.Ab12Cd", ".own.cfgxAb12Cd", ".own.cfg.Ab-2Cd"})
        writeFile(d + name, "left\n");
    ASSERT_EQ(symlink("victim", (d + "real.cfg.tmp").c_str()) | symlink("real.cfg", (d + "link.cfg").c_str()) |
                  symlink((d + "link.cfg").c_str(), (d + "chain.cfg").c_str()) |
                  symlink("made.cfg", (d + "dangling.cfg").c_str()) | mkfifo((d + "pipe.cfg").c_str(), 0600) |
                  symlink("own.cfg", (d + ".own.cfg.Lnk123").c_str()) | mkdir((d + ".own.cfg.Dir123").c_str(), 0700),
              0);
    auto expected = snapshot(dir.path);
    expected.erase(".own.cfg.Ab12Cd");
    expected["real.cfg"] = "file 640 " + settings;
    expected["own.cfg"] = "file 600 " + settings;
    const mode_t oldMask = umask(027);
    expected["made.cfg"] = expected[longest] = "file 640 " + settings; // a new file gets the usual mode

    const int reader = open((d + "pipe.cfg").c_str(), O_RDONLY | O_NONBLOCK);
    for (const char *name : {"chain.cfg", "own.cfg", "dangling.cfg", "pipe.cfg", longest.c_str()})
        EXPECT_EQ(printed([&] { EXPECT_EQ(saveConfig((d + name).c_str()), 0) << name; }), "Saving config\n|");
    umask(oldMask);
    std::string piped(settings.size() + 1, '\0');
    piped.resize(std::max<ssize_t>(0, read(reader, &piped[0], piped.size())));
    close(reader);
    EXPECT_EQ(piped, settings);
    EXPECT_EQ(snapshot(dir.path), expected);
}

TEST(FileWriter, AFileTheUserMayNotWriteIsRefusedUntouchedEvenInAWritableFolder)
{
    TempDir dir;
    const std::string file = dir.path + "/level.map";
    writeFile(file, "someone else's level\n");
    ASSERT_EQ(chmod(file.c_str(), 0444) | chmod(dir.path.c_str(), 0777), 0);
    const auto before = snapshot(dir.path);
    // The child exits 0 when the save was refused with its message and result 1.
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
            _exit(77);
        int result = 0;
        const std::string said = printed([&] { result = saveMap(file.c_str()); });
        _exit(result == 1 && said == "|ERROR: (saveMap) Can't open " + file + ": Permission denied\n" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "running as root, and could not become an ordinary user to test permissions";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save was not refused as it should be";
    EXPECT_EQ(snapshot(dir.path), before);
}

TEST(FileWriter, AWriterThatFailsHalfWayLeavesTheOldFileWholeAndNoTemporaryFile)
{
    static unsigned char layer[256][16][16];
    TempDir dir;
    const std::string file = dir.path + "/saved";
    writeFile(file, "complete\n");
    const auto before = snapshot(dir.path);
    std::string said;
    withFileSizeLimit(100, [&] { said = printed([&] { EXPECT_EQ(saveCollisionLayer(layer, file.c_str()), 1); }); });
    EXPECT_EQ(said, "Saving collision layer\n|ERROR: (saveCollisionLayer) Can't open " + file + ": File too large\n");
    EXPECT_EQ(snapshot(dir.path), before);
}
