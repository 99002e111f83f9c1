// The camera and the tile map drawing.
#include <gtest/gtest.h>

#include <string>

#include "camera.h"
#include "map.h"
#include "sdldraw.h"
#include "sdlmain.h"

namespace {

// A level of w x h tiles on the default 160 x 120 screen; cell (i, j) holds (i * 7 + j) mod 256.
class Camera : public ::testing::Test {
protected:
    void SetUp() override
    {
        freeMap();
        screenWidth = 160;
        screenHeight = 120;
    }
    void TearDown() override
    {
        freeMap();
        camera = Box{0, 0, 0, 0};
    }

    static void makeLevel(int w, int h)
    {
        freeMap();
        curLvl.layer0.w = w;
        curLvl.layer0.h = h;
        testing::internal::CaptureStdout();
        ASSERT_EQ(initMapArray(&curLvl.layer0), 0);
        testing::internal::GetCapturedStdout();
        for (int i = 0; i < w; i++)
            for (int j = 0; j < h; j++)
                curLvl.layer0.array[i][j] = static_cast<unsigned char>(i * 7 + j);
    }

    static void expectCamera(int x, int y, int w, int h)
    {
        EXPECT_EQ(camera.x, x);
        EXPECT_EQ(camera.y, y);
        EXPECT_EQ(camera.w, w);
        EXPECT_EQ(camera.h, h);
    }

    // The tile ranges shown by a camera at (x, y) with the screen's size.
    static TileView viewAt(int x, int y)
    {
        camera = Box{x, y, screenWidth, screenHeight};
        TileView view;
        cameraTileView(&view);
        return view;
    }
};

} // namespace

TEST_F(Camera, CentringKeepsTheViewInsideTheLevel)
{
    makeLevel(20, 15);
    initCamera();
    expectCamera(0, 0, 160, 120);
    centerCameraOnCoords(0, 0);
    expectCamera(0, 0, 160, 120);
    centerCameraOnCoords(1000, 1000);
    expectCamera(160, 120, 160, 120);
    centerCameraOnCoords(200, 100);
    expectCamera(120, 40, 160, 120);

    // The offsets stay 80 and 60 on a larger screen.
    makeLevel(40, 30);
    screenWidth = 320;
    screenHeight = 240;
    initCamera();
    centerCameraOnCoords(100, 100);
    expectCamera(20, 40, 320, 240);
}

TEST_F(Camera, ALevelSmallerThanTheScreenIsShownWholeFromItsCorner)
{
    makeLevel(5, 5);
    camera = Box{37, -12, 160, 120};
    setCamera(&camera);
    expectCamera(0, 0, 80, 80);

    // The view keeps its shrunken size until initCamera.
    makeLevel(30, 30);
    centerCameraOnCoords(300, 300);
    expectCamera(220, 240, 80, 80);
    initCamera();
    expectCamera(0, 0, 160, 120);

    // Only one axis shrinks when only one is smaller.
    makeLevel(40, 4);
    camera = Box{100, 30, 160, 120};
    setCamera(&camera);
    expectCamera(100, 0, 160, 64);
}

TEST_F(Camera, TheViewCoversTheVisibleTilesWithAnExtraRow)
{
    makeLevel(40, 30);

    // Aligned: columns 1-10, rows 2-9, the first tile at (0, 0).
    TileView view = viewAt(16, 32);
    EXPECT_EQ(view.firstColumn, 1);
    EXPECT_EQ(view.endColumn, 11);
    EXPECT_EQ(view.firstRow, 2);
    EXPECT_EQ(view.endRow, 10);
    EXPECT_EQ(view.screenX, 0);
    EXPECT_EQ(view.screenY, 0);

    // Not aligned: columns 1-11, rows 2-10, the first tile at (-4, -4).
    view = viewAt(20, 36);
    EXPECT_EQ(view.firstColumn, 1);
    EXPECT_EQ(view.endColumn, 12);
    EXPECT_EQ(view.firstRow, 2);
    EXPECT_EQ(view.endRow, 11);
    EXPECT_EQ(view.screenX, -4);
    EXPECT_EQ(view.screenY, -4);

    // At the bottom edge the row below the layer is left out.
    view = viewAt(0, 30 * 16 - 120);
    EXPECT_EQ(view.firstRow, 22);
    EXPECT_EQ(view.endRow, 30);
    view = viewAt(0, 30 * 16 - 120 - 8);
    EXPECT_EQ(view.endRow, 30);
    makeLevel(10, 30);
    view = viewAt(2, 0);
    EXPECT_EQ(view.endColumn, 10);
}

TEST_F(Camera, TheMapIsNotDrawnWithoutTilesOrALevel)
{
    makeLevel(20, 15);
    camera = Box{0, 0, 15, 120};
    testing::internal::CaptureStdout();
    dMap();
    camera = Box{0, 0, 160, 0};
    dMap();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: (dMap) cw or ch must be greater than zero!\n"
                                                      "ERROR: (dMap) cw or ch must be greater than zero!\n");

    freeMap();
    initCamera();
    testing::internal::CaptureStdout();
    dMap();
    dMap();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARNING: (dMap) Empty array. Aborting.\n"
                                                      "WARNING: (dMap) Empty array. Aborting.\n");
}

TEST_F(Camera, EveryScreenPixelShowsTheTileUnderIt)
{
    // A tileset whose tile t is filled with the colour t + 1, and a screen cleared to 0.
    SDL_Surface *tileset = SDL_CreateRGBSurface(SDL_SWSURFACE, 271, 271, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface *target = SDL_CreateRGBSurface(SDL_SWSURFACE, 160, 120, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_TRUE(tileset && target);
    makeLevel(30, 20);
    for (int t = 0; t < 256; t++) {
        SDL_Rect clip = {static_cast<Sint16>((t % 16) * 17), static_cast<Sint16>((t / 16) * 17), 16, 16};
        curLvl.layer0.tileClip[t] = clip;
        SDL_FillRect(tileset, &clip, static_cast<Uint32>(t + 1));
    }
    curLvl.layer0.tilesetIMG = tileset;
    SDL_Surface *oldScreen = screen;
    screen = target;

    const Box cameras[] = {{20, 36, 160, 120}, {16, 32, 160, 120}, {30 * 16 - 160, 20 * 16 - 120, 160, 120}, {0, 0, 160, 120}};
    for (const Box &cam : cameras) {
        SDL_FillRect(target, nullptr, 0);
        camera = cam;
        dMap();
        const Uint32 *pixels = static_cast<const Uint32 *>(target->pixels);
        for (int sy = 0; sy < 120; sy++)
            for (int sx = 0; sx < 160; sx++) {
                const int tile = curLvl.layer0.array[(cam.x + sx) / 16][(cam.y + sy) / 16];
                ASSERT_EQ(pixels[sy * target->pitch / 4 + sx], static_cast<Uint32>(tile + 1))
                    << "camera " << cam.x << "," << cam.y << " screen " << sx << "," << sy;
            }
    }
    screen = oldScreen;
    SDL_FreeSurface(target);
}
