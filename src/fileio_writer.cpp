// The atomic file writer that the settings, map and collision layer files are
// saved through, and the comment lines those files open with.
#include "fileio_private.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "global.h"

const char *const GENERATED_HEADER =
    "#This file was generated automatically, any extra lines will be overwritten\n";

// The two comment lines and the blank line that open every level and collision file.
void levelWriteHeader(FILE *ofp)
{
    fputs(GENERATED_HEADER, ofp);
    fprintf(ofp, "#Created by editor v%d.%d.%d\n", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    fputc('\n', ofp);
}

// Symbolic links followed at most before a path counts as a loop, as the
// system itself counts them.
const int WRITER_MAX_LINKS = 40;

// One file being written: the stream, the file it will become, and the
// temporary file beside it (empty when the target is written in place).
struct AtomicFile {
    FILE *fp;
    char target[PATH_MAX];
    char tmpPath[PATH_MAX];
};

// Copies text into a PATH_MAX buffer after its first keep characters; 1 when it does not fit.
static int writerPathAppend(char *path, size_t keep, const char *text)
{
    const size_t length = strlen(text);
    if (keep + length >= PATH_MAX)
        return 1;
    memcpy(path + keep, text, length + 1);
    return 0;
}

// The characters of path up to and including its last '/': its folder.
static size_t writerFolderLength(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? static_cast<size_t>(slash - path + 1) : 0;
}

// Follows filename through symbolic links to the file they end at, which need
// not exist yet: saving through a link replaces that file and keeps the link.
// Returns 1 for a loop, an unreadable link or a path too long.
static int writerResolveLinks(const char *filename, char *path)
{
    if (writerPathAppend(path, 0, filename))
        return 1;
    for (int links = 0; links < WRITER_MAX_LINKS; links++) {
        char link[PATH_MAX];
        const ssize_t length = readlink(path, link, sizeof link - 1);
        if (length < 0)
            return errno == EINVAL || errno == ENOENT ? 0 : 1;
        link[length] = '\0';
        const size_t keep = link[0] == '/' ? 0 : writerFolderLength(path);
        if (writerPathAppend(path, keep, link))
            return 1;
    }
    return 1;
}

// Opens the temporary file beside the target: a new, hidden file with a unique
// name, made exclusively, so no file that is already there is ever followed,
// reused or removed. It gets the old file's owner and permission bits, or a
// new file's usual ones; where the file system keeps none, it goes without.
static int writerOpenTemporary(AtomicFile *f, const struct stat *old)
{
    const size_t folder = writerFolderLength(f->target);
    memcpy(f->tmpPath, f->target, folder);
    f->tmpPath[folder] = '\0';
    if (writerPathAppend(f->tmpPath, folder, ".") ||
        writerPathAppend(f->tmpPath, folder + 1, f->target + folder) ||
        writerPathAppend(f->tmpPath, strlen(f->tmpPath), ".XXXXXX"))
        return 1;
    const int fd = mkstemp(f->tmpPath);
    if (fd < 0)
        return 1;
    if (old) {
        if (old->st_uid != geteuid() || old->st_gid != getegid())
            (void)!fchown(fd, old->st_uid, old->st_gid);
        (void)!fchmod(fd, old->st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        (void)!fchmod(fd, 0666 & ~mask);
    }
    f->fp = fdopen(fd, "w");
    if (f->fp)
        return 0;
    close(fd);
    unlink(f->tmpPath);
    return 1;
}

// 1 when the user may not open the existing file for writing, which a plain
// fopen(..., "w") would refuse: such a file is never replaced. The test opens
// it without truncating, so it changes nothing.
static int writerMayNotWrite(const char *path)
{
    const int fd = open(path, O_WRONLY | O_NOCTTY);
    if (fd < 0)
        return 1;
    close(fd);
    return 0;
}

// Opens filename for an atomic write. Returns 1, with nothing created or
// changed, when it cannot be written.
static int writerOpen(AtomicFile *f, const char *filename)
{
    f->fp = nullptr;
    f->tmpPath[0] = '\0';
    struct stat old;
    const int exists = stat(filename, &old) == 0;
    if (!exists && errno != ENOENT)
        return 1;
    if (writerResolveLinks(filename, f->target))
        return 1;
    // A FIFO, a device or a terminal cannot be replaced: it is written where it
    // is, as fopen does. So is a file that the links do not name by a path
    // (the system's links to open files, such as /dev/stdout).
    struct stat resolved;
    const int sameFile = exists && stat(f->target, &resolved) == 0 && resolved.st_dev == old.st_dev &&
                         resolved.st_ino == old.st_ino;
    if (exists && (!S_ISREG(old.st_mode) || !sameFile)) {
        f->fp = fopen(filename, "w");
        return f->fp == nullptr;
    }
    if (exists && writerMayNotWrite(f->target))
        return 1;
    return writerOpenTemporary(f, exists ? &old : nullptr);
}

// Closes the file, checking that every write reached the disk, and renames the
// temporary file over the target. On failure the temporary file is removed and
// the old file stays as it was. Returns 0 on success, 1 on failure.
static int writerFinish(AtomicFile *f)
{
    int failed = ferror(f->fp) != 0;
    failed |= fflush(f->fp) != 0;
    if (f->tmpPath[0] != '\0')
        failed |= fsync(fileno(f->fp)) != 0;
    failed |= fclose(f->fp) != 0;
    if (f->tmpPath[0] == '\0')
        return failed;
    if (!failed && rename(f->tmpPath, f->target) == 0)
        return 0;
    unlink(f->tmpPath);
    return 1;
}

int saveAtomically(const char *filename, const char *savingLine, const char *failedFormat,
                   void (*writeLines)(FILE *ofp, const void *ctx), const void *ctx)
{
    AtomicFile file;
    int failed = writerOpen(&file, filename);
    if (!failed) {
        fputs(savingLine, stdout);
        writeLines(file.fp, ctx);
        failed = writerFinish(&file);
    }
    if (failed) {
        fprintf(stderr, failedFormat, filename);
        return 1;
    }
    return 0;
}
