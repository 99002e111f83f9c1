// The editor's tile editing: stepping the marked cell of layer 0 through the
// tileset, then keeping or cancelling the change.
#include "editor_private.h"

#include "input.h"

int tmpTile = 0;
int lastTile = 0;
int newTile = 0;
int lastTileCheck = 1;

// Cancels the current edit, giving the cell back the value it had when the
// edit began.
static void editorCancelEdit(unsigned char *cell)
{
    *cell = (unsigned char)tmpTile;
    editorEndEdit();
}

// Accepts the tile edit; an edit begun on an empty cell sets the tile
// offered next time, and a tile that differs can be undone.
static void editorAcceptTile(unsigned char *cell)
{
    if (newTile == 1)
        lastTile = *cell;
    newTile = 0;
    lastTileCheck = 1;
    if (*cell != tmpTile)
        editorRemember(EditorChange{CHANGE_TILE, editorMarkedTile(), tmpTile, {0, 0}, {0, 0}, nullptr, nullptr});
    editorEndEdit();
}

// One step of changing the marked tile: UP/DOWN a tileset row, LEFT/RIGHT one
// tile, JUMP accepts, ACTION or MENU cancels.
void editorTileEdit(void)
{
    unsigned char *cell = editorMarkedCell();
    if (cell == nullptr) {
        editorEndEdit();
        return;
    }

    // An empty cell starts from the tile last placed on an empty cell.
    if (lastTileCheck == 1) {
        if (*cell == 0) {
            newTile = 1;
            *cell = (unsigned char)lastTile;
        }
        lastTileCheck = 0;
    }

    // Changes wrap around as a byte, so tile 0 is one step left of 255.
    if (takePress(UP))
        *cell = (unsigned char)(*cell - SHEET_CELLS_PER_ROW);
    if (takePress(DOWN))
        *cell = (unsigned char)(*cell + SHEET_CELLS_PER_ROW);
    if (takePress(LEFT))
        *cell = (unsigned char)(*cell - 1);
    if (takePress(RIGHT))
        *cell = (unsigned char)(*cell + 1);

    if (takePress(JUMP))
        editorAcceptTile(cell);

    // ACTION or MENU cancels: the cell gets its old value back.
    if (takePress(ACTION))
        editorCancelEdit(cell);
    if (takePress(MENU))
        editorCancelEdit(cell);
}
