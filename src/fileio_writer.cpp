// The atomic file writer that the settings, map and collision layer files are
// saved through, and the comment lines those files open with.
#include "fileio_private.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
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

// The longest file name the file systems the game saves to will take (NAME_MAX
// on Linux; FAT on a memory card and the browser's file system take as many).
const size_t WRITER_NAME_MAX = 255;

// What mkstemp turns into six letters and digits at the end of a temporary
// file's name.
static const char WRITER_UNIQUE[] = "XXXXXX";
const size_t WRITER_UNIQUE_LENGTH = sizeof WRITER_UNIQUE - 1;

// A file name that long or shorter goes whole into its temporary file's name,
// between a '.' and the '.' before the six unique characters.
const size_t WRITER_WHOLE_NAME_MAX = WRITER_NAME_MAX - 2 - WRITER_UNIQUE_LENGTH;

// Of a longer name, the temporary's name keeps this many characters, a '~'
// and the whole name's hash in 8 hex digits.
const size_t WRITER_NAME_START = WRITER_WHOLE_NAME_MAX - 9;

// One file being written: the stream, the file it will become, and the
// temporary file beside it (empty when the target is written in place).
struct AtomicFile {
    FILE *fp;
    char target[PATH_MAX];
    char tmpPath[PATH_MAX];
};

// Copies text into a PATH_MAX buffer after its first keep characters; 1, with
// errno set, when it does not fit.
static int writerPathAppend(char *path, size_t keep, const char *text)
{
    const size_t length = strlen(text);
    if (keep + length >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return 1;
    }
    memcpy(path + keep, text, length + 1);
    return 0;
}

// The characters of path up to and including its last '/': its folder.
static size_t writerFolderLength(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? static_cast<size_t>(slash - path + 1) : 0;
}

// Copies the folder of path, up to its last '/', into a PATH_MAX buffer;
// returns its length, 0 for a bare name, whose folder is ".".
static size_t writerCopyFolder(const char *path, char *folder)
{
    const size_t length = writerFolderLength(path);
    memcpy(folder, path, length);
    folder[length] = '\0';
    return length;
}

// Follows filename through symbolic links to the file they end at, which need
// not exist yet: saving through a link replaces that file and keeps the link.
// Returns 1, with errno set, for a loop, an unreadable link or a path too long.
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
    errno = ELOOP;
    return 1;
}

// The FNV-1a hash of a name, which tells apart long names that begin alike.
static uint32_t writerNameHash(const char *name)
{
    uint32_t hash = 2166136261u;
    for (const char *c = name; *c != '\0'; c++)
        hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
    return hash;
}

// Puts into tmpPath the path of the target's temporary files up to their six
// unique characters: the folder, '.', the file's name and '.'. A name too long
// to leave room for the rest keeps its start and the hash of the whole name,
// so that its temporary's name still fits the file system and still names
// this file's temporaries alone. Returns 1, with errno set, when too long.
static int writerTemporaryPrefix(AtomicFile *f)
{
    const size_t folder = writerCopyFolder(f->target, f->tmpPath);
    const char *name = f->target + folder;
    char start[WRITER_NAME_MAX + 1];
    if (strlen(name) <= WRITER_WHOLE_NAME_MAX)
        snprintf(start, sizeof start, ".%s.", name);
    else
        snprintf(start, sizeof start, ".%.*s~%08lx.", static_cast<int>(WRITER_NAME_START), name,
                 static_cast<unsigned long>(writerNameHash(name)));
    return writerPathAppend(f->tmpPath, folder, start);
}

// 1 when entry is a name mkstemp made from the prefix: the prefix and then
// exactly six letters or digits.
static int writerIsOwnTemporary(const char *entry, const char *prefix)
{
    const size_t length = strlen(prefix);
    if (strncmp(entry, prefix, length) != 0 || strlen(entry + length) != WRITER_UNIQUE_LENGTH)
        return 0;
    for (const char *c = entry + length; *c != '\0'; c++) {
        if (!((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z')))
            return 0;
    }
    return 1;
}

// Removes the temporary files that saves of this same file left beside it when
// they were cut short (the game killed, the power lost): regular files named
// as this save names its own, and nothing else, so no other file's temporary,
// look-alike name, link or folder. On a full disk that can also make the room
// this save needs. What cannot be read or removed is left as it is.
static void writerRemoveStaleTemporaries(const AtomicFile *f)
{
    char path[PATH_MAX];
    const size_t folder = writerCopyFolder(f->tmpPath, path);
    DIR *dir = opendir(folder > 0 ? path : ".");
    if (!dir)
        return;
    for (const dirent *entry; (entry = readdir(dir)) != nullptr;) {
        struct stat st;
        if (writerIsOwnTemporary(entry->d_name, f->tmpPath + folder) &&
            writerPathAppend(path, folder, entry->d_name) == 0 && lstat(path, &st) == 0 && S_ISREG(st.st_mode))
            unlink(path);
    }
    closedir(dir);
}

// Opens the temporary file beside the target: a new, hidden file with a unique
// name, made exclusively, so no file that is already there is ever followed,
// reused or removed. It gets the old file's owner and permission bits, or a
// new file's usual ones; where the file system keeps none, it goes without.
// Returns 1, with errno set, when it cannot be made.
static int writerOpenTemporary(AtomicFile *f, const struct stat *old)
{
    if (writerTemporaryPrefix(f))
        return 1;
    writerRemoveStaleTemporaries(f);
    if (writerPathAppend(f->tmpPath, strlen(f->tmpPath), WRITER_UNIQUE))
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
    const int error = errno;
    close(fd);
    unlink(f->tmpPath);
    errno = error;
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
// changed but stale temporaries, and errno set, when it cannot be written.
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

// Puts the rename itself on the disk by syncing the folder that holds the
// file, so that a save reported done outlasts a power cut. Some file systems
// refuse to sync a folder; the file's own lines are on the disk already then.
static void writerSyncFolder(const char *target)
{
    char folder[PATH_MAX];
    const int fd = open(writerCopyFolder(target, folder) > 0 ? folder : ".", O_RDONLY);
    if (fd < 0)
        return;
    (void)!fsync(fd);
    close(fd);
}

// Flushes the stream, puts a temporary file's lines on the disk and closes it;
// returns the errno of the first step that failed, or 0. Flushing comes first,
// as a write that the disk refused may still wait in the buffer.
static int writerClose(AtomicFile *f)
{
    int error = 0;
    if (fflush(f->fp) != 0 || ferror(f->fp))
        error = errno != 0 ? errno : EIO;
    if (error == 0 && f->tmpPath[0] != '\0' && fsync(fileno(f->fp)) != 0)
        error = errno;
    if (fclose(f->fp) != 0 && error == 0)
        error = errno;
    return error;
}

// Closes the file, checking that every write reached the disk, and renames the
// temporary file over the target. On failure the temporary file is removed and
// the old file stays as it was. Returns 0 on success, 1 with errno set on failure.
static int writerFinish(AtomicFile *f)
{
    int error = writerClose(f);
    if (f->tmpPath[0] == '\0') {
        errno = error;
        return error != 0;
    }
    if (error == 0 && rename(f->tmpPath, f->target) != 0)
        error = errno;
    if (error == 0) {
        writerSyncFolder(f->target);
        return 0;
    }
    unlink(f->tmpPath);
    errno = error;
    return 1;
}

int saveAtomically(const char *filename, const char *savingLine, const char *failedFormat,
                   void (*writeLines)(FILE *ofp, const void *ctx), const void *ctx)
{
    AtomicFile file;
    int failed = writerOpen(&file, filename);
    if (!failed) {
        fputs(savingLine, stdout);
        errno = 0;
        writeLines(file.fp, ctx);
        failed = writerFinish(&file);
    }
    if (failed) {
        const int error = errno;
        fprintf(stderr, failedFormat, filename, strerror(error));
        return 1;
    }
    return 0;
}
