// pixelart: turns a text picture (palette + character grids) into a 24-bit BMP.
//
// The game's art is kept as reviewable text under assets/; this tool is the
// only thing that turns it into the BMP files the game loads. Format:
//
//   # comment (whole line)
//   size W H            image size in pixels (must come first)
//   color C RRGGBB      palette entry: one character C, hex colour
//   color C none        C paints nothing (leaves what is already there)
//   fill C              paints the whole image with C
//   rect X Y W H C      filled rectangle
//   grid X Y [S]        picture rows follow, up to a line "end"; the first row's
//                       first character lands at (X, Y); each character is an
//                       S x S block (S defaults to 1). A short row leaves the
//                       rest untouched; characters beyond the image are clipped.
//
// Before any fill the image is pure magenta (255, 0, 255), the colour the game
// treats as transparent.
//
// Usage: pixelart INPUT.txt OUTPUT.bmp
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct PaletteEntry {
    bool used = false;
    bool none = false;
    unsigned char r = 0, g = 0, b = 0;
};

struct Picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb; // top-down, 3 bytes per pixel
    PaletteEntry palette[256];
};

int fail(const char *path, int lineNo, const char *what)
{
    fprintf(stderr, "pixelart: %s:%d: %s\n", path, lineNo, what);
    return 1;
}

void paint(Picture &pic, int x, int y, const PaletteEntry &c)
{
    if (c.none || x < 0 || y < 0 || x >= pic.w || y >= pic.h)
        return;
    unsigned char *p = &pic.rgb[(static_cast<size_t>(y) * pic.w + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void paintBlock(Picture &pic, int x, int y, int size, const PaletteEntry &c)
{
    for (int dy = 0; dy < size; dy++)
        for (int dx = 0; dx < size; dx++)
            paint(pic, x + dx, y + dy, c);
}

// Splits a line into blank-separated words (at most 8).
int splitWords(char *line, char *words[8])
{
    int n = 0;
    for (char *tok = strtok(line, " \t\r\n"); tok && n < 8; tok = strtok(nullptr, " \t\r\n"))
        words[n++] = tok;
    return n;
}

int writeBmp(const Picture &pic, const char *path)
{
    const int rowBytes = (pic.w * 3 + 3) & ~3;
    const unsigned fileSize = 54u + static_cast<unsigned>(rowBytes) * pic.h;
    unsigned char header[54] = {'B', 'M'};
    auto put32 = [&header](int at, unsigned v) {
        for (int i = 0; i < 4; i++)
            header[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(2, fileSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(pic.w));
    put32(22, static_cast<unsigned>(pic.h));
    header[26] = 1;  // planes
    header[28] = 24; // bits per pixel
    put32(34, static_cast<unsigned>(rowBytes) * pic.h);
    put32(38, 2835); // 72 dpi
    put32(42, 2835);

    FILE *fp = fopen(path, "wb");
    if (!fp) {
        fprintf(stderr, "pixelart: can't write %s\n", path);
        return 1;
    }
    fwrite(header, 1, sizeof header, fp);
    std::vector<unsigned char> row(static_cast<size_t>(rowBytes), 0);
    for (int y = pic.h - 1; y >= 0; y--) { // BMP rows run bottom-up, pixels as B G R
        for (int x = 0; x < pic.w; x++) {
            const unsigned char *p = &pic.rgb[(static_cast<size_t>(y) * pic.w + x) * 3];
            row[x * 3 + 0] = p[2];
            row[x * 3 + 1] = p[1];
            row[x * 3 + 2] = p[0];
        }
        fwrite(row.data(), 1, row.size(), fp);
    }
    if (ferror(fp) | fclose(fp)) {
        fprintf(stderr, "pixelart: failed writing %s\n", path);
        return 1;
    }
    return 0;
}

int readPicture(const char *path, Picture &pic)
{
    FILE *fp = fopen(path, "r");
    if (!fp) {
        fprintf(stderr, "pixelart: can't open %s\n", path);
        return 1;
    }
    char line[4096];
    int lineNo = 0;
    int result = 0;
    while (result == 0 && fgets(line, sizeof line, fp)) {
        lineNo++;
        char copy[4096];
        memcpy(copy, line, sizeof copy);
        char *words[8];
        const int n = splitWords(copy, words);
        if (n == 0 || words[0][0] == '#')
            continue;
        const std::string cmd = words[0];
        if (cmd == "size" && n == 3) {
            pic.w = atoi(words[1]);
            pic.h = atoi(words[2]);
            if (pic.w <= 0 || pic.h <= 0 || pic.w > 4096 || pic.h > 4096)
                result = fail(path, lineNo, "bad size");
            else
                pic.rgb.assign(static_cast<size_t>(pic.w) * pic.h * 3, 0);
            for (size_t i = 0; i < pic.rgb.size(); i += 3) {
                pic.rgb[i] = 255;
                pic.rgb[i + 2] = 255;
            }
        } else if (pic.w == 0) {
            result = fail(path, lineNo, "\"size W H\" must come first");
        } else if (cmd == "color" && n == 3 && strlen(words[1]) == 1) {
            PaletteEntry &e = pic.palette[static_cast<unsigned char>(words[1][0])];
            e.used = true;
            e.none = strcmp(words[2], "none") == 0;
            unsigned v = static_cast<unsigned>(strtoul(words[2], nullptr, 16));
            if (!e.none && strlen(words[2]) != 6)
                result = fail(path, lineNo, "colour must be RRGGBB or none");
            e.r = static_cast<unsigned char>(v >> 16);
            e.g = static_cast<unsigned char>(v >> 8);
            e.b = static_cast<unsigned char>(v);
        } else if (cmd == "fill" && n == 2 && pic.palette[static_cast<unsigned char>(words[1][0])].used) {
            for (int y = 0; y < pic.h; y++)
                for (int x = 0; x < pic.w; x++)
                    paint(pic, x, y, pic.palette[static_cast<unsigned char>(words[1][0])]);
        } else if (cmd == "rect" && n == 6 && pic.palette[static_cast<unsigned char>(words[5][0])].used) {
            const int x0 = atoi(words[1]), y0 = atoi(words[2]), w = atoi(words[3]), h = atoi(words[4]);
            for (int y = y0; y < y0 + h; y++)
                for (int x = x0; x < x0 + w; x++)
                    paint(pic, x, y, pic.palette[static_cast<unsigned char>(words[5][0])]);
        } else if (cmd == "grid" && (n == 3 || n == 4)) {
            const int x0 = atoi(words[1]), y0 = atoi(words[2]);
            const int size = n == 4 ? atoi(words[3]) : 1;
            if (size < 1)
                result = fail(path, lineNo, "bad grid scale");
            int row = 0;
            bool ended = false;
            while (result == 0 && fgets(line, sizeof line, fp)) {
                lineNo++;
                size_t len = strcspn(line, "\r\n");
                line[len] = '\0';
                if (strcmp(line, "end") == 0) {
                    ended = true;
                    break;
                }
                for (size_t i = 0; i < len; i++) {
                    const PaletteEntry &e = pic.palette[static_cast<unsigned char>(line[i])];
                    if (!e.used) {
                        result = fail(path, lineNo, "character not in the palette");
                        break;
                    }
                    paintBlock(pic, x0 + static_cast<int>(i) * size, y0 + row * size, size, e);
                }
                row++;
            }
            if (result == 0 && !ended)
                result = fail(path, lineNo, "grid without \"end\"");
        } else {
            result = fail(path, lineNo, "unknown or malformed command");
        }
    }
    fclose(fp);
    if (result == 0 && pic.w == 0)
        result = fail(path, lineNo, "no \"size\" line");
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: pixelart INPUT.txt OUTPUT.bmp\n");
        return 2;
    }
    Picture pic;
    if (readPicture(argv[1], pic))
        return 1;
    return writeBmp(pic, argv[2]);
}
