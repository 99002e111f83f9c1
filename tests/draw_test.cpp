// Per-mode drawing: where each screen's texts, the frame counter and the
// intro's splash images land.
#include <gtest/gtest.h>

#include "block_font.h"
#include "draw.h"
#include "global.h"
#include "intro.h"
#include "logic.h"
#include "menu.h"
#include "timer.h"

class Frame : public BlockFontScreen {};

TEST_F(Frame, EachScreensTextsTheFrameCounterAndTheSplashLandWhereTheyBelong)
{
    timerFreezeTicks(0); // the counter reads 0 until a second has passed
    drawTitle = 1;
    // The counter reads "0/60" in every mode; in the exit mode it is all that is drawn.
    const struct { gameModeEnum mode; int state; const char *text; int x, y; } cases[] = {
        {MODE_WON, 0, "YOU WON!", 56, 50},     {MODE_WON, 0, "Thanks for playing!", 23, 70},
        {MODE_INGAME, INGAME_GAME_OVER, "GAME OVER", 53, 60}, {MODE_INGAME, INGAME_PAUSED, "PAUSED", 62, 50},
        {MODE_INGAME, INGAME_PAUSED, "Press OK again to quit", 14, 70},
        {MODE_INGAME, INGAME_PAUSED, "BACK resumes", 44, 80}, // no key mapped to BACK
        {MODE_MENU, 0, "Press start", 47, 80}, {MODE_EXIT, 0, "0/60", 130, 1}};
    testing::internal::CaptureStdout(); // the warnings for the missing level
    for (const auto &c : cases) {
        gameMode = c.mode;
        ingameState = c.state;
        draw();
        EXPECT_TRUE(textAt(c.text, c.x, c.y)) << c.text;
    }
    testing::internal::GetCapturedStdout();
    // Above scale 1 the second splash goes straight to the display; the font sheet stands in for it.
    splash2IMG = fontIMG;
    introController = 180;
    introDraw();
    EXPECT_EQ(getPixel(screenScaled, 0, 0), glyphColour(0));
    scale = 1; // at scale 1 the logical screen is the display
    introDraw();
    EXPECT_EQ(getPixel(screen, 0, 0), glyphColour(0));
    scale = 2;

    splash2IMG = nullptr;
    timerReset();
    logicReset();
    introReset();
    menuReset();
}
