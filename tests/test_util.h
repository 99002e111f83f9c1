// Small helpers shared by the tests: temporary directories, whole-file
// reading and writing, and capturing what the game prints.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <map>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// A fresh directory under /tmp, removed with its contents at the end of the scope.
struct TempDir {
    std::string path;
    TempDir()
    {
        char pattern[] = "/tmp/kettlemoor-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir()
    {
        std::string cmd = "rm -rf '" + path + "'";
        if (system(cmd.c_str()) != 0)
            fprintf(stderr, "could not remove %s\n", path.c_str());
    }
};

inline void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline bool fileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Runs the rest of the scope with dir as the working directory, so files the
// game writes to ./data land there and not in the game's own data.
struct InDirectory {
    char old[PATH_MAX];
    explicit InDirectory(const std::string &dir)
    {
        if (getcwd(old, sizeof old) == nullptr)
            old[0] = '\0';
        EXPECT_EQ(chdir(dir.c_str()), 0);
    }
    ~InDirectory()
    {
        if (old[0] != '\0' && chdir(old) != 0)
            ADD_FAILURE() << "could not return to " << old;
    }
};

// Runs f and returns what it printed, as "stdout|stderr".
template <typename F>
std::string printed(F f)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    const std::string out = testing::internal::GetCapturedStdout();
    return out + "|" + testing::internal::GetCapturedStderr();
}

// Runs f with every write to a regular file failing beyond its first bytes, as
// on a disk that has filled up.
template <typename F>
void withFileSizeLimit(rlim_t bytes, F f)
{
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = bytes;
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    f();
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
}

// Every entry of a directory by name, as "link TEXT", "fifo MODE" or "file MODE TEXT"
// (MODE being the octal permission bits), so a test sees anything made, changed or removed.
inline std::map<std::string, std::string> snapshot(const std::string &dir)
{
    std::map<std::string, std::string> entries;
    DIR *d = opendir(dir.c_str());
    for (struct dirent *e; d && (e = readdir(d)) != nullptr;) {
        const std::string name = e->d_name, path = dir + "/" + name;
        struct stat st;
        char text[PATH_MAX] = "";
        if (name == "." || name == ".." || lstat(path.c_str(), &st) != 0)
            continue;
        char mode[8];
        snprintf(mode, sizeof mode, "%o", (unsigned)(st.st_mode & 07777));
        if (S_ISLNK(st.st_mode))
            entries[name] = "link " + std::string(text, readlink(path.c_str(), text, sizeof text - 1));
        else if (S_ISFIFO(st.st_mode))
            entries[name] = std::string("fifo ") + mode;
        else
            entries[name] = std::string("file ") + mode + " " + readFile(path);
    }
    if (d)
        closedir(d);
    return entries;
}
