#include "sdldraw.h"

#include <cstdio>

#include "camera.h"
#include "map.h"
#include "sdlmain.h"

SDL_Surface *fontIMG = nullptr;
SDL_Surface *splash1IMG = nullptr;
SDL_Surface *splash2IMG = nullptr;
SDL_Surface *gameLogoIMG = nullptr;
SDL_Surface *lifebarIMG = nullptr;
SDL_Rect fontClip[256];
SDL_Rect lifebarClip[2];

// ---- images and sheets ----

SDL_Surface *loadImage(const char *)
{
    return nullptr;
}

void freeImage(SDL_Surface **image)
{
    if (*image)
        SDL_FreeSurface(*image);
    *image = nullptr;
}

void clipImage(SDL_Rect *, int, int, int, int) {}

void applySurface(int, int, SDL_Surface *, SDL_Surface *, SDL_Rect *) {}

// ---- pixels ----

void putPixel(SDL_Surface *, int, int, Uint32) {}

Uint32 getPixel(SDL_Surface *, int, int)
{
    return 0;
}

void dFillRect(int, int, int, int, Uint8, Uint8, Uint8) {}

// ---- text, life bar, background ----

void dText(const char *, int, int) {}
void dTextCentered(const char *, int, int) {}
void dLifebar(int, int, int) {}
void dBackground(void) {}

// ---- the tile map ----

void dMap(void)
{
    TileView view;
    cameraTileView(&view);
    if (view.cw <= 0 || view.ch <= 0) {
        puts("ERROR: (dMap) cw or ch must be greater than zero!");
        return;
    }
    mapLayer &layer = curLvl.layer0;
    if (!layer.array) {
        puts("WARNING: (dMap) Empty array. Aborting.");
        return;
    }
    // Column by column; every tile, 0 included, is copied the same way and
    // only the tileset's colour key lets the background through.
    for (int i = view.firstColumn; i < view.endColumn; i++) {
        for (int j = view.firstRow; j < view.endRow; j++) {
            const unsigned char tile = layer.array[i][j];
            applySurface(view.screenX + TILE_SIZE * (i - view.cx), view.screenY + TILE_SIZE * (j - view.cy),
                         layer.tilesetIMG, screen, &layer.tileClip[tile]);
        }
    }
}

// ---- creatures ----

// Creatures are drawn on the logical screen through their animation counters.
#include "animation.h"
#include "sdlmain.h"

void drawAnim(Creature *mob, SDL_Rect coord, int state, int dir)
{
    animStruct *anim = &mob->animation;
    const animFrame *list = nullptr;
    const int sprite = animBeginFrame(anim, state, dir, &list);
    if (sprite >= 0) {
        // The sprite sits at the box corner moved by the list's offset; SDL keeps positions in 16 bits.
        const Sint16 x = static_cast<Sint16>(coord.x + list->posOfTile.x);
        const Sint16 y = static_cast<Sint16>(coord.y + list->posOfTile.y);
        applySurface(x, y, anim->animIMG, screen, &anim->animClip[sprite]);
    }
    animEndFrame(anim, state);
}
