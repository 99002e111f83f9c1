// Small helpers shared by the tests: temporary directories, whole-file
// reading and writing, and capturing what the game prints.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
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
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
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
    InDirectory(const InDirectory &) = delete;
    InDirectory &operator=(const InDirectory &) = delete;
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
