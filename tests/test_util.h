// Small helpers shared by the tests: temporary directories, whole-file
// reading and writing, and capturing what the game prints.
#pragma once
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>

// A fresh directory under /tmp, removed with its contents at the end of the scope.
struct TempDir {
    std::string path;
    TempDir()
    {
        char pattern[] = "/tmp/kettlemoor-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
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

inline bool fileExists(const std::string &path) { return std::filesystem::exists(path); }

// Runs the rest of the scope with dir as the working directory, so files the
// game writes to ./data land there and not in the game's own data.
struct InDirectory {
    const std::filesystem::path old = std::filesystem::current_path();
    explicit InDirectory(const std::string &dir) { std::filesystem::current_path(dir); }
    ~InDirectory() { std::filesystem::current_path(old); }
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
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const fs::directory_entry &e : fs::directory_iterator(dir)) {
        const fs::file_status st = e.symlink_status();
        char mode[8];
        snprintf(mode, sizeof mode, "%o", (unsigned)st.permissions());
        std::string &entry = entries[e.path().filename()];
        if (fs::is_symlink(st))
            entry = "link " + fs::read_symlink(e).string();
        else if (fs::is_fifo(st))
            entry = std::string("fifo ") + mode;
        else
            entry = std::string("file ") + mode + " " + readFile(e.path());
    }
    return entries;
}
