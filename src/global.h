// Declarations shared by every part of the game.
#pragma once

// The program's version, printed by -help/-version and written into saved files.
const int VERSION_MAJOR = 0;
const int VERSION_MINOR = 0;
const int VERSION_PATCH = 1;

// Tiles are 16 x 16 pixels; a tile index is one unsigned byte.
const int TILE_SIZE = 16;
// Tilesets and sprite sheets are laid out 16 cells to a row, so one row of a
// tileset is 16 tile numbers apart.
const int SHEET_CELLS_PER_ROW = 16;
// A tile index, like a sprite index, is one byte: a tileset has this many
// tiles and a sprite sheet this many cells.
const int TILE_COUNT = 256;

// The settings, read at start-up and written after a remapping.
const char *const CONFIG_FILE = "./data/config.cfg";
// The level played and edited when no -map is given.
const char *const DEFAULT_MAP_FILE = "./data/maps/map01.map";

struct Point {
    int x;
    int y;
};

struct Box {
    int x;
    int y;
    int w;
    int h;
};

enum gameModeEnum {
    MODE_EXIT = 0,
    MODE_INTRO = 1,
    MODE_MENU = 2,
    MODE_INGAME = 3,
    MODE_HISCORE = 4,
    MODE_EDITOR = 5,
    MODE_WON = 6
};

extern gameModeEnum gameMode;    // mode of the step being run (logic)
extern gameModeEnum newGameMode; // requested mode, current from the next step (logic)
extern int quit;                 // non-zero ends the main loop (main)
extern int ingameState;          // INGAME_* below (logic)

// The in-game sub-states held in ingameState.
const int INGAME_PLAYING = 0;
const int INGAME_DYING = 1;     // set by the player when its hit points run out
const int INGAME_GAME_OVER = 2; // set by the player when it has fallen out of the level
const int INGAME_PAUSED = 3;
