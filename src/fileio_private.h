// Only the fileio files include this: what the text formats share with each
// other and no other module needs.
#pragma once
#include <cstdio>

// The comment line every writer puts first.
extern const char *const GENERATED_HEADER;

// Writes filename through writeLines(ofp, ctx) so that a failed write never
// leaves a half-written file: the lines go to a new temporary file beside the
// target, which replaces it only once complete and on the disk. Symbolic links
// are followed and kept, the old file keeps its permission bits, and a file the
// user may not write is refused untouched; a FIFO or a device is written in
// place. Temporary files that saves of the same file left when cut short are
// removed. Prints savingLine once the file is open; on any failure prints
// failedFormat with the file name and the system's reason (two %s) to
// standard error and returns 1, else 0.
int saveAtomically(const char *filename, const char *savingLine, const char *failedFormat,
                   void (*writeLines)(FILE *ofp, const void *ctx), const void *ctx);

// Writes the two comment lines and the blank line that open every level and
// collision layer file.
void levelWriteHeader(FILE *ofp);

// A number word read like atoi, but kept within lowest ... highest: a file can
// hold any digits, and what the game computes from a number must not overflow.
int readBoundedNumber(const char *word, int lowest, int highest);

// Appends a word of a level file's NAME: line and one blank to name (of size
// bytes), as the level reader builds a name; what does not fit is cut.
void mapAppendName(char *name, size_t size, const char *word);
