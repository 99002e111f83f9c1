// The map file: reading a level into curLvl and the enemy list, and writing it back.
// Most cases are files under tests/data/map_cases/, each stating in its "#> " line
// the level it loads into and in its "#| " line what the reader prints.
#include <gtest/gtest.h>

#include <dirent.h>
#include <functional>
#include <set>
#include <sstream>

#include "animation.h"
#include "enemy.h"
#include "fileio.h"
#include "map.h"
#include "test_util.h"

// The whole loaded level as one line: name, tilesets, start, exit, next level,
// both grids row by row (a layer without a grid as "-", with its size if it kept one;
// a large grid as its size) and the creatures from the list head on as type@x,y.
static std::string level()
{
    std::ostringstream s;
    auto text = [](const char *t) { return t ? t : "-"; };
    s << "[" << curLvl.name << "] " << text(curLvl.layer0.tilesetPath) << " " << text(curLvl.layer1.tilesetPath) << " "
      << curLvl.start.x << "," << curLvl.start.y << " " << curLvl.exit.x << "," << curLvl.exit.y << " "
      << text(mapFileNext);
    for (const mapLayer *l : {&curLvl.layer0, &curLvl.layer1}) {
        s << (l->array ? " |" : " | -");
        if ((!l->array && (l->w || l->h)) || l->w * l->h > 64)
            s << (l->array ? " " : "") << l->w << "x" << l->h;
        for (int i = 0; l->array && l->w * l->h <= 64 && i < l->w * l->h; i++)
            s << " " << (int)l->array[i % l->w][i / l->w] << (i % l->w == l->w - 1 ? " /" : "");
    }
    s << " |";
    for (const EnemyList *n = EnemyListHead; n; n = n->next)
        s << " " << n->mob.type << "@" << (int)n->mob.creature.x << "," << (int)n->mob.creature.y;
    return s.str();
}

// Checks each file in a folder of reader cases. A case file states in its "#> " line
// what describe() makes of the state it loads into, and in its "#| " line what
// load(file) printed as "stdout|stderr", each line ending in "\n" as text. Without a
// screen, which a test before may or may not have opened, images fail to load:
// those lines are left out. The settings and creature file tests use it too.
void checkCaseFiles(const char *folder, const std::function<std::string(const std::string &)> &load,
                    const std::function<std::string()> &describe)
{
    DIR *dir = opendir(folder);
    ASSERT_NE(dir, nullptr) << folder;
    int cases = 0;
    for (dirent *entry; (entry = readdir(dir)) != nullptr;) {
        const std::string name = entry->d_name;
        const std::string path = std::string(folder) + "/" + name;
        if (name[0] == '.' || (name.size() > 6 && name.substr(name.size() - 6) == ".saved"))
            continue;
        cases++;
        std::string said = load(path), expected, line;
        for (size_t at; (at = said.find("ERROR: (loadImage)")) != std::string::npos;)
            said.erase(at, said.find('\n', at) + 1 - at);
        for (size_t at = 0; (at = said.find('\n', at)) != std::string::npos; at += 2)
            said.replace(at, 1, "\\n");
        std::istringstream lines(readFile(path));
        while (std::getline(lines, line))
            if (line.rfind("#> ", 0) == 0 || line.rfind("#| ", 0) == 0)
                expected += line.substr(3) + "\n";
        EXPECT_EQ(describe() + "\n" + said + "\n", expected) << path;
    }
    closedir(dir);
    EXPECT_GT(cases, 0) << "no case files in " << folder;
}

// Every test ends with no level, no creatures and no next level.
struct MapFile : public ::testing::Test {
    TempDir dir;
    const std::string file = dir.path + "/level.map";

    void TearDown() override
    {
        freeMap();
        freeMapObjects();
    }
    // Loads a level file after releasing the level before; returns what it printed.
    std::string load(const std::string &path, int result = 0)
    {
        freeMap();
        return printed([&] { EXPECT_EQ(loadMap(path.c_str()), result) << path; });
    }
    // Loads a level with creatures and a next level, which no level loaded after it may keep.
    void loadAnother() { writeFile(file, "NEXT: before.map\nOBJECTS:\n2 32 48\n"); load(file); }
    // Saves the level over the level file and returns the file's text.
    std::string save() { printed([this] { EXPECT_EQ(saveMap(file.c_str()), 0); }); return readFile(file); }
};

TEST_F(MapFile, EachCaseFileLoadsIntoTheLevelItStates)
{
    checkCaseFiles("tests/data/map_cases", [this](const std::string &path) { loadAnother(); return load(path); }, level);
    loadAnother();
    EXPECT_EQ(load(file + ".gone", 1), "|Can't open " + file + ".gone\n");
    EXPECT_EQ(level(), "[] - - 0,0 0,0 - | - | - |");
}

// A saved level has its creatures in reverse, each at a whole pixel cut toward zero;
// all else loads back as it was, a missing layer 1 too.
TEST_F(MapFile, LevelsSaveInTheEditorsLayout)
{
    for (const char *name : {"fen", "bad_sizes", "empty_texts", "no_layer1"}) {
        load("tests/data/map_cases/" + std::string(name) + ".map");
        const std::string loaded = level();
        if (EnemyListHead && EnemyListHead->next) // moved, as in the editor, to between two pixels
            EnemyListHead->next->mob.creature.y = -3.7f;
        EXPECT_EQ(save(), readFile("tests/data/map_cases/" + std::string(name) + ".saved")) << name;
        load(file);
        EXPECT_EQ(level().substr(0, level().rfind(" |")), loaded.substr(0, loaded.rfind(" |"))) << name;
    }
}

TEST_F(MapFile, TheShippedLevelsSaveBackInTheEditorsLayoutAndTheDemoWrapsSeamlessly)
{
    // Each level names the one that follows it; the last names none, and the demo itself.
    const char *next[] = {"map02.map", "map03.map", "map04.map", "map05.map", "-", "demo01.map"};
    for (int i = 0; i < 6; i++) {
        const std::string name = i < 5 ? "data/maps/map0" + std::to_string(i + 1) + ".map" : "data/maps/demo01.map";
        load(name);
        EXPECT_EQ(std::string(mapFileNext ? mapFileNext : "-"), next[i]) << name;
        save();
        load(file); // the creatures turned round twice are in the file's order again
        EXPECT_EQ(save(), readFile(name)) << name;
    }
    const mapLayer &l = curLvl.layer0, &l1 = curLvl.layer1;
    // After the last 10 columns, a 160-pixel screen, the scroll restarts from column 0 showing
    // the same; layer 1, never drawn, has layer 0's size and is empty.
    ASSERT_TRUE(l1.w == l.w && l1.h == l.h);
    for (int x = 0; x < l.w; x++)
        for (int y = 0; y < l.h; y++)
            EXPECT_TRUE(l1.array[x][y] == 0 && (x >= 10 || l.array[x][y] == l.array[l.w - 10 + x][y])) << x << "," << y;
}

// Rows of any width the game takes survive a save, whatever line length the reader keeps.
TEST_F(MapFile, RandomLevelsOfAnyWidthSaveLoadAndSaveAgainUnchanged)
{
    for (int round = 0; round < 16; round++) {
        freeMap();
        std::string made, loaded;
        for (mapLayer *l : {&curLvl.layer0, &curLvl.layer1}) {
            l->w = 1 + rand() % (round % 2 ? 4000 : 300), l->h = 1 + rand() % 3;
            printed([l] { initMapArray(l); });
            for (int i = 0; i < l->w * l->h; i++)
                made += static_cast<char>(l->array[i / l->h][i % l->h] = rand() % (round % 3 ? 256 : 10));
        }
        const std::string saved = save();
        load(file);
        for (const mapLayer *l : {&curLvl.layer0, &curLvl.layer1})
            for (int i = 0; i < l->w * l->h; i++)
                loaded += static_cast<char>(l->array[i / l->h][i % l->h]);
        EXPECT_TRUE(loaded == made && save() == saved) << "round " << round; // files too long to show
    }
}

// A small file cannot claim memory without bound: a level keeps 4096 creatures,
// says once, after the last creature's line, that it left the rest out, and
// the creatures of one kind draw from one copy of their sheet, freed with the
// last of them. Each has its own copy of its kind's definition, read once.
TEST_F(MapFile, ALevelKeeps4096CreaturesThatShareOneSheet)
{
    ASSERT_NE(SDL_SetVideoMode(160, 120, 16, SDL_SWSURFACE), nullptr);
    const int held = animSheetsHeld();
    std::string text = "OBJECTS:\n";
    for (int i = 0; i < 5000; i++)
        text += "2 16 0\n";
    writeFile(file, text);
    const std::string said = load(file);
    EXPECT_EQ(said.substr(said.rfind(":2\n") + 3), "WARNING: (loadMap) " + file + " holds more than 4096 creatures; the other 904 are left out\n|");
    EnemyList *alone = nullptr;
    printed([&alone] { alone = prependElement(nullptr, 0, 0, 2); });
    const Creature &defined = alone->mob.creature;
    const animFrame &walk = defined.animation.walk.left;
    std::set<const int *> ownLists;
    int creatures = 0, shared = 0, asDefined = 0;
    for (const EnemyList *node = EnemyListHead; node; node = node->next, creatures++) {
        const Creature &c = node->mob.creature;
        shared += c.animation.animIMG == EnemyListHead->mob.creature.animation.animIMG;
        const animFrame &own = c.animation.walk.left;
        ownLists.insert(own.frames);
        asDefined += c.w == defined.w && c.hp == defined.hp && own.duration == walk.duration &&
                     std::vector<int>(own.frames, own.frames + own.numOfFrames) ==
                         std::vector<int>(walk.frames, walk.frames + walk.numOfFrames);
    }
    EXPECT_EQ(std::tuple(creatures, shared, asDefined, ownLists.size(), animSheetsHeld()),
              std::tuple(4096, 4096, 4096, size_t{4096}, held + 1));
    ASSERT_GT(walk.numOfFrames, 0);
    cleanList(alone);
    freeMapObjects();
    EXPECT_EQ(animSheetsHeld(), held);
    SDL_Quit();
}
