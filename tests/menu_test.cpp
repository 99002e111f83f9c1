// The title screen's menu pages: navigation, page changes and the remapping
// page's sequence of nine captures.
#include <tuple>

#include "sdl_events.h"
#include "test_util.h"

namespace {

struct MenuTest : ::testing::Test {
    void SetUp() override { resetGame(); menuCreate(); }
    void TearDown() override { resetGame(); }

    // One menu step with the given button freshly pressed; returns its result.
    static int press(int button) { keyPress.key[button] = 1; return menuUpdate(); }
    static std::string selected() { return curMenu->menuChoices[curMenu->selectedIndex]; }

    // Presses each button in turn; returns the entry under the cursor after each, "|"-separated.
    static std::string walk(std::initializer_list<int> buttons)
    {
        std::string seen;
        for (int b : buttons) { press(b); seen += selected() + "|"; }
        return seen;
    }
};

} // namespace

TEST_F(MenuTest, TheCursorWrapsAndSkipsGapsOkChangesModeOrPageAndBackKeepsTheCursorThatOpenedThePage)
{
    EXPECT_EQ(walk({UP, UP, DOWN, DOWN}), "Exit|Options|Exit|New Game|");
    _menuSet(1, 1);
    EXPECT_EQ(walk({DOWN, DOWN, DOWN, UP}), "Sound/Music|Video|Back|Video|");
    _menuSet(2, 1);
    EXPECT_EQ(walk({UP, DOWN, DOWN, DOWN}), "Back|Keyboard|Joystick|Back|");
    _menuSet(0, 1);
    EXPECT_EQ(press(OK), MENU_RESULT_NEW_GAME);
    press(DOWN);
    EXPECT_EQ(press(OK), MENU_RESULT_EDITOR);
    // Pages open at their top; "Sound/Music" does nothing; "Back" returns to the opening entry.
    EXPECT_EQ(walk({DOWN, OK, DOWN, OK, UP, OK, UP, OK, UP, OK}),
              "Options|Controls|Sound/Music|Sound/Music|Controls|Keyboard|Back|Controls|Back|Options|");
    EXPECT_EQ(menuState, 0);
    press(DOWN);
    EXPECT_EQ(press(OK), MENU_RESULT_EXIT);
}

TEST_F(MenuTest, RemappingCapturesNineButtonsInOrderIntoItsOwnHalfAndSavesAfterTheLast)
{
    TempDir dir;
    ASSERT_EQ(mkdir((dir.path + "/data").c_str(), 0755), 0);
    InDirectory inDir(dir.path);
    startEventQueue();
    for (int device = 0; device < 2; device++) {
        for (int i = 0; i < 18; i++)
            keyMapping[i] = 1000 + i;
        unlink("data/config.cfg");
        for (int i = 0; i < 9; i++)
            pushKey(SDL_KEYDOWN, (SDLKey)(SDLK_a + i));
        _menuSet(2, 1);
        walk(device ? std::initializer_list<int>{DOWN, OK} : std::initializer_list<int>{OK});
        ASSERT_EQ(remapDevice, device);
        for (int step = 0; step < 9; step++) {
            const bool saved = fileExists("data/config.cfg");
            EXPECT_EQ(std::make_tuple(menuState, remapCurKey, saved), std::make_tuple(1, step, false));
            menuUpdate();
        }
        EXPECT_EQ(std::make_tuple(menuState, remapCurKey, fileExists("data/config.cfg"), selected()),
                  std::make_tuple(0, 0, true, std::string(device ? "Joystick" : "Keyboard")));
        for (int i = 0; i < 18; i++)
            EXPECT_EQ(keyMapping[i], i / 9 == device ? SDLK_a + i % 9 : 1000 + i) << "entry " << i;
    }
}
