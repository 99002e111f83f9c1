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
//   sheet W H N         the image is a sheet of W x H cells, N to a line, with
//                       1-pixel gaps both ways (the layout the game cuts
//                       sprite, tile and font sheets by)
//   cell I              like "grid X Y" at the top-left corner of cell I
//   picture FILE X Y [S]  draws another picture source (FILE is relative to
//                       this one) at (X, Y), each pixel an S x S block; its
//                       magenta pixels paint nothing
//   font FILE           takes the picture source FILE, which must have a
//                       "sheet" line, as the font for "text"
//   outline C           rings everything painted so far with C: each magenta
//                       pixel next to a painted one (diagonals too) becomes C.
//                       On a sheet the ring stays inside each cell, so a
//                       glyph's ring is drawn with the glyph
//   text X Y S C TEXT   writes TEXT (the rest of the line, inner blanks kept)
//                       in the font: each glyph pixel that is not magenta
//                       becomes an S x S block of C, and each character
//                       advances one cell and its gap, scaled by S
//
// Before any fill the image is pure magenta (255, 0, 255), the colour the game
// treats as transparent.
//
// Usage: pixelart INPUT.txt OUTPUT.bmp|OUTPUT.png [SCALE]
// An output name ending in ".png" gets a PNG with an alpha channel, magenta
// becoming transparent: the desktop's icon themes take PNG only. SCALE (1 by
// default) writes each pixel as a SCALE x SCALE block, so one small source
// makes the icon at every size with its pixels kept sharp.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "regular_file.h"

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
    int cellW = 0, cellH = 0, cellsPerLine = 0; // set by "sheet"
    std::unique_ptr<Picture> font;              // set by "font"
};

// One source file being read, for messages and for the sources it draws on.
struct Source {
    const char *path;
    FILE *fp;
    int lineNo;
    int depth; // how many sources draw on this one
};

// Sources may draw on sources this deep; more means they draw on each other.
const int maxSourceDepth = 4;

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

// The PNG checksums: CRC-32 over a chunk's type and data, Adler-32 over the
// uncompressed image inside the zlib stream.
unsigned pngCrc(const unsigned char *bytes, size_t size, unsigned crc = 0xffffffffu)
{
    for (size_t i = 0; i < size; i++) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc;
}

unsigned pngAdler(const std::vector<unsigned char> &bytes)
{
    unsigned a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return b << 16 | a;
}

void pngPut32(std::vector<unsigned char> &out, unsigned v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void pngChunk(FILE *fp, const char *type, const std::vector<unsigned char> &data)
{
    std::vector<unsigned char> chunk;
    pngPut32(chunk, static_cast<unsigned>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    pngPut32(chunk, ~pngCrc(chunk.data() + 4, chunk.size() - 4));
    fwrite(chunk.data(), 1, chunk.size(), fp);
}

// The image's rows as PNG filters them (a leading 0: no filter), each pixel
// R G B A and SCALE times over; magenta is the transparent colour.
std::vector<unsigned char> pngRows(const Picture &pic, int scale)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < pic.h * scale; y++) {
        raw.push_back(0);
        for (int x = 0; x < pic.w * scale; x++) {
            const unsigned char *p = &pic.rgb[(static_cast<size_t>(y / scale) * pic.w + x / scale) * 3];
            const bool clear = p[0] == 255 && p[1] == 0 && p[2] == 255;
            for (int i = 0; i < 3; i++)
                raw.push_back(clear ? 0 : p[i]);
            raw.push_back(clear ? 0 : 255);
        }
    }
    return raw;
}

// A zlib stream of stored (uncompressed) deflate blocks: no compressor to
// carry, and the package that ships the icons compresses them anyway.
std::vector<unsigned char> pngStored(const std::vector<unsigned char> &raw)
{
    std::vector<unsigned char> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t size = std::min<size_t>(raw.size() - at, 65535);
        const unsigned len = static_cast<unsigned>(size);
        z.push_back(at + size == raw.size() ? 1 : 0); // the last block's flag
        z.push_back(static_cast<unsigned char>(len));
        z.push_back(static_cast<unsigned char>(len >> 8));
        z.push_back(static_cast<unsigned char>(~len));
        z.push_back(static_cast<unsigned char>(~len >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + size));
        at += size;
    } while (at < raw.size());
    pngPut32(z, pngAdler(raw));
    return z;
}

int writePng(const Picture &pic, const char *path, int scale)
{
    std::vector<unsigned char> header;
    pngPut32(header, static_cast<unsigned>(pic.w * scale));
    pngPut32(header, static_cast<unsigned>(pic.h * scale));
    const unsigned char rest[] = {8, 6, 0, 0, 0}; // 8 bits, RGBA, deflate, no filter choice, no interlace
    header.insert(header.end(), rest, rest + sizeof rest);

    FILE *fp = fopen(path, "wb");
    if (!fp) {
        fprintf(stderr, "pixelart: can't write %s\n", path);
        return 1;
    }
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    fwrite(signature, 1, sizeof signature, fp);
    pngChunk(fp, "IHDR", header);
    pngChunk(fp, "IDAT", pngStored(pngRows(pic, scale)));
    pngChunk(fp, "IEND", {});
    if (ferror(fp) | fclose(fp)) {
        fprintf(stderr, "pixelart: failed writing %s\n", path);
        return 1;
    }
    return 0;
}

// The palette entry named by the first character of NAME.
const PaletteEntry &entry(const Picture &pic, const char *name)
{
    return pic.palette[static_cast<unsigned char>(name[0])];
}

// Whether (x, y) is still the see-through magenta.
bool isMagenta(const Picture &pic, int x, int y)
{
    const unsigned char *p = &pic.rgb[(static_cast<size_t>(y) * pic.w + x) * 3];
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
}

// Makes the image W x H and all magenta.
void setSize(Picture &pic, int w, int h)
{
    pic.w = w;
    pic.h = h;
    pic.rgb.assign(static_cast<size_t>(w) * h * 3, 0);
    for (size_t i = 0; i < pic.rgb.size(); i += 3) {
        pic.rgb[i] = 255;
        pic.rgb[i + 2] = 255;
    }
}

// Reads picture rows up to "end" and paints them from (x0, y0) in S x S blocks.
int readGrid(Source &src, Picture &pic, int x0, int y0, int size)
{
    char line[4096];
    for (int row = 0; fgets(line, sizeof line, src.fp); row++) {
        src.lineNo++;
        const size_t len = strcspn(line, "\r\n");
        line[len] = '\0';
        if (strcmp(line, "end") == 0)
            return 0;
        for (size_t i = 0; i < len; i++) {
            const PaletteEntry &e = pic.palette[static_cast<unsigned char>(line[i])];
            if (!e.used)
                return fail(src.path, src.lineNo, "character not in the palette");
            paintBlock(pic, x0 + static_cast<int>(i) * size, y0 + row * size, size, e);
        }
    }
    return fail(src.path, src.lineNo, "grid without \"end\"");
}

int readPicture(const char *path, Picture &pic, int depth);

// Reads the source FILE named inside SRC, relative to SRC's folder.
int readNested(const Source &src, const char *file, Picture &out)
{
    if (src.depth >= maxSourceDepth)
        return fail(src.path, src.lineNo, "sources draw on each other too deeply");
    std::string path = file;
    const char *slash = strrchr(src.path, '/');
    if (file[0] != '/' && slash)
        path = std::string(src.path, slash + 1) + file;
    if (readPicture(path.c_str(), out, src.depth + 1))
        return fail(src.path, src.lineNo, "can't use that source");
    return 0;
}

// Paints FROM onto PIC at (x, y), S x S per pixel, leaving out its magenta.
void drawPicture(Picture &pic, const Picture &from, int x, int y, int size)
{
    for (int fy = 0; fy < from.h; fy++)
        for (int fx = 0; fx < from.w; fx++) {
            const unsigned char *p = &from.rgb[(static_cast<size_t>(fy) * from.w + fx) * 3];
            PaletteEntry c;
            c.r = p[0];
            c.g = p[1];
            c.b = p[2];
            if (!isMagenta(from, fx, fy))
                paintBlock(pic, x + fx * size, y + fy * size, size, c);
        }
}

// Writes TEXT in PIC's font from (x, y), glyph pixels as S x S blocks of C.
void drawText(Picture &pic, int x, int y, int size, const PaletteEntry &c, const char *text)
{
    const Picture &font = *pic.font;
    for (const char *t = text; *t; t++, x += (font.cellW + 1) * size) {
        const int cell = static_cast<unsigned char>(*t);
        const int left = cell % font.cellsPerLine * (font.cellW + 1);
        const int top = cell / font.cellsPerLine * (font.cellH + 1);
        for (int gy = 0; gy < font.cellH && top + gy < font.h; gy++)
            for (int gx = 0; gx < font.cellW && left + gx < font.w; gx++)
                if (!isMagenta(font, left + gx, top + gy))
                    paintBlock(pic, x + gx * size, y + gy * size, size, c);
    }
}

// Whether (x, y) and (x + dx, y + dy) lie in the same cell of PIC's sheet
// (always, when PIC is no sheet); the gaps between cells belong to none.
bool sameCell(const Picture &pic, int x, int y, int dx, int dy)
{
    if (pic.cellsPerLine == 0)
        return true;
    const int pitchX = pic.cellW + 1, pitchY = pic.cellH + 1;
    const int nx = x + dx, ny = y + dy;
    return nx / pitchX == x / pitchX && ny / pitchY == y / pitchY && nx % pitchX < pic.cellW &&
           ny % pitchY < pic.cellH && x % pitchX < pic.cellW && y % pitchY < pic.cellH;
}

// Whether the magenta pixel (x, y) of BEFORE touches a painted one of its cell.
bool touchesPaint(const Picture &before, int x, int y)
{
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < before.w && ny < before.h && sameCell(before, x, y, dx, dy) &&
                !isMagenta(before, nx, ny))
                return true;
        }
    return false;
}

// Rings what is painted with C, judged on the picture as it was before.
void drawOutline(Picture &pic, const PaletteEntry &c)
{
    Picture before;
    before.w = pic.w;
    before.h = pic.h;
    before.rgb = pic.rgb;
    before.cellW = pic.cellW;
    before.cellH = pic.cellH;
    before.cellsPerLine = pic.cellsPerLine;
    for (int y = 0; y < pic.h; y++)
        for (int x = 0; x < pic.w; x++)
            if (isMagenta(before, x, y) && touchesPaint(before, x, y))
                paint(pic, x, y, c);
}

// The part of LINE after its first N words, without the line end.
std::string restOfLine(const char *line, int n)
{
    const char *p = line;
    for (int i = 0; i < n; i++) {
        p += strspn(p, " \t");
        p += strcspn(p, " \t\r\n");
    }
    if (*p == ' ' || *p == '\t')
        p++; // the one blank that separates the text from the command
    return std::string(p, strcspn(p, "\r\n"));
}

// Carries out one command line (already split into N words) of a source.
int runCommand(Source &src, Picture &pic, const char *line, char **words, int n)
{
    const std::string cmd = words[0];
    if (cmd == "size" && n == 3) {
        const int w = atoi(words[1]), h = atoi(words[2]);
        if (w <= 0 || h <= 0 || w > 4096 || h > 4096)
            return fail(src.path, src.lineNo, "bad size");
        setSize(pic, w, h);
        return 0;
    }
    if (pic.w == 0)
        return fail(src.path, src.lineNo, "\"size W H\" must come first");
    if (cmd == "color" && n == 3 && strlen(words[1]) == 1) {
        PaletteEntry &e = pic.palette[static_cast<unsigned char>(words[1][0])];
        e.used = true;
        e.none = strcmp(words[2], "none") == 0;
        unsigned v = static_cast<unsigned>(strtoul(words[2], nullptr, 16));
        if (!e.none && strlen(words[2]) != 6)
            return fail(src.path, src.lineNo, "colour must be RRGGBB or none");
        e.r = static_cast<unsigned char>(v >> 16);
        e.g = static_cast<unsigned char>(v >> 8);
        e.b = static_cast<unsigned char>(v);
        return 0;
    }
    if (cmd == "fill" && n == 2 && entry(pic, words[1]).used) {
        for (int y = 0; y < pic.h; y++)
            for (int x = 0; x < pic.w; x++)
                paint(pic, x, y, entry(pic, words[1]));
        return 0;
    }
    if (cmd == "rect" && n == 6 && entry(pic, words[5]).used) {
        const int x0 = atoi(words[1]), y0 = atoi(words[2]), w = atoi(words[3]), h = atoi(words[4]);
        for (int y = y0; y < y0 + h; y++)
            for (int x = x0; x < x0 + w; x++)
                paint(pic, x, y, entry(pic, words[5]));
        return 0;
    }
    if (cmd == "grid" && (n == 3 || n == 4)) {
        const int size = n == 4 ? atoi(words[3]) : 1;
        if (size < 1)
            return fail(src.path, src.lineNo, "bad grid scale");
        return readGrid(src, pic, atoi(words[1]), atoi(words[2]), size);
    }
    if (cmd == "sheet" && n == 4) {
        pic.cellW = atoi(words[1]);
        pic.cellH = atoi(words[2]);
        pic.cellsPerLine = atoi(words[3]);
        if (pic.cellW < 1 || pic.cellH < 1 || pic.cellsPerLine < 1)
            return fail(src.path, src.lineNo, "bad sheet layout");
        return 0;
    }
    if (cmd == "cell" && n == 2) {
        const int cell = atoi(words[1]);
        if (pic.cellsPerLine == 0 || cell < 0)
            return fail(src.path, src.lineNo, "\"cell\" needs a \"sheet\" line and a cell number");
        return readGrid(src, pic, cell % pic.cellsPerLine * (pic.cellW + 1),
                        cell / pic.cellsPerLine * (pic.cellH + 1), 1);
    }
    if (cmd == "picture" && (n == 4 || n == 5)) {
        const int size = n == 5 ? atoi(words[4]) : 1;
        Picture from;
        if (size < 1)
            return fail(src.path, src.lineNo, "bad picture scale");
        if (readNested(src, words[1], from))
            return 1;
        drawPicture(pic, from, atoi(words[2]), atoi(words[3]), size);
        return 0;
    }
    if (cmd == "font" && n == 2) {
        pic.font = std::make_unique<Picture>();
        if (readNested(src, words[1], *pic.font))
            return 1;
        if (pic.font->cellsPerLine == 0)
            return fail(src.path, src.lineNo, "the font has no \"sheet\" line");
        return 0;
    }
    if (cmd == "outline" && n == 2 && entry(pic, words[1]).used) {
        drawOutline(pic, entry(pic, words[1]));
        return 0;
    }
    if (cmd == "text" && n >= 6 && entry(pic, words[4]).used) {
        const int size = atoi(words[3]);
        if (!pic.font || size < 1)
            return fail(src.path, src.lineNo, "\"text\" needs a \"font\" line and a scale");
        drawText(pic, atoi(words[1]), atoi(words[2]), size, entry(pic, words[4]), restOfLine(line, 5).c_str());
        return 0;
    }
    return fail(src.path, src.lineNo, "unknown or malformed command");
}

// Reads the source at PATH into PIC; DEPTH counts the sources that draw on it.
int readPicture(const char *path, Picture &pic, int depth)
{
    Source src = {path, fopenRegular(path), 0, depth};
    if (!src.fp) {
        fprintf(stderr, "pixelart: can't open %s\n", path);
        return 1;
    }
    char line[4096];
    int result = 0;
    while (result == 0 && fgets(line, sizeof line, src.fp)) {
        src.lineNo++;
        char copy[4096];
        memcpy(copy, line, sizeof copy);
        char *words[8];
        const int n = splitWords(copy, words);
        if (n > 0 && words[0][0] != '#')
            result = runCommand(src, pic, line, words, n);
    }
    fclose(src.fp);
    if (result == 0 && pic.w == 0)
        result = fail(path, src.lineNo, "no \"size\" line");
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    const int scale = argc == 4 ? atoi(argv[3]) : 1;
    if (argc < 3 || argc > 4 || scale < 1 || scale > 64) {
        fprintf(stderr, "usage: pixelart INPUT.txt OUTPUT.bmp|OUTPUT.png [SCALE]\n");
        return 2;
    }
    Picture pic;
    if (readPicture(argv[1], pic, 0))
        return 1;
    const size_t nameLength = strlen(argv[2]);
    if (nameLength > 4 && strcmp(argv[2] + nameLength - 4, ".png") == 0)
        return writePng(pic, argv[2], scale);
    if (scale != 1) {
        fprintf(stderr, "pixelart: SCALE is for PNG output\n");
        return 2;
    }
    return writeBmp(pic, argv[2]);
}
