// Keeps every creature's sprite sheet loaded for the whole run. Creatures of
// one kind draw from one shared copy of their sheet, loaded with the first and
// freed with the last; one creature of each kind held here from the start makes
// every creature an input makes share a sheet that is already there, so an
// input's time goes to what it reads and plays rather than to loading the
// same images again. What an input makes is still all its own and released
// after it, so a leak still shows.
//
// The tileset is the other image every level load reads. Harnesses run in a
// scratch data folder whose tileset is a tiny stand-in written once: a
// shipped one is a 256 x 256 picture read and converted twice a load (once a
// layer) and blitted a hundred times a frame, which would cost more than
// everything an input asks for.
#pragma once
#include <SDL.h>
#include <string>

#include "enemy.h"
#include "fuzz_input.h"

// Makes one creature of each kind, from the current folder's ./data, in a list
// of its own that lives until the run ends. Call it once video is open, so the
// sheets are kept in the display format as the game keeps them.
inline void fuzzKeepSheets(void)
{
    static EnemyList *kept = nullptr;
    FUZZ_CHECK(kept == nullptr);
    for (int type = ENEMY_TYPE_KEY; type <= ENEMY_TYPE_PLANT; type++) {
        EnemyList *head = prependElement(kept, 0, 0, type);
        FUZZ_CHECK(head != nullptr && head != kept);
        kept = head;
    }
}

// Writes the stand-in tileset as path: one pixel, in the screen's 16-bit depth.
// Every tile but the first lies outside it and the first is that pixel, so
// the drawing code computes every tile's place as with a full tileset while
// the blits it asks SDL for copy next to nothing.
inline void fuzzWriteTileset(const std::string &path)
{
    SDL_Surface *tileset = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, 0, 0, 0, 0);
    FUZZ_CHECK(tileset != nullptr);
    FUZZ_CHECK(SDL_SaveBMP(tileset, path.c_str()) == 0);
    SDL_FreeSurface(tileset);
}
