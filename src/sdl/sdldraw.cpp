#include "sdldraw.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "animation.h"
#include "camera.h"
#include "map.h"
#include "regular_file.h"
#include "sdlmain.h"

SDL_Surface *fontIMG = nullptr;
SDL_Surface *splash1IMG = nullptr;
SDL_Surface *splash2IMG = nullptr;
SDL_Surface *gameLogoIMG = nullptr;
SDL_Surface *lifebarIMG = nullptr;
SDL_Surface *keySignIMG = nullptr;
SDL_Rect fontClip[256];
SDL_Rect lifebarClip[2];

// Pure magenta is transparent in every image.
static const Uint8 TRANSPARENT_R = 255;
static const Uint8 TRANSPARENT_G = 0;
static const Uint8 TRANSPARENT_B = 255;

// Every screen is cleared to this colour.
static const Uint8 BACKGROUND_R = 155;
static const Uint8 BACKGROUND_G = 188;
static const Uint8 BACKGROUND_B = 15;

// The sky-green margin a plate leaves around a line of text.
static const int TEXT_PLATE_MARGIN = 1;

// The life bar: three hearts, one per hit point, 6 pixels apart.
static const int LIFEBAR_HEARTS = 3;
static const int LIFEBAR_ADVANCE = 6;
static const int LIFEBAR_FILLED = 0; // lifebarClip entries
static const int LIFEBAR_EMPTY = 1;

// ---- images and sheets ----

// Loads a BMP and converts it to the display's format once, so that it is
// blitted every frame without conversion; magenta becomes transparent.
// Only a regular file is given to SDL, which would wait forever on a FIFO.
SDL_Surface *loadImage(const char *filename)
{
    SDL_Surface *loaded = isRegularFile(filename) ? SDL_LoadBMP(filename) : nullptr;
    if (!loaded)
        fprintf(stderr, "ERROR: (loadImage) Failed to load image: %s\n", filename);
    // SDL 1.2 crashes converting before video has started, so
    // without a display there is nothing to convert to.
    SDL_Surface *image = nullptr;
    if (loaded) {
        if (SDL_GetVideoSurface())
            image = SDL_DisplayFormat(loaded);
        SDL_FreeSurface(loaded);
    }
    // A failure of either loading or converting is reported the same way.
    if (!image) {
        fprintf(stderr, "ERROR: (loadImage) Failed to optimize image: %s\n", filename);
        return nullptr;
    }
    // The transparent colour must be given in the converted image's own format.
    const Uint32 key = SDL_MapRGB(image->format, TRANSPARENT_R, TRANSPARENT_G, TRANSPARENT_B);
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    return image;
}

void freeImage(SDL_Surface **image)
{
    if (*image)
        SDL_FreeSurface(*image);
    *image = nullptr;
}

void dFreeImages(void)
{
    for (SDL_Surface **image : {&fontIMG, &splash1IMG, &splash2IMG, &gameLogoIMG, &lifebarIMG, &keySignIMG})
        freeImage(image);
}

// The last line of cells is always filled in full, so source needs room for
// numOfTiles rounded up to a multiple of row.
void clipImage(SDL_Rect *source, int tileWidth, int tileHeight, int row, int numOfTiles)
{
    if (row < 1)
        return;
    for (int k = 0; k < numOfTiles; k += row) {
        for (int l = 0; l < row; l++) {
            SDL_Rect &cell = source[k + l];
            cell.x = (Sint16)(l * (tileWidth + 1));
            cell.y = (Sint16)((k / row) * (tileHeight + 1));
            cell.w = (Uint16)tileWidth;
            cell.h = (Uint16)tileHeight;
        }
    }
}

void applySurface(int x, int y, SDL_Surface *source, SDL_Surface *destination, SDL_Rect *clip)
{
    if (!source || !destination)
        return;
    SDL_Rect offset;
    offset.x = (Sint16)x;
    offset.y = (Sint16)y;
    SDL_BlitSurface(source, clip, destination, &offset);
}

// ---- pixels ----

// Writes one pixel in the surface's own format; callers keep (x, y) inside it.
void putPixel(SDL_Surface *surface, int x, int y, Uint32 pixel)
{
    SDL_LockSurface(surface);
    const int bpp = surface->format->BytesPerPixel;
    Uint8 *p = (Uint8 *)surface->pixels + y * surface->pitch + x * bpp;
    switch (bpp) {
    case 1:
        *p = (Uint8)pixel;
        break;
    case 2:
        *(Uint16 *)p = (Uint16)pixel;
        break;
    case 3:
        p[0] = (Uint8)(pixel & 0xFF);
        p[1] = (Uint8)((pixel >> 8) & 0xFF);
        p[2] = (Uint8)((pixel >> 16) & 0xFF);
        break;
    case 4:
        *(Uint32 *)p = pixel;
        break;
    default:
        break;
    }
    SDL_UnlockSurface(surface);
}

// Reads one pixel in the surface's own format; 0 for unknown pixel sizes.
Uint32 getPixel(SDL_Surface *surface, int x, int y)
{
    SDL_LockSurface(surface);
    const int bpp = surface->format->BytesPerPixel;
    const Uint8 *p = (const Uint8 *)surface->pixels + y * surface->pitch + x * bpp;
    Uint32 pixel = 0;
    switch (bpp) {
    case 1:
        pixel = *p;
        break;
    case 2:
        pixel = *(const Uint16 *)p;
        break;
    case 3:
        pixel = (Uint32)p[0] | ((Uint32)p[1] << 8) | ((Uint32)p[2] << 16);
        break;
    case 4:
        pixel = *(const Uint32 *)p;
        break;
    default:
        break;
    }
    SDL_UnlockSurface(surface);
    return pixel;
}

void dFillRect(int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b)
{
    if (!screen || w <= 0 || h <= 0)
        return;
    SDL_Rect rect;
    rect.x = (Sint16)x;
    rect.y = (Sint16)y;
    rect.w = (Uint16)w;
    rect.h = (Uint16)h;
    SDL_FillRect(screen, &rect, SDL_MapRGB(screen->format, r, g, b));
}

// ---- text, life bar, background ----

// One glyph per byte; a newline (after its own glyph) or reaching the
// screen's right edge starts the next line at the start x.
void dText(const char *text, int x, int y)
{
    if (!text)
        return;
    const int startX = x;
    for (const unsigned char *c = (const unsigned char *)text; *c; c++) {
        applySurface(x, y, fontIMG, screen, &fontClip[*c]);
        x += FONT_ADVANCE;
        if (*c == '\n' || x >= screenWidth) {
            x = startX;
            y += FONT_LINE_HEIGHT;
        }
    }
}

// The length a text is centred by: its last line that ended with a newline,
// or, when that is empty or there is none, its last line.
static int centringLength(const char *text)
{
    int lastEnded = 0;
    int current = 0;
    for (const char *c = text; *c; c++) {
        if (*c == '\n') {
            lastEnded = current;
            current = 0;
        } else {
            current++;
        }
    }
    return lastEnded != 0 ? lastEnded : current;
}

// The number of lines of a text: one more than its newlines.
static int lineCount(const char *text)
{
    int lines = 1;
    for (const char *c = text; *c; c++)
        if (*c == '\n')
            lines++;
    return lines;
}

void dTextCentered(const char *text, int i, int j)
{
    if (i == 0) {
        if (!text)
            return;
        dText(text, screenWidth / 2 - (FONT_ADVANCE / 2) * centringLength(text), j);
    } else if (i == 1) {
        if (!text || text[0] == '\0')
            return;
        dText(text, j, screenHeight / 2 - (FONT_LINE_HEIGHT / 2) * lineCount(text));
    } else {
        fprintf(stderr,
                "WARNING: (dTextCentered) The value of 'i' in dTextCentered must be either 0 or 1\n");
    }
}

void dTextCenteredOnPlate(const char *text, int y)
{
    if (!text || text[0] == '\0' || strchr(text, '\n'))
        return;
    const int length = static_cast<int>(strlen(text));
    const int x = screenWidth / 2 - (FONT_ADVANCE / 2) * length;
    // The last letter's advance ends in a blank column, which the plate's
    // own margin on the right replaces.
    dFillRect(x - TEXT_PLATE_MARGIN, y - TEXT_PLATE_MARGIN, length * FONT_ADVANCE - 1 + 2 * TEXT_PLATE_MARGIN,
              FONT_LINE_HEIGHT - 1 + 2 * TEXT_PLATE_MARGIN, BACKGROUND_R, BACKGROUND_G, BACKGROUND_B);
    dText(text, x, y);
}

// Piece k is filled while hp > k.
void dLifebar(int x, int y, int hp)
{
    for (int k = 0; k < LIFEBAR_HEARTS; k++) {
        SDL_Rect *piece = &lifebarClip[hp > k ? LIFEBAR_FILLED : LIFEBAR_EMPTY];
        applySurface(x + k * LIFEBAR_ADVANCE, y, lifebarIMG, screen, piece);
    }
}

void dLifebarBacking(int x, int y)
{
    if (!lifebarIMG)
        return;
    // A piece's top and bottom rows are empty, so its height already rings
    // the hearts above and below; one column more is added on each side.
    const SDL_Rect &piece = lifebarClip[LIFEBAR_FILLED];
    dFillRect(x - 1, y, (LIFEBAR_HEARTS - 1) * LIFEBAR_ADVANCE + piece.w + 2, piece.h, BACKGROUND_R,
              BACKGROUND_G, BACKGROUND_B);
}

void dBackground(void)
{
    if (!screen)
        return;
    SDL_FillRect(screen, nullptr,
                 SDL_MapRGB(screen->format, BACKGROUND_R, BACKGROUND_G, BACKGROUND_B));
}

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

void dTileHalf(const mapLayer *layer, int tile, int x, int y, const SDL_Rect *window)
{
    if (!screen || !layer->tilesetIMG || tile < 0 || tile >= TILE_COUNT)
        return;
    SDL_Surface *sheet = layer->tilesetIMG;
    const SDL_Rect &cell = layer->tileClip[tile];
    const int keyed = (sheet->flags & SDL_SRCCOLORKEY) != 0;
    // A tileset converted to the screen's format is copied as it is; any
    // other goes through its colours.
    const SDL_PixelFormat *from = sheet->format, *to = screen->format;
    const int sameFormat = from->BitsPerPixel == to->BitsPerPixel && from->Rmask == to->Rmask &&
                           from->Gmask == to->Gmask && from->Bmask == to->Bmask && from->BitsPerPixel > 8;
    for (int j = 0; j < TILE_SIZE / 2; j++) {
        for (int i = 0; i < TILE_SIZE / 2; i++) {
            const int sx = cell.x + 2 * i, sy = cell.y + 2 * j, dx = x + i, dy = y + j;
            if (dx < window->x || dy < window->y || dx >= window->x + window->w || dy >= window->y + window->h ||
                dx < 0 || dy < 0 || dx >= screen->w || dy >= screen->h || sx >= sheet->w || sy >= sheet->h)
                continue;
            const Uint32 pixel = getPixel(sheet, sx, sy);
            if (keyed && pixel == sheet->format->colorkey)
                continue;
            if (sameFormat) {
                putPixel(screen, dx, dy, pixel);
                continue;
            }
            Uint8 r, g, b;
            SDL_GetRGB(pixel, sheet->format, &r, &g, &b);
            putPixel(screen, dx, dy, SDL_MapRGB(screen->format, r, g, b));
        }
    }
}

// ---- creatures ----

// Creatures are drawn on the logical screen through their animation counters.

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

// How far outside the screen a creature's box corner may lie and still have
// part of its sprite in view, in pixels.
static const int STILL_SPRITE_REACH = 64;

void dCreatureStanding(const Creature *mob, int x, int y)
{
    // Far-off creatures are skipped: SDL would wrap their 16-bit positions into view.
    if (!screen || x < -STILL_SPRITE_REACH || y < -STILL_SPRITE_REACH || x > screen->w + STILL_SPRITE_REACH ||
        y > screen->h + STILL_SPRITE_REACH)
        return;
    const animStruct *anim = &mob->animation;
    const animFrame *list = mob->direction ? &anim->idle.right : &anim->idle.left;
    if (!list->frames || list->numOfFrames <= 0)
        return;
    const int sprite = list->frames[0];
    if (sprite < 0 || sprite >= static_cast<int>(sizeof anim->animClip / sizeof anim->animClip[0]))
        return;
    SDL_Rect clip = anim->animClip[sprite];
    applySurface(x + list->posOfTile.x, y + list->posOfTile.y, anim->animIMG, screen, &clip);
}
