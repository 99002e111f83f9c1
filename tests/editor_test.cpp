// The level editor. Its rules are pinned by the editor scripts in
// tests/routes/ (marker, tiles, objects, undo, new and unloadable levels);
// what no single visit can reach stays here.
#include "editor.h"
#include "gameplay_fixture.h"

namespace {

struct Editor : GameplayTest {
    void TearDown() override
    {
        editorReset();
        GameplayTest::TearDown();
    }

    // One editor step with a fresh press of button, in the mode the editor is in.
    static void press(int button)
    {
        keyPress.key[button] = 1;
        if (editorMode == EDITOR_UPDATE)
            editorUpdate();
        else
            editorTileEdit();
    }
};

} // namespace

TEST_F(Editor, AMarkerKeptFromALargerLevelIsBroughtInsideEvenInAStepThatOnlyWaits)
{
    marker.x = 30;
    marker.y = 20;
    markerWaitMoveTime = 5;
    keyPress.key[RIGHT] = 1;
    editorUpdate();
    EXPECT_EQ(std::make_pair(marker.x, marker.y), std::make_pair(19, 11));
}

TEST_F(Editor, BackTakesBackTheLast128ChangesAndNoMore)
{
    setTile(0, 0, 1);
    for (int i = 0; i < 130; i++)
        for (int button : {JUMP, RIGHT, JUMP})
            press(button);
    for (int i = 0; i < 200; i++)
        press(BACK);
    EXPECT_EQ(curLvl.layer0.array[0][0], 3);
}

// The routes show such a file left whole; the player is also told why.
TEST_F(Editor, OkOnAFileThatDidNotLoadAsALevelSaysSoAndLeavesItWhole)
{
    TempDir dir;
    writeFile(dir.path + "/notes.map", "not a level\n");
    const std::string file = mapFile = strdup((dir.path + "/notes.map").c_str());
    freeMap();
    EXPECT_EQ(printed([] { press(OK); }), "|ERROR: (editorUpdate) " + file + " did not load as a level; not saving over it\n");
    EXPECT_EQ(readFile(file), "not a level\n");
}

// A level that cannot be written (here its folder is gone) keeps the editor
// open with the edits and their undo history, and says so; MENU still leaves.
TEST_F(Editor, OkThatCannotWriteTheLevelStaysWithTheEditsAndTheirUndo)
{
    TempDir dir;
    mapFile = strdup((dir.path + "/gone/level.map").c_str());
    for (int button : {JUMP, RIGHT, JUMP})
        press(button);
    EXPECT_NE(printed([] { press(OK); }).find("|ERROR: (saveMap) Can't open "), std::string::npos);
    EXPECT_EQ(std::tuple(curLvl.layer0.array[0][0], editorSaveFailed), std::tuple(1, 1));
    press(BACK);
    keyPress.key[MENU] = 1;
    EXPECT_EQ(std::tuple(curLvl.layer0.array[0][0], editorUpdate()), std::tuple(0, 1));
}

// A new level is named after its file, less what would cut the name short when
// read back: '#' starts a comment, a control character ends the line or the word.
TEST_F(Editor, ANewLevelNamedAfterItsFileLoadsBackWithThatName)
{
    TempDir dir;
    const std::string file = mapFile = strdup((dir.path + "/fen#2\nlow\tland.map").c_str());
    printed([&] { editorOpen(file.c_str()); press(OK); freeMap(); editorOpen(file.c_str()); });
    EXPECT_STREQ(curLvl.name, "fen_2_low_land ");
}

// A level keeps as many creatures as its file may hold: one more is refused,
// and what the cell held stays, so the next load leaves nothing out.
TEST_F(Editor, ACreatureBeyondWhatALevelMayHoldIsRefused)
{
    for (int i = 0; i < ENEMY_MAX_PER_LEVEL; i++)
        addEnemy(2, 100000, 0);
    printed([] { press(ACTION); });
    objectChoice = 1 + ENEMY_TYPE_SHELL;
    keyPress.key[JUMP] = 1;
    EXPECT_EQ(printed(editorObjectEdit).substr(0, 47), "WARNING: (editorObjectEdit) The level holds 409");
    int left = 0;
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        left += node->mob.type == 2;
    EXPECT_EQ(left, ENEMY_MAX_PER_LEVEL);
}

// What play changes comes back after a test: creatures that died (one of them
// placed in the editor, which undo still takes out), moved or set going, in
// their list order, and the camera; the player stood in the marked cell.
TEST_F(Editor, APlayTestGivesTheLevelBackAsItWasAndUndoStillReachesItsCreatures)
{
    addEnemy(ENEMY_TYPE_SHELL, 32, 150);
    marker = {4, 3, 16, 16};
    printed([] {
        press(ACTION);
        objectChoice = 0; // the key
        keyPress.key[JUMP] = 1;
        editorObjectEdit();
    });
    addEnemy(ENEMY_TYPE_FROG, 64, 150);
    std::vector<std::pair<EnemyList *, std::string>> before;
    for (EnemyList *node = EnemyListHead; node; node = node->next)
        before.push_back({node, motion(node->mob.creature)});
    ASSERT_EQ(before.size(), 3u);
    const Box view = camera;

    editorPlayBegin();
    ASSERT_EQ(editorPlaying, 1);
    player.h = 15;
    editorPlayStart();
    EXPECT_EQ(std::make_pair(player.x, player.y), std::make_pair(64.0f, 3 * 16 + 1.0f));
    for (EnemyList *node = EnemyListHead; node; node = node->next) {
        node->mob.creature.vx = 1;
        node->mob.creature.x += 5;
        node->mob.dead = node != before[0].first; // the frog lives
    }
    enemyUpdateAll();
    ASSERT_EQ(EnemyListHead->next, nullptr);
    camera.x = 99;
    editorPlayEnd();

    EXPECT_EQ(editorPlaying, 0);
    EXPECT_EQ(camera.x, view.x);
    EnemyList *node = EnemyListHead;
    for (const auto &[was, motionWas] : before) {
        ASSERT_EQ(node, was);
        EXPECT_EQ(motion(node->mob.creature) + " " + std::to_string(node->mob.dead), motionWas + " 0");
        node = node->next;
    }
    press(BACK); // takes the key out
    EXPECT_EQ(EnemyListHead, before[0].first);
    EXPECT_EQ(EnemyListHead->next, before[2].first);
}
