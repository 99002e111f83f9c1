// The camera: where it sits in a level and which tiles it shows. Where each
// tile lands on the screen the pinned screenshots show.
#include <cstdio>

#include "camera.h"
#include "gameplay_fixture.h"

// Centres the camera on (x, y) in a level of w x h tiles (only the size is read) and tells
// where it is and which tiles it shows: "x,y wxh columns first-last rows first-last at sx,sy",
// the first tile landing on the screen at (sx, sy).
static std::string centred(int w, int h, int x, int y)
{
    curLvl.layer0.w = w; curLvl.layer0.h = h;
    centerCameraOnCoords(x, y);
    TileView v;
    cameraTileView(&v);
    char text[100];
    snprintf(text, sizeof text, "%d,%d %dx%d columns %d-%d rows %d-%d at %d,%d", camera.x, camera.y, camera.w, camera.h,
             v.firstColumn, v.endColumn - 1, v.firstRow, v.endRow - 1, v.screenX, v.screenY);
    return text;
}

TEST(Camera, TheViewStaysInsideTheLevelAndShowsTheTilesItCoversWithAnExtraRow)
{
    initCamera();
    EXPECT_EQ(centred(20, 15, 0, 0), "0,0 160x120 columns 0-9 rows 0-7 at 0,0");
    // At the bottom edge the rows past the layer are left out.
    EXPECT_EQ(centred(20, 15, 1000, 1000), "160,120 160x120 columns 10-19 rows 7-14 at 0,-8");
    EXPECT_EQ(centred(40, 30, 96, 92), "16,32 160x120 columns 1-10 rows 2-9 at 0,0");
    EXPECT_EQ(centred(40, 30, 100, 96), "20,36 160x120 columns 1-11 rows 2-10 at -4,-4");
    // A level smaller than the view is shown from its corner with the view shrunk to it, along
    // the smaller axis only; the view stays shrunk, still centred 80 and 60 away, until initCamera.
    EXPECT_EQ(centred(5, 5, 37, 48), "0,0 80x80 columns 0-4 rows 0-4 at 0,0");
    EXPECT_EQ(centred(30, 30, 300, 300), "220,240 80x80 columns 13-18 rows 15-20 at -12,0");
    initCamera();
    EXPECT_EQ(centred(40, 4, 200, 100), "120,0 160x64 columns 7-17 rows 0-3 at -8,0");
}
