#include "sdldraw.h"

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

void dMap(void) {}

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
