// The remapping page's sequence of nine captures, which waits for keys no
// script can give it. How the cursor moves and the pages change the front end
// script front_end_menu_pages pins.
#include <tuple>

#include "sdl_events.h"
#include "test_util.h"

namespace {

struct MenuTest : ::testing::Test {
    void SetUp() override { resetGame(); menuCreate(); }
    void TearDown() override { resetGame(); }

    // One menu step with the given button freshly pressed.
    static void press(int button) { keyPress.key[button] = 1; menuUpdate(); }
    static std::string selected() { return curMenu->menuChoices[curMenu->selectedIndex]; }
};

} // namespace

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
        if (device)
            press(DOWN);
        press(OK);
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
