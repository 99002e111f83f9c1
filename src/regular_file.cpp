#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE *fopenRegular(const char *filename)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int fd = open(filename, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat st;
    FILE *fp = nullptr;
    // A regular file never blocks anyway; the flag is cleared so that the
    // stream reads it as fopen would have.
    const int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flags != -1 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        fp = fdopen(fd, "r");
    if (!fp)
        close(fd);
    return fp;
}

int isRegularFile(const char *filename)
{
    struct stat st;
    return stat(filename, &st) == 0 && S_ISREG(st.st_mode);
}
