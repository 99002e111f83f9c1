// The editor's level file: opening the level to edit, beginning a new one for
// a file that does not exist yet, and saving.
#include "editor_private.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "fileio.h"
#include "map.h"

// 1 when filename names nothing at all (a file that exists but cannot be
// read is not missing).
static int editorFileMissing(const char *filename)
{
    struct stat st;
    return stat(filename, &st) != 0 && errno == ENOENT;
}

// A new level's name: the file's name without folder and extension, ended by
// a blank as the level reader ends every word of a name. A '#' would start a
// comment when the level is read back and a control character would end the
// line or the word, so each becomes '_' and the name reads back as it was.
static void editorNameAfterFile(const char *filename, char *name, size_t size)
{
    const char *base = strrchr(filename, '/');
    base = base ? base + 1 : filename;
    const char *dot = strrchr(base, '.');
    const int length = static_cast<int>(dot && dot != base ? dot - base : strlen(base));
    snprintf(name, size, "%.*s ", length, base);
    for (char *c = name; *c != '\0'; c++)
        if (*c == '#' || static_cast<unsigned char>(*c) < ' ' || *c == '\x7f')
            *c = '_';
}

// Makes the new blank level for a file that does not exist yet: it holds no
// creatures and leads to no next level. The marker starts on its start cell,
// on the floor, where building begins, rather than in the empty sky above.
static void editorNewLevel(const char *filename)
{
    char name[sizeof curLvl.name];
    editorNameAfterFile(filename, name, sizeof name);
    printf("New map: %s\n", filename);
    freeMapObjects();
    if (mapNewBlankLevel(name))
        return;
    loadMapTileset(&curLvl.layer0, MAP_BLANK_TILESET);
    loadMapTileset(&curLvl.layer1, MAP_BLANK_TILESET);
    // Its tiles collide as in any level, so that it plays from the editor as
    // it will once saved.
    loadMapCollision();
    marker.x = curLvl.start.x;
    marker.y = curLvl.start.y;
}

void editorOpen(const char *filename)
{
    editorForgetChanges();
    editorFreeSamples();
    if (editorFileMissing(filename))
        editorNewLevel(filename);
    else
        loadMap(filename);
}

// Saves the level, but only one that has its play layer's grid: a file that did
// not load as a level (not a level, a refused size, a damaged file) is never
// written. Layer 1 may be missing; the level then saves without it.
int editorSave(const char *filename)
{
    if (curLvl.layer0.array == nullptr) {
        fprintf(stderr, "ERROR: (editorUpdate) %s did not load as a level; not saving over it\n", filename);
        return 0;
    }
    return saveMap(filename);
}
