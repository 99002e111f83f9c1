// Keeps every creature's sprite sheet loaded for the whole run. Creatures of
// one kind draw from one shared copy of their sheet, loaded with the first and
// freed with the last; one creature of each kind held here from the start makes
// every creature an input makes share a sheet that is already there, so an
// input's time goes to what it reads and plays rather than to loading the
// same images again. What an input makes is still all its own and released
// after it, so a leak still shows.
#pragma once
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
