// Sound files: effect sources, the effects' WAV files, tunes and the volume.
#include "fileio.h"
#include "fileio_private.h"

#include <cstdlib>
#include <cstring>

#include "mixer.h"
#include "regular_file.h"
#include "sound.h"
#include "synth.h"

// ---- effect sources ----

struct EffectReader {
    SynthTone *tones;
    int max, count, lineNo;
    const char *filename;
    int failed;
};

static void effectReadLine(char **words, int n, void *ctx)
{
    EffectReader *r = static_cast<EffectReader *>(ctx);
    r->lineNo++;
    if (n == 0 || r->failed)
        return;
    const char *error = "only tone lines make an effect";
    if (strcmp(words[0], "tone") == 0 && r->count < r->max &&
        synthParseTone(words, n, &r->tones[r->count], &error) == 0) {
        r->count++;
        return;
    }
    if (r->count >= r->max)
        error = "too many tones";
    printf("ERROR: (loadSoundEffect) %s:%d: %s\n", r->filename, r->lineNo, error);
    r->failed = 1;
}

int loadSoundEffect(const char *filename, SynthTone *tones, int max, int *count)
{
    EffectReader reader = {tones, max, 0, 0, filename, 0};
    *count = 0;
    if (readWordLines(filename, effectReadLine, &reader) || reader.failed)
        return 1;
    if (reader.count == 0) {
        printf("ERROR: (loadSoundEffect) %s holds no tone\n", filename);
        return 1;
    }
    *count = reader.count;
    return 0;
}

// ---- WAV files ----

// The 44-byte header of an 8-bit mono WAV at SOUND_RATE: RIFF, the format
// chunk and the data chunk's head. Numbers are little-endian.
static const int WAV_HEADER_SIZE = 44;

static void wavPut32(unsigned char *at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        at[i] = (unsigned char)(value >> (8 * i));
}

static uint32_t wavGet32(const unsigned char *at)
{
    return (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
}

static void wavMakeHeader(unsigned char header[WAV_HEADER_SIZE], int length)
{
    memcpy(header, "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\0\0\0\0\0\0\0\0\x01\0\x08\0data\0\0\0\0",
           WAV_HEADER_SIZE);
    wavPut32(header + 4, (uint32_t)(WAV_HEADER_SIZE - 8 + length));
    wavPut32(header + 24, SOUND_RATE); // samples a second
    wavPut32(header + 28, SOUND_RATE); // bytes a second
    wavPut32(header + 40, (uint32_t)length);
}

struct WavContents {
    const unsigned char *samples;
    int length;
};

static void wavWrite(FILE *ofp, const void *ctx)
{
    const WavContents *wav = static_cast<const WavContents *>(ctx);
    unsigned char header[WAV_HEADER_SIZE];
    wavMakeHeader(header, wav->length);
    fwrite(header, 1, sizeof header, ofp);
    fwrite(wav->samples, 1, (size_t)wav->length, ofp);
}

int saveSoundWav(const char *filename, const unsigned char *samples, int length)
{
    const WavContents wav = {samples, length};
    return saveAtomically(filename, "", "ERROR: (saveSoundWav) Can't write %s: %s\n", wavWrite, &wav);
}

unsigned char *loadSoundWav(const char *filename, int *length)
{
    *length = 0;
    FILE *fp = fopenRegular(filename);
    if (!fp)
        return nullptr;
    unsigned char header[WAV_HEADER_SIZE];
    unsigned char expected[WAV_HEADER_SIZE];
    const bool headerRead = fread(header, 1, sizeof header, fp) == sizeof header;
    const uint32_t declared = headerRead ? wavGet32(header + 40) : 0;
    wavMakeHeader(expected, (int)(declared <= SOUND_MAX_SAMPLES ? declared : 0));
    unsigned char *samples = nullptr;
    if (headerRead && declared <= SOUND_MAX_SAMPLES && memcmp(header, expected, sizeof header) == 0) {
        samples = static_cast<unsigned char *>(malloc(declared > 0 ? declared : 1));
        if (samples && fread(samples, 1, declared, fp) != declared) {
            free(samples);
            samples = nullptr;
        }
    }
    fclose(fp);
    if (!samples)
        return nullptr;
    *length = (int)declared;
    return samples;
}

// ---- tunes ----

struct TuneReader {
    Tune *tune;
    int lineNo;
    const char *filename;
    const char *error;
};

// What tuneNoteNumber gives a word that is no note name.
static const int TUNE_NO_NOTE = -100;

// A note name (C4, Cs4 for C sharp ...) as a semitone number, or TUNE_NO_NOTE.
// Sharps are written "s": "#" begins a comment in every data file.
static int tuneNoteNumber(const char *word)
{
    static const char LETTERS[] = "C D EF G A B";
    const char *letter = word[0] ? strchr(LETTERS, word[0]) : nullptr;
    if (!letter || *letter == ' ')
        return TUNE_NO_NOTE;
    int semitone = (int)(letter - LETTERS);
    int i = 1;
    if (word[i] == 's') {
        semitone++;
        i++;
    }
    if (word[i] < '0' || word[i] > '8' || word[i + 1] != '\0')
        return TUNE_NO_NOTE;
    return 12 * (word[i] - '0' + 1) + semitone;
}

// The words of a notes line, appended to the last voice.
static const char *tuneReadNotes(Tune *tune, char **words, int n)
{
    if (tune->voices == 0)
        return "notes come after a voice line";
    TuneVoice &voice = tune->voice[tune->voices - 1];
    for (int w = 1; w < n; w++) {
        const int note = strcmp(words[w], ".") == 0   ? TUNE_REST
                         : strcmp(words[w], "-") == 0 ? TUNE_HOLD
                                                      : tuneNoteNumber(words[w]);
        if (note == TUNE_NO_NOTE)
            return "a note is a name and an octave (C4, G3), . or -";
        if (voice.steps == TUNE_MAX_STEPS)
            return "a voice holds at most 256 steps";
        voice.note[voice.steps++] = (short)note;
    }
    return nullptr;
}

static const char *tuneReadVoice(Tune *tune, char **words, int n)
{
    if (tune->voices == TUNE_VOICES)
        return "a tune has at most four voices";
    TuneVoice &voice = tune->voice[tune->voices];
    voice.wave = -1;
    for (int w = 0; w < WAVE_COUNT && n == 3; w++)
        if (strcmp(words[1], SYNTH_WAVE_NAMES[w]) == 0)
            voice.wave = w;
    voice.volume = n == 3 ? readBoundedNumber(words[2], 0, 100) : 0;
    if (voice.wave < 0)
        return "a voice is: voice WAVE VOLUME";
    voice.steps = 0;
    tune->voices++;
    return nullptr;
}

static void tuneReadLine(char **words, int n, void *ctx)
{
    TuneReader *r = static_cast<TuneReader *>(ctx);
    r->lineNo++;
    if (n == 0 || r->error)
        return;
    const char *error = "a tune has speed, voice and notes lines";
    if (strcmp(words[0], "speed") == 0 && n == 2) {
        r->tune->stepsPerMinute = readBoundedNumber(words[1], 0, 6000);
        error = r->tune->stepsPerMinute > 0 ? nullptr : "the speed is 1 ... 6000 steps a minute";
    } else if (strcmp(words[0], "voice") == 0) {
        error = tuneReadVoice(r->tune, words, n);
    } else if (strcmp(words[0], "notes") == 0) {
        error = tuneReadNotes(r->tune, words, n);
    }
    if (error) {
        printf("ERROR: (loadTune) %s:%d: %s\n", r->filename, r->lineNo, error);
        r->error = error;
    }
}

int loadTune(const char *filename, Tune *tune)
{
    memset(tune, 0, sizeof *tune);
    TuneReader reader = {tune, 0, filename, nullptr};
    if (readWordLines(filename, tuneReadLine, &reader) == 0 && !reader.error) {
        for (int v = 0; v < tune->voices; v++)
            if (tune->voice[v].steps == 0)
                reader.error = "a voice without notes";
        if (tune->stepsPerMinute == 0)
            reader.error = "no speed line";
        if (!reader.error)
            return 0;
        printf("ERROR: (loadTune) %s: %s\n", filename, reader.error);
    }
    memset(tune, 0, sizeof *tune);
    return 1;
}

// ---- the volume ----

static void volumeReadLine(char **words, int n, void *ctx)
{
    if (n == 2 && strcmp(words[0], "volume") == 0)
        *static_cast<int *>(ctx) = readBoundedNumber(words[1], 0, SOUND_VOLUME_MAX);
}

int loadSoundVolume(const char *filename)
{
    int volume = SOUND_VOLUME_DEFAULT;
    if (isRegularFile(filename))
        readWordLines(filename, volumeReadLine, &volume);
    return volume;
}

static void volumeWrite(FILE *ofp, const void *ctx)
{
    fprintf(ofp, "# The sound volume, 0 (silent) to %d; the options page sets it.\nvolume %d\n", SOUND_VOLUME_MAX,
            *static_cast<const int *>(ctx));
}

int saveSoundVolume(const char *filename, int volume)
{
    return saveAtomically(filename, "", "ERROR: (saveSoundVolume) Can't write %s: %s\n", volumeWrite, &volume);
}
