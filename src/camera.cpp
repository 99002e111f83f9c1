#include "camera.h"

#include "map.h"
#include "sdlmain.h"

Box camera = {0, 0, 0, 0};

// How far the camera's corner sits from the point it centres on, in pixels:
// half of the default 160 x 120 screen, whatever the screen's real size.
const int CAMERA_CENTER_OFFSET_X = 80;
const int CAMERA_CENTER_OFFSET_Y = 60;

void initCamera(void)
{
    camera.x = 0;
    camera.y = 0;
    camera.w = screenWidth;
    camera.h = screenHeight;
}

void setCamera(Box *cam)
{
    const int levelW = curLvl.layer0.w * TILE_SIZE;
    const int levelH = curLvl.layer0.h * TILE_SIZE;

    // Never before the level's top-left corner.
    if (cam->x < 0)
        cam->x = 0;
    if (cam->y < 0)
        cam->y = 0;
    // Never past its right and bottom edges.
    if (cam->x > levelW - cam->w)
        cam->x = levelW - cam->w;
    if (cam->y > levelH - cam->h)
        cam->y = levelH - cam->h;
    // A level smaller than the view is shown whole from its edge.
    if (levelW < cam->w) {
        cam->x = 0;
        cam->w = levelW;
    }
    if (levelH < cam->h) {
        cam->y = 0;
        cam->h = levelH;
    }
}

void centerCameraOnCoords(int x, int y)
{
    camera.x = x - CAMERA_CENTER_OFFSET_X;
    camera.y = y - CAMERA_CENTER_OFFSET_Y;
    setCamera(&camera);
}

// Keeps a range of columns or rows inside 0..size-1 of the layer.
static void cameraCutRange(int *first, int *end, int size)
{
    if (*first < 0)
        *first = 0;
    if (*end > size)
        *end = size;
    if (*end < *first)
        *end = *first;
}

void cameraTileView(TileView *view)
{
    view->screenX = -(camera.x % TILE_SIZE);
    view->screenY = -(camera.y % TILE_SIZE);
    view->cx = camera.x / TILE_SIZE;
    view->cy = camera.y / TILE_SIZE;
    view->cw = camera.w / TILE_SIZE;
    view->ch = camera.h / TILE_SIZE;

    // The columns stop short of cx + cw while the rows run to cy + ch itself:
    // with a 120-pixel view that covers the half tile at the bottom. A view
    // that is not tile-aligned needs one more column or row.
    view->firstColumn = view->cx;
    view->endColumn = view->cx + view->cw + (camera.x % TILE_SIZE != 0 ? 1 : 0);
    view->firstRow = view->cy;
    view->endRow = view->cy + view->ch + 1 + (camera.y % TILE_SIZE != 0 ? 1 : 0);

    cameraCutRange(&view->firstColumn, &view->endColumn, curLvl.layer0.w);
    cameraCutRange(&view->firstRow, &view->endRow, curLvl.layer0.h);
}
