// Small helpers shared by the tests: temporary directories, whole-file
// reading and writing, and capturing what the game prints.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fstream>
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
