#include "fileio.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "enemy.h"
#include "global.h"
#include "input.h"
#include "map.h"
#include "sdldraw.h"

const char *const GENERATED_HEADER =
    "#This file was generated automatically, any extra lines will be overwritten\n";

// ---- the shared line reader and word splitter ----

int fgetLine(FILE *fp, char *line, int max)
{
    int nch = 0;
    int ignoreLine = 0;
    for (;;) {
        const int c = getc(fp);
        if (c == EOF) {
            if (nch == 0)
                return -1;
            line[nch] = '\0';
            return nch;
        }
        if (c == '\n') {
            line[nch] = '\0';
            return nch;
        }
        if (c == '#')
            ignoreLine = 1;
        if (nch < max - 1 && !ignoreLine)
            line[nch++] = static_cast<char>(c);
    }
}

// The default locale's white space; bytes 0x80-0xFF are word characters.
static int isWordSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int getWords(char *line, char **words, int maxwords)
{
    char *p = line;
    int nwords = 0;
    if (maxwords <= 0)
        return 0;
    for (;;) {
        while (isWordSeparator(*p))
            p++;
        if (*p == '\0')
            return nwords;
        words[nwords++] = p;
        while (*p != '\0' && !isWordSeparator(*p))
            p++;
        if (*p == '\0')
            return nwords;
        *p++ = '\0';
        if (nwords >= maxwords)
            return nwords;
    }
}

int readWordLines(const char *filename, void (*onLine)(char **words, int n, void *ctx), void *ctx)
{
    FILE *ifp = fopen(filename, "r");
    if (!ifp) {
        fprintf(stderr, "Can't open %s\n", filename);
        return 1;
    }
    char line[LINE_MAX_CHARS];
    char *words[LINE_MAX_WORDS];
    while (fgetLine(ifp, line, LINE_MAX_CHARS) != -1) {
        const int n = getWords(line, words, LINE_MAX_WORDS);
        onLine(words, n, ctx);
    }
    fclose(ifp);
    return 0;
}

// A number word read like atoi, but kept within lowest ... highest: a file can
// hold any digits, and what the game computes from a number must not overflow.
static int readBoundedNumber(const char *word, int lowest, int highest)
{
    const long v = strtol(word, nullptr, 10);
    if (v < lowest)
        return lowest;
    if (v > highest)
        return highest;
    return static_cast<int>(v);
}

// ---- the atomic file writer ----

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

// ---- settings file ----

// The keys of the settings file for keyMapping[0] ... keyMapping[17], in file order.
static const char *const CONFIG_MAPPING_KEYS[] = {
    "K_UP", "K_DOWN", "K_LEFT", "K_RIGHT", "K_ACTION", "K_JUMP", "K_OK", "K_BACK", "K_MENU",
    "J_UP", "J_DOWN", "J_LEFT", "J_RIGHT", "J_ACTION", "J_JUMP", "J_OK", "J_BACK", "J_MENU"};
static_assert(std::size(CONFIG_MAPPING_KEYS) == std::size(keyMapping), "one key per mapping entry");

static const char *const CONFIG_DEADZONE_KEY = "J_DEADZONE";
static const char *const CONFIG_REVERSE_X_KEY = "J_REVERSE_AXIS_X";
static const char *const CONFIG_REVERSE_Y_KEY = "J_REVERSE_AXIS_Y";

// Largest joystick dead zone the settings accept (ten times an axis' range).
const int CONFIG_DEADZONE_MAX = 327670;

// Stores a dead zone, clamped to 0 ... CONFIG_DEADZONE_MAX with a warning.
static void configSetDeadzone(int v)
{
    joyDeadzone = v;
    if (joyDeadzone < 0) {
        joyDeadzone = 0;
        printf("WARNING: Joystick deadzone value must be greater than 0\n");
        printf("Changed the value to 0\n");
    }
    if (joyDeadzone > CONFIG_DEADZONE_MAX) {
        joyDeadzone = CONFIG_DEADZONE_MAX;
        printf("WARNING: Joystick deadzone value must be smaller than %d\n", CONFIG_DEADZONE_MAX);
        printf("Changed the value to %d\n", CONFIG_DEADZONE_MAX);
    }
}

// Stores an axis reversal flag, clamped to 0 ... 1 with the given warning.
static void configSetReverse(int *flag, int v, const char *warning)
{
    *flag = v;
    if (*flag < 0) {
        *flag = 0;
        printf("%s", warning);
    }
    if (*flag > 1) {
        *flag = 1;
        printf("%s", warning);
    }
}

// Applies the setting named by key with the value word; unknown words are ignored.
static void configApply(const char *key, const char *value)
{
    for (size_t k = 0; k < std::size(CONFIG_MAPPING_KEYS); k++) {
        if (strcmp(key, CONFIG_MAPPING_KEYS[k]) == 0)
            keyMapping[k] = atoi(value);
    }
    if (strcmp(key, CONFIG_DEADZONE_KEY) == 0)
        configSetDeadzone(atoi(value));
    if (strcmp(key, CONFIG_REVERSE_X_KEY) == 0)
        configSetReverse(&joyReverseAxis.x, atoi(value),
                         "WARNING: J_REVERSE_AXIS_X value must be in range 0 - 1\n");
    if (strcmp(key, CONFIG_REVERSE_Y_KEY) == 0)
        configSetReverse(&joyReverseAxis.y, atoi(value),
                         "WARNING: J_REVERSE_AXIS_Y value must be in range 0 - 1\n");
}

// One line of the settings file: a key anywhere in it takes the next word as
// its value. A key that ends the line has no value and is ignored.
static void configReadLine(char **words, int n, void *)
{
    for (int i = 0; i + 1 < n; i++)
        configApply(words[i], words[i + 1]);
}

// Reads the key mapping and joystick settings; 1 if the file cannot be opened.
int loadConfig(const char *filename)
{
    return readWordLines(filename, configReadLine, nullptr);
}

// Writes the settings file's lines, in the order loadConfig reads them back.
static void configWriteLines(FILE *ofp, const void *)
{
    fprintf(ofp, "%s", GENERATED_HEADER);
    fprintf(ofp, "\n");
    fprintf(ofp, "#Game version:\n");
    fprintf(ofp, "VERSION %d %d %d\n", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    fprintf(ofp, "#Button configuration:\n");
    fprintf(ofp, "#Keyboard\n");
    fprintf(ofp, "#(values in ascii)\n");
    for (int k = K_UP; k <= K_MENU; k++)
        fprintf(ofp, "%s %d\n", CONFIG_MAPPING_KEYS[k], keyMapping[k]);
    fprintf(ofp, "#Joystick\n");
    fprintf(ofp, "#(set J_UP/J_DOWN/J_LEFT/J_RIGHT values to -1 if you want direction control "
                 "with analog/hat)\n");
    for (int k = J_UP; k <= J_MENU; k++)
        fprintf(ofp, "%s %d\n", CONFIG_MAPPING_KEYS[k], keyMapping[k]);
    fprintf(ofp, "#Joystick deadzone (0 - 32767)\n");
    fprintf(ofp, "%s %d\n", CONFIG_DEADZONE_KEY, joyDeadzone);
    fprintf(ofp, "#Reverse the joystick axis (0 - 1)\n");
    fprintf(ofp, "%s %d\n", CONFIG_REVERSE_X_KEY, joyReverseAxis.x);
    fprintf(ofp, "%s %d\n", CONFIG_REVERSE_Y_KEY, joyReverseAxis.y);
}

// Writes the settings beside the old file and renames it into place, so a
// failed write keeps the old settings; 1 (with a message) on any failure.
int saveConfig(const char *filename)
{
    return saveAtomically(filename, "Saving config\n", "ERROR: (saveConfig) Can't open %s\n", configWriteLines,
                          nullptr);
}

// ---- map file ----

// Where the tileset images named in a level file live.
static const char MAP_TILESET_DIR[] = "./data/gfx/";
// The collision masks of every level.
static const char MAP_COLLISION_FILE[] = "./data/maps/default.col";
// A tileset image holds 256 tiles of 16 x 16 pixels, 16 to a row.
const int TILESET_TILES = 256;

// Where the map reader stands in its file, kept from line to line.
struct MapReader {
    int parseName;    // the rest of this line is the level name
    int parseMap;     // inside the tile section
    int parseLayer;   // the layer the numbers fill, 0 or 1
    int parseObjects; // every line is a creature
    int mapInited;    // both grids have been allocated
    int k;            // tile cursor: column
    int l;            // tile cursor: row
    char *next;       // the next level's name read so far, or null
};

// A heap copy of text, or null when there is no memory.
static char *mapCopyText(const char *text)
{
    const size_t size = strlen(text) + 1;
    char *copy = static_cast<char *>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

// Reports a name that could not be copied; returns 1 so the rest of the line is skipped.
static int mapOutOfMemory(void)
{
    fprintf(stderr, "ERROR: out of memory!\n");
    return 1;
}

// Appends a word and one blank to the level name; what does not fit is cut.
static void mapAppendName(const char *word)
{
    const size_t used = strlen(curLvl.name);
    snprintf(curLvl.name + used, sizeof(curLvl.name) - used, "%s ", word);
}

// Allocates and clears both grids with the sizes known at the start of the
// tile section. A layer whose size is bad reports it and keeps no grid.
static void mapInitArrays(MapReader *r)
{
    initMapArray(&curLvl.layer0);
    fillMapArray(&curLvl.layer0, 0);
    initMapArray(&curLvl.layer1);
    r->mapInited = 1;
    fillMapArray(&curLvl.layer1, 0);
}

// Stores one number of the tile section and moves the cursor on, row by row.
static void mapStoreTile(MapReader *r, const char *word)
{
    mapLayer *layer = r->parseLayer == 1 ? &curLvl.layer1 : &curLvl.layer0;
    // A layer without a grid takes no numbers.
    if (!layer->array)
        return;
    // After a switch to a smaller layer the cursor may lie outside it; it then
    // starts again at the top-left cell, as after a full layer.
    if (r->k >= layer->w || r->l >= layer->h) {
        r->k = 0;
        r->l = 0;
    }
    layer->array[r->k][r->l] = static_cast<unsigned char>(atoi(word));
    r->k++;
    if (r->k >= layer->w) {
        r->k = 0;
        r->l++;
    }
    if (r->l >= layer->h) {
        r->k = 0;
        r->l = 0;
        // The tile section ends once layer 1 is full.
        if (r->parseLayer == 1)
            r->parseMap = 0;
    }
}

// Creates the creature of an object line (type, x, y) in front of the list.
// A line without all three is ignored; without memory the list stays as it was.
// The position is kept within a level's largest reach.
static void mapReadObject(char **words, int i, int n)
{
    if (i + 2 >= n)
        return;
    const int x = readBoundedNumber(words[i + 1], -MAP_MAX_SIDE_PIXELS, MAP_MAX_SIDE_PIXELS);
    const int y = readBoundedNumber(words[i + 2], -MAP_MAX_SIDE_PIXELS, MAP_MAX_SIDE_PIXELS);
    EnemyList *head = prependElement(EnemyListHead, x, y, atoi(words[i]));
    if (head)
        EnemyListHead = head;
}

// Loads a layer's tileset from the tileset folder and cuts it into tiles.
// Returns 1 when out of memory, leaving the layer as it was.
static int mapLoadTileset(mapLayer *layer, const char *name)
{
    const size_t imagePathSize = sizeof(MAP_TILESET_DIR) + strlen(name);
    char *path = mapCopyText(name);
    char *imagePath = static_cast<char *>(malloc(imagePathSize));
    if (!path || !imagePath) {
        free(path);
        free(imagePath);
        return mapOutOfMemory();
    }
    snprintf(imagePath, imagePathSize, "%s%s", MAP_TILESET_DIR, name);

    // A second tileset line for the same layer replaces the first.
    free(layer->tilesetPath);
    freeImage(&layer->tilesetIMG);
    layer->tilesetPath = path;
    layer->tilesetIMG = loadImage(imagePath);
    free(imagePath);
    clipImage(layer->tileClip, TILE_SIZE, TILE_SIZE, SHEET_CELLS_PER_ROW, TILESET_TILES);
    return 0;
}

// Reads a layer's size. Once the grids exist they keep the size they were made
// with, so a size given inside the tile section is ignored. Digits beyond int
// read as the largest int, which the grid allocation then refuses.
static void mapReadSize(const MapReader *r, mapLayer *layer, char **words, int i, int n)
{
    if (i + 2 >= n || r->mapInited)
        return;
    layer->w = readBoundedNumber(words[i + 1], INT_MIN, INT_MAX);
    layer->h = readBoundedNumber(words[i + 2], INT_MIN, INT_MAX);
}

// Reads a tile position (column, row), kept within a level's largest reach;
// ignored when the line lacks it.
static void mapReadPoint(Point *point, char **words, int i, int n)
{
    if (i + 2 >= n)
        return;
    point->x = readBoundedNumber(words[i + 1], -MAP_MAX_SIDE_TILES, MAP_MAX_SIDE_TILES);
    point->y = readBoundedNumber(words[i + 2], -MAP_MAX_SIDE_TILES, MAP_MAX_SIDE_TILES);
}

// Reads the next level's name. A bare keyword is ignored like every other
// keyword missing its argument. Returns 1 when out of memory, keeping the name
// read before.
static int mapReadNext(MapReader *r, char **words, int i, int n)
{
    if (i + 1 >= n)
        return 0;
    char *next = mapCopyText(words[i + 1]);
    if (!next)
        return mapOutOfMemory();
    free(r->next);
    r->next = next;
    return 0;
}

// Starts the creature section: the list read before is dropped.
static void mapStartObjects(MapReader *r)
{
    if (EnemyListHead) {
        cleanList(EnemyListHead);
        EnemyListHead = nullptr;
    }
    r->parseObjects = 1;
}

// Runs word i of a line through every step in order. Returns 1 when the rest
// of the line is to be skipped.
static int mapReadWord(MapReader *r, char **words, int i, int n)
{
    const char *word = words[i];
    // The level name, a word at a time.
    if (r->parseName)
        mapAppendName(word);
    if (r->parseMap) {
        if (!r->mapInited)
            mapInitArrays(r);
        if (strcmp(word, "LAYER0") == 0) {
            r->parseLayer = 0;
            return 1;
        }
        if (strcmp(word, "LAYER1") == 0) {
            r->parseLayer = 1;
            return 1;
        }
        mapStoreTile(r, word);
    }
    if (r->parseObjects) {
        mapReadObject(words, i, n);
        return 1;
    }
    // The keywords that open a section or carry a value.
    if (strcmp(word, "NAME:") == 0)
        r->parseName = 1;
    else if (strcmp(word, "LAYER0_MAPTILESET:") == 0 && i + 1 < n)
        return mapLoadTileset(&curLvl.layer0, words[i + 1]);
    else if (strcmp(word, "LAYER1_MAPTILESET:") == 0 && i + 1 < n)
        return mapLoadTileset(&curLvl.layer1, words[i + 1]);
    else if (strcmp(word, "LAYER0_SIZE:") == 0)
        mapReadSize(r, &curLvl.layer0, words, i, n);
    else if (strcmp(word, "LAYER1_SIZE:") == 0)
        mapReadSize(r, &curLvl.layer1, words, i, n);
    else if (strcmp(word, "START:") == 0)
        mapReadPoint(&curLvl.start, words, i, n);
    else if (strcmp(word, "EXIT:") == 0)
        mapReadPoint(&curLvl.exit, words, i, n);
    else if (strcmp(word, "NEXT:") == 0)
        return mapReadNext(r, words, i, n);
    else if (strcmp(word, "MAP:") == 0)
        r->parseMap = 1;
    else if (strcmp(word, "OBJECTS:") == 0)
        mapStartObjects(r);
    return 0;
}

// One line of a level file; a line without words changes nothing.
static void mapReadLine(char **words, int n, void *ctx)
{
    MapReader *r = static_cast<MapReader *>(ctx);
    if (n == 0)
        return;
    r->parseName = 0;
    for (int i = 0; i < n; i++) {
        if (mapReadWord(r, words, i, n))
            return;
    }
}

// A layer the file gave no grid (no tile section, a refused size) keeps no
// size either, so nothing computes with a size that has no grid behind it.
static void mapForgetSizeWithoutGrid(mapLayer *layer)
{
    if (layer->array)
        return;
    layer->w = 0;
    layer->h = 0;
}

void freeMapObjects(void)
{
    cleanList(EnemyListHead);
    EnemyListHead = nullptr;
    free(mapFileNext);
    mapFileNext = nullptr;
}

int loadMap(const char *filename)
{
    // A level's creatures and next level are exactly what its file says: none
    // are carried over from the level loaded before, even when this file
    // cannot be read.
    freeMapObjects();

    MapReader reader = {};
    if (readWordLines(filename, mapReadLine, &reader))
        return 1;
    mapFileNext = reader.next;
    mapForgetSizeWithoutGrid(&curLvl.layer0);
    mapForgetSizeWithoutGrid(&curLvl.layer1);
    loadCollisionLayer(curLvl.layer0.colLayer, MAP_COLLISION_FILE);
    return 0;
}

int loadMapTileset(mapLayer *layer, const char *name)
{
    return mapLoadTileset(layer, name);
}

// Writes a layer's grid: one line per row, each cell as a number and a blank.
static void mapWriteGrid(FILE *ofp, const mapLayer *layer)
{
    if (!layer->array)
        return;
    for (int y = 0; y < layer->h; y++) {
        for (int x = 0; x < layer->w; x++)
            fprintf(ofp, "%d ", layer->array[x][y]);
        fputc('\n', ofp);
    }
}

// A creature's position in whole pixels, truncated toward zero and kept inside int.
static int mapWholePixel(float v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483648.0f)
        return INT_MAX;
    if (v <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(v);
}

// The two comment lines and the blank line that open every level and collision file.
static void levelWriteHeader(FILE *ofp)
{
    fputs(GENERATED_HEADER, ofp);
    fprintf(ofp, "#Created by editor v%d.%d.%d\n", VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH);
    fputc('\n', ofp);
}

// Text for a name that may be missing.
static const char *mapTextOrEmpty(const char *text)
{
    return text ? text : "";
}

// Writes the whole level in the order the reader expects.
static void mapWriteLevel(FILE *ofp, const void *)
{
    levelWriteHeader(ofp);
    fprintf(ofp, "NAME: %s\n", curLvl.name);
    fprintf(ofp, "LAYER0_MAPTILESET: %s\n", mapTextOrEmpty(curLvl.layer0.tilesetPath));
    fprintf(ofp, "LAYER0_SIZE: %d %d\n", curLvl.layer0.w, curLvl.layer0.h);
    fprintf(ofp, "LAYER1_MAPTILESET: %s\n", mapTextOrEmpty(curLvl.layer1.tilesetPath));
    fprintf(ofp, "LAYER1_SIZE: %d %d\n", curLvl.layer1.w, curLvl.layer1.h);
    fprintf(ofp, "START: %d %d\n", curLvl.start.x, curLvl.start.y);
    fprintf(ofp, "EXIT: %d %d\n", curLvl.exit.x, curLvl.exit.y);
    fprintf(ofp, "NEXT: %s\n", mapTextOrEmpty(mapFileNext));
    fputs("MAP:\nLAYER0\n", ofp);
    mapWriteGrid(ofp, &curLvl.layer0);
    fputs("LAYER1\n", ofp);
    mapWriteGrid(ofp, &curLvl.layer1);
    fputs("OBJECTS:\n", ofp);
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        fprintf(ofp, "%d %d %d\n", node->mob.type, mapWholePixel(node->mob.creature.x),
                mapWholePixel(node->mob.creature.y));
}

int saveMap(const char *filename)
{
    // The level goes to a temporary file that replaces the old one only once
    // it is complete, so a failed save never spoils a good level.
    return saveAtomically(filename, "Saving map\n", "ERROR: (saveMap) Can't open %s\n", mapWriteLevel, nullptr);
}

// ---- collision layer file ----

// Tiles in a collision layer, and pixels along a tile's side.
const int COLLISION_TILES = 256;
const int COLLISION_TILE_PIXELS = 16;

// Where the collision reader stands in its file, kept from line to line.
struct CollisionReader {
    unsigned char (*layer)[16][16];
    int parseLayer; // "LAYER:" has been seen
    int parsing;    // the framing has started
    int skipLine;   // this line is a tile's header
    int counterW;   // cells left in the current row
    int counterH;   // rows left in the current tile
    int tile;
    int row;
    int column;
};

// Takes one word of the framed part. Returns 1 when the rest of the line is to
// be skipped (a header, or a row that already has its 16 numbers).
static int collisionReadWord(CollisionReader *r, const char *word)
{
    r->parsing = 1;
    if (r->skipLine)
        return 1;
    // A tile has all its rows: this line is the next tile's header. Blank lines
    // after a sixteenth row count as rows past the end and end here too.
    if (r->counterH <= 0) {
        r->tile++;
        r->skipLine = 1;
        r->counterH = COLLISION_TILE_PIXELS;
        r->row = 0;
        return 1;
    }
    if (r->counterW == 0) {
        r->counterW = COLLISION_TILE_PIXELS;
        r->column = 0;
        return 1;
    }
    // Tiles past the 256th are outside the layer and are dropped.
    if (r->tile < COLLISION_TILES)
        r->layer[r->tile][r->row][r->column] = static_cast<unsigned char>(atoi(word));
    r->column++;
    r->counterW--;
    return 0;
}

// Closes a line of the framed part: a header is done, or a row is.
static void collisionEndLine(CollisionReader *r)
{
    if (!r->parsing)
        return;
    if (r->skipLine) {
        r->skipLine = 0;
        return;
    }
    r->row++;
    r->counterH--;
    r->counterW = COLLISION_TILE_PIXELS;
    r->column = 0;
}

// One line of a collision layer file.
static void collisionReadLine(char **words, int n, void *ctx)
{
    CollisionReader *r = static_cast<CollisionReader *>(ctx);
    for (int i = 0; i < n; i++) {
        if (r->parseLayer && collisionReadWord(r, words[i]))
            break;
        if (strcmp(words[i], "LAYER:") == 0)
            r->parseLayer = 1;
    }
    collisionEndLine(r);
}

int loadCollisionLayer(unsigned char layer[][16][16], const char *filename)
{
    CollisionReader reader = {};
    reader.layer = layer;
    reader.skipLine = 1;
    reader.counterW = COLLISION_TILE_PIXELS;
    reader.counterH = COLLISION_TILE_PIXELS;
    return readWordLines(filename, collisionReadLine, &reader);
}

// Writes all 256 masks in the framing the reader expects.
static void collisionWriteLayer(FILE *ofp, const void *ctx)
{
    const unsigned char(*layer)[16][16] = static_cast<const unsigned char(*)[16][16]>(ctx);
    levelWriteHeader(ofp);
    fputs("LAYER:\n", ofp);
    for (int t = 0; t < COLLISION_TILES; t++) {
        fprintf(ofp, "TILE %d\n", t);
        for (int row = 0; row < COLLISION_TILE_PIXELS; row++) {
            for (int column = 0; column < COLLISION_TILE_PIXELS; column++)
                fprintf(ofp, "%d ", layer[t][row][column]);
            fputc('\n', ofp);
        }
    }
}

int saveCollisionLayer(unsigned char layer[][16][16], const char *filename)
{
    return saveAtomically(filename, "Saving collision layer\n", "ERROR: (saveCollisionLayer) Can't open %s\n",
                          collisionWriteLayer, layer);
}

// ---- creature definition file ----

// Where the walk over a definition file stands; the flags are set by their
// keywords and never cleared, except parseFrames.
struct MobConfigWalk {
    Creature *mob;
    int parseAnimType;    // "ANIMATION:" seen: animation keywords may follow
    int parseDirection;   // an animation keyword seen: direction keywords may follow
    int parseAnim;        // data keywords may follow
    int parseFrames;      // the previous word was "frames"
    animDir *curDir;      // the animation named last
    animFrame *curFrames; // the list selected last, null before any LEFT/RIGHT
};

// Replaces the selected list with the count sprite indices in words; an
// empty or unallocatable list leaves it with no frames.
static void mobConfigSetFrames(animFrame *list, char **words, int count)
{
    free(list->frames);
    list->frames = nullptr;
    list->numOfFrames = 0;
    if (count <= 0)
        return;
    int *frames = static_cast<int *>(malloc(sizeof(int) * count));
    if (!frames) {
        fprintf(stderr, "ERROR (loadMobConfig): Out of memory!\n");
        return;
    }
    for (int j = 0; j < count; j++)
        frames[j] = atoi(words[j]);
    list->frames = frames;
    list->numOfFrames = count;
}

// The data keywords of the selected list; arguments missing from the line leave it alone.
static void mobConfigDataWord(MobConfigWalk *walk, char **words, int n, int i)
{
    animFrame *list = walk->curFrames;
    walk->parseFrames = list && strcmp(words[i], "frames") == 0;
    if (!list)
        return;
    if (strcmp(words[i], "pos") == 0 && i + 2 < n) {
        list->posOfTile.x = readBoundedNumber(words[i + 1], -CREATURE_MAX_SIDE, CREATURE_MAX_SIDE);
        list->posOfTile.y = readBoundedNumber(words[i + 2], -CREATURE_MAX_SIDE, CREATURE_MAX_SIDE);
    }
    if (strcmp(words[i], "duration") == 0 && i + 1 < n)
        list->duration = atoi(words[i + 1]);
}

// An animation keyword selects the animation the following blocks fill.
static void mobConfigAnimationWord(MobConfigWalk *walk, const char *word)
{
    animStruct *anim = &walk->mob->animation;
    animDir *named = nullptr;
    if (strcmp(word, "IDLE") == 0)
        named = &anim->idle;
    else if (strcmp(word, "WALK") == 0)
        named = &anim->walk;
    else if (strcmp(word, "JUMP") == 0)
        named = &anim->jump;
    else if (strcmp(word, "DIE") == 0)
        named = &anim->die;
    if (named) {
        walk->curDir = named;
        walk->parseDirection = 1;
    }
}

// A direction keyword selects the list within the animation named last; once
// an animation is named, every word lets data keywords follow.
static void mobConfigDirectionWord(MobConfigWalk *walk, const char *word)
{
    if (strcmp(word, "LEFT") == 0)
        walk->curFrames = &walk->curDir->left;
    else if (strcmp(word, "RIGHT") == 0)
        walk->curFrames = &walk->curDir->right;
    walk->parseAnim = 1;
}

// The box size and health, accepted anywhere in the file and kept within a
// creature's bounds.
static void mobConfigSizeWord(Creature *mob, char **words, int n, int i)
{
    if (i + 1 >= n)
        return;
    if (strcmp(words[i], "WIDTH:") == 0)
        mob->w = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_SIDE);
    else if (strcmp(words[i], "HEIGHT:") == 0)
        mob->h = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_SIDE);
    else if (strcmp(words[i], "HEALTH:") == 0)
        mob->hp = readBoundedNumber(words[i + 1], 0, CREATURE_MAX_HEALTH);
}

// One line of a definition file: every word goes through every step, so
// keywords count wherever they stand.
static void mobConfigLine(char **words, int n, void *ctx)
{
    MobConfigWalk *walk = static_cast<MobConfigWalk *>(ctx);
    for (int i = 0; i < n; i++) {
        // The words after "frames" are the list.
        if (walk->parseFrames)
            mobConfigSetFrames(walk->curFrames, words + i, n - i);
        // Data keywords, once a list may be selected.
        if (walk->parseAnim)
            mobConfigDataWord(walk, words, n, i);
        // Animation keywords, after "ANIMATION:".
        if (walk->parseAnimType)
            mobConfigAnimationWord(walk, words[i]);
        // Direction keywords, after an animation keyword.
        if (walk->parseDirection)
            mobConfigDirectionWord(walk, words[i]);
        mobConfigSizeWord(walk->mob, words, n, i);
        // Checked last, so "ANIMATION:" itself is not read as an animation keyword.
        if (strcmp(words[i], "ANIMATION:") == 0)
            walk->parseAnimType = 1;
    }
    // "frames" that ends its line names no sprites: the list becomes empty.
    if (walk->parseFrames) {
        mobConfigSetFrames(walk->curFrames, words, 0);
        walk->parseFrames = 0;
    }
}

int loadMobConfig(Creature *mob, const char *filename)
{
    MobConfigWalk walk = {mob, 0, 0, 0, 0, nullptr, nullptr};
    return readWordLines(filename, mobConfigLine, &walk);
}
