// The chain of levels, the title's choice among those reached, and the lines
// the won and game-over screens offer. Every level file is peeked at by its
// header alone, when a screen starts, never while a frame is drawn.
#include "campaign.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "fileio.h"
#include "input.h"
#include "map.h"
#include "sdldraw.h"
#include "sdlmain.h"

// One level of the chain: its file and the name the title shows.
struct campaignLevel {
    char file[CAMPAIGN_PATH_CHARS];
    char name[sizeof(mapHeader::name)];
};

static campaignLevel campaignChain[CAMPAIGN_MAX_LEVELS];
static int campaignLength = 0;
// The places in the chain of the levels reached, in chain order, and which
// of them New Game plays.
static int campaignReached[CAMPAIGN_MAX_LEVELS];
static int campaignReachedCount = 0;
static int campaignChoice = 0;
// The next level the won screen offers, empty when it offers none.
static char campaignNextFile[CAMPAIGN_PATH_CHARS];

// The screens' lines: room for any level name with what stands around it.
static char campaignTitleText[64];
static char campaignWonText[64];
static char campaignRetryText[64];

// Buttons that were already down when the screen came: a key held from play
// is let go unheeded, so that only a press made on the screen chooses.
static int campaignHeld[BUTTON_COUNT];

// Notes which buttons are down as a screen comes.
static void campaignScreenEnter(void)
{
    for (int b = 0; b < BUTTON_COUNT; b++)
        campaignHeld[b] = keyPress.key[b];
}

// Takes a press of button made since the screen came.
static int campaignFreshPress(int button)
{
    if (campaignHeld[button]) {
        campaignHeld[button] = keyPress.key[button];
        return 0;
    }
    return takePress(button);
}

// Cuts a line to what one line of the screen holds.
static void campaignFitScreen(char *text)
{
    const size_t fits = static_cast<size_t>(screenWidth / FONT_ADVANCE);
    if (strlen(text) > fits)
        text[fits] = '\0';
}

// The line that offers what a button does on a screen, such as
// "X: The Drowned Lane": the button by the key the player has mapped to it,
// or by its own name ("JUMP") when that key has no name a prompt can show.
static void campaignOfferLine(char *out, size_t size, int button, const char *what)
{
    snprintf(out, size, "%s: %s", inputButtonName(button), what);
    campaignFitScreen(out);
}

// The name a level is shown by: its NAME without the blank the reader puts
// after each word, or, when it has none, its file name.
static void campaignShownName(char *out, size_t size, const mapHeader *header, const char *file)
{
    snprintf(out, size, "%s", header->name);
    size_t n = strlen(out);
    while (n > 0 && out[n - 1] == ' ')
        out[--n] = '\0';
    if (n == 0) {
        const char *slash = strrchr(file, '/');
        snprintf(out, size, "%s", slash ? slash + 1 : file);
    }
}

// The path of the level next names, relative to the folder of the level
// from; 1 when it does not fit.
static int campaignNextPath(const char *from, const char *next, char *out)
{
    const char *slash = strrchr(from, '/');
    const int folder = next[0] == '/' || !slash ? 0 : static_cast<int>(slash - from + 1);
    const int n = snprintf(out, CAMPAIGN_PATH_CHARS, "%.*s%s", folder, from, next);
    return n < 0 || n >= CAMPAIGN_PATH_CHARS;
}

// 1 when two paths reach the same file, through links or another spelling.
static int campaignSameFile(const char *a, const char *b)
{
    struct stat sa, sb;
    if (stat(a, &sa) != 0 || stat(b, &sb) != 0)
        return strcmp(a, b) == 0;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Adds a level to the chain.
static void campaignAppend(const char *file, const mapHeader *header)
{
    campaignLevel *level = &campaignChain[campaignLength++];
    snprintf(level->file, sizeof level->file, "%s", file);
    campaignShownName(level->name, sizeof level->name, header, file);
}

// 1 when file is a level of the chain already: the chain has come round.
static int campaignInChain(const char *file)
{
    for (int i = 0; i < campaignLength; i++)
        if (campaignSameFile(campaignChain[i].file, file))
            return 1;
    return 0;
}

// Follows NEXT: from the first level while the next level loads, until a
// level names none, names one already in the chain, or the chain is full.
// The first level counts whatever its file holds: New Game plays it anyway.
static void campaignFollowChain(void)
{
    const char *first = mapFirstLevelFile();
    mapHeader header;
    loadMapHeader(first, &header);
    campaignLength = 0;
    campaignAppend(first, &header);
    // A first path cut short names no folder to find the next level in.
    if (strlen(first) >= CAMPAIGN_PATH_CHARS)
        return;
    while (campaignLength < CAMPAIGN_MAX_LEVELS && header.next[0] != '\0') {
        char path[CAMPAIGN_PATH_CHARS];
        if (campaignNextPath(campaignChain[campaignLength - 1].file, header.next, path) ||
            loadMapHeader(path, &header) || campaignInChain(path))
            return;
        campaignAppend(path, &header);
    }
}

// The first level and every level after one won are reached.
static void campaignFindReached(void)
{
    campaignReachedCount = 0;
    for (int i = 0; i < campaignLength; i++)
        if (i == 0 || campaignHasWon(campaignChain[i - 1].file))
            campaignReached[campaignReachedCount++] = i;
}

// Finds the level the game plays among those reached; one that is no longer
// among them (its file gone) gives way to the first level.
static void campaignFindChoice(void)
{
    campaignChoice = 0;
    if (!mapChosenFile)
        return;
    for (int k = 0; k < campaignReachedCount; k++)
        if (campaignSameFile(campaignChain[campaignReached[k]].file, mapChosenFile)) {
            campaignChoice = k;
            return;
        }
    mapChooseLevelFile(nullptr);
}

// The chosen level's name, with arrows when LEFT and RIGHT have others to offer.
static void campaignBuildTitleLine(void)
{
    const char *name = campaignChain[campaignReached[campaignChoice]].name;
    if (campaignReachedCount < 2) {
        snprintf(campaignTitleText, sizeof campaignTitleText, "%s", name);
        campaignFitScreen(campaignTitleText);
        return;
    }
    const int room = screenWidth / FONT_ADVANCE - 4;
    snprintf(campaignTitleText, sizeof campaignTitleText, "< %.*s >", room > 0 ? room : 0, name);
}

void campaignTitleStart(void)
{
    campaignScreenEnter();
    campaignProgressLoad();
    campaignFollowChain();
    campaignFindReached();
    campaignFindChoice();
    campaignBuildTitleLine();
}

void campaignTitleStep(void)
{
    const int step = campaignFreshPress(RIGHT) - campaignFreshPress(LEFT);
    if (step == 0 || campaignReachedCount < 2)
        return;
    const int choice = (campaignChoice + step + campaignReachedCount) % campaignReachedCount;
    const int level = campaignReached[choice];
    // The first level is played as it always was: by the -map path or the default.
    if (mapChooseLevelFile(level == 0 ? nullptr : campaignChain[level].file))
        return;
    campaignChoice = choice;
    campaignBuildTitleLine();
}

const char *campaignTitleLine(void)
{
    return campaignTitleText;
}

// Checks the level the won level names next and offers it when it loads as
// a level other than the won one itself; otherwise says why nothing is offered.
static void campaignOfferNext(const char *won, const char *next)
{
    char path[CAMPAIGN_PATH_CHARS];
    mapHeader header;
    if (campaignNextPath(won, next, path) || loadMapHeader(path, &header)) {
        printf("WARNING: (logicWon) %s names %s as the next level, which does not load as a level\n", won, next);
        return;
    }
    if (campaignSameFile(path, won)) {
        printf("WARNING: (logicWon) %s names itself as the next level\n", won);
        return;
    }
    char name[sizeof header.name];
    campaignShownName(name, sizeof name, &header, path);
    snprintf(campaignNextFile, sizeof campaignNextFile, "%s", path);
    campaignOfferLine(campaignWonText, sizeof campaignWonText, JUMP, name);
}

void campaignWonStart(void)
{
    campaignScreenEnter();
    const char *won = mapLevelFile();
    campaignRecordWin(won);
    campaignNextFile[0] = '\0';
    campaignWonText[0] = '\0';
    mapHeader header;
    loadMapHeader(won, &header);
    if (header.next[0] == '\0')
        snprintf(campaignWonText, sizeof campaignWonText, "The moor is crossed!");
    else
        campaignOfferNext(won, header.next);
}

int campaignWonJump(void)
{
    if (!campaignFreshPress(JUMP) || campaignNextFile[0] == '\0')
        return 0;
    return mapChooseLevelFile(campaignNextFile) == 0;
}

const char *campaignWonLine(void)
{
    return campaignWonText;
}

void campaignGameOverStart(void)
{
    campaignScreenEnter();
    campaignOfferLine(campaignRetryText, sizeof campaignRetryText, JUMP, "try again");
}

int campaignRetryJump(void)
{
    return campaignFreshPress(JUMP);
}

const char *campaignRetryLine(void)
{
    return campaignRetryText;
}

void campaignReset(void)
{
    campaignLength = 0;
    campaignReachedCount = 0;
    campaignChoice = 0;
    campaignNextFile[0] = '\0';
    campaignTitleText[0] = '\0';
    campaignWonText[0] = '\0';
    campaignRetryText[0] = '\0';
    memset(campaignHeld, 0, sizeof campaignHeld);
    campaignProgressReset();
}
