// What the editor's screen tells a designer besides the level itself: while
// a tile is edited, a strip of the tileset around it, so the next press can be
// foreseen; and a line naming a problem a player of the level would meet.
#include "editor_private.h"

#include "camera.h"
#include "collision.h"
#include "map.h"
#include "player.h"
#include "sdldraw.h"
#include "sdlmain.h"

// The tile a door's bottom half is drawn with: the exit cell needs it for
// the exit to be seen.
const int EXIT_DOOR_TILE = 84;

// The strip: the tileset row of the edited tile at half size, 8 x 8 pixels a
// tile one pixel apart, with a sliver of the rows above and below (what UP and
// DOWN bring), on a light plate in a dark frame.
const int STRIP_TILE = TILE_SIZE / 2;
const int STRIP_PITCH = STRIP_TILE + 1;
const int STRIP_SLIVER = 4; // pixels of the rows above and below that show
const int STRIP_WINDOW_W = SHEET_CELLS_PER_ROW * STRIP_PITCH + 1;
const int STRIP_WINDOW_H = STRIP_SLIVER + 1 + STRIP_TILE + 1 + STRIP_SLIVER;
const int STRIP_FRAME = 1;
// At the top it stays below the frame counter's line; at the bottom above the
// tile number's, which starts 16 pixels above the bottom edge.
const int STRIP_TOP_Y = 10;
const int STRIP_BOTTOM_GAP = 18;

Box editorStripDrawn = {0, 0, 0, 0};

// The hint stands at the left end of a text line.
const int HINT_X = 2;

// 1 when the player, put at the start as New Game puts it, is in solid ground.
static int editorStartInGround(void)
{
    // At rest where New Game puts it: one-way ground is judged by where the
    // box stands and how it moves.
    Creature probe = {};
    probe.w = player.w;
    probe.h = player.h;
    probe.y = static_cast<float>(curLvl.start.y * TILE_SIZE);
    probe.x = static_cast<float>(curLvl.start.x * TILE_SIZE);
    return (checkCollision(curLvl.start.x * TILE_SIZE, curLvl.start.y * TILE_SIZE, &probe) & COLLISION_SOLID) != 0;
}

// 1 when the level holds a key.
static int editorLevelHasKey(void)
{
    for (const EnemyList *node = EnemyListHead; node; node = node->next)
        if (node->mob.type == ENEMY_TYPE_KEY)
            return 1;
    return 0;
}

const char *editorLevelProblem(void)
{
    if (curLvl.layer0.array == nullptr)
        return nullptr;
    if (editorStartInGround())
        return "Start is in ground";
    if (!editorLevelHasKey())
        return "No key in the level";
    const unsigned char *exitCell = editorCell(curLvl.exit);
    if (!exitCell || *exitCell != EXIT_DOOR_TILE)
        return "No door on the exit";
    return nullptr;
}

int editorDrawHint(int y)
{
    const char *problem = editorLevelProblem();
    if (!problem)
        return y;
    dText(problem, HINT_X, y);
    return y + FONT_LINE_HEIGHT;
}

// The strip's tiles: one tileset row of 16 at (x, y), cut to the window.
static void editorDrawStripRow(int row, int x, int y, const SDL_Rect *window)
{
    const int wrapped = (row + SHEET_CELLS_PER_ROW) % SHEET_CELLS_PER_ROW;
    for (int c = 0; c < SHEET_CELLS_PER_ROW; c++)
        dTileHalf(&curLvl.layer0, wrapped * SHEET_CELLS_PER_ROW + c, x + 1 + c * STRIP_PITCH, y, window);
}

void editorDrawStrip(int topFreeY)
{
    const unsigned char *cell = editorMarkedCell();
    editorStripDrawn = Box{0, 0, 0, 0};
    if (editorMode != EDITOR_EDIT || cell == nullptr)
        return;
    // At whichever end of the screen is farther from the edited cell.
    const int cellMiddle = marker.y * TILE_SIZE - camera.y + TILE_SIZE / 2;
    const int plateH = STRIP_WINDOW_H + 2 * STRIP_FRAME;
    const int top = topFreeY > STRIP_TOP_Y ? topFreeY : STRIP_TOP_Y;
    const int plateY = cellMiddle > screenHeight / 2 ? top : screenHeight - STRIP_BOTTOM_GAP - plateH;
    const int plateX = (screenWidth - STRIP_WINDOW_W) / 2 - STRIP_FRAME;
    editorStripDrawn = Box{plateX, plateY, STRIP_WINDOW_W + 2 * STRIP_FRAME, plateH};
    dFillRect(plateX, plateY, editorStripDrawn.w, plateH, DARK_R, DARK_G, DARK_B);
    const SDL_Rect window = {static_cast<Sint16>(plateX + STRIP_FRAME), static_cast<Sint16>(plateY + STRIP_FRAME),
                             static_cast<Uint16>(STRIP_WINDOW_W), static_cast<Uint16>(STRIP_WINDOW_H)};
    dFillRect(window.x, window.y, window.w, window.h, LIGHT_R, LIGHT_G, LIGHT_B);

    // The edited tile's row between slivers of its neighbours, then the
    // frame round the edited tile, in the gaps about it.
    const int row = *cell / SHEET_CELLS_PER_ROW;
    const int rowY = window.y + STRIP_SLIVER + 1;
    for (int r = -1; r <= 1; r++)
        editorDrawStripRow(row + r, window.x, rowY + r * STRIP_PITCH, &window);
    const int tileX = window.x + 1 + (*cell % SHEET_CELLS_PER_ROW) * STRIP_PITCH;
    const int frameX = tileX - 1, frameY = rowY - 1, frameSide = STRIP_TILE + 2;
    dFillRect(frameX, frameY, frameSide, 1, DARK_R, DARK_G, DARK_B);
    dFillRect(frameX, frameY + frameSide - 1, frameSide, 1, DARK_R, DARK_G, DARK_B);
    dFillRect(frameX, frameY, 1, frameSide, DARK_R, DARK_G, DARK_B);
    dFillRect(frameX + frameSide - 1, frameY, 1, frameSide, DARK_R, DARK_G, DARK_B);
}
