// The campaign: the levels chained from the first one by their NEXT: lines,
// the ones the player has reached, the choice among them on the title, what
// the won and game-over screens offer, and the levels won kept in the
// progress file.
#pragma once

// The most levels a chain is followed through, and the longest level path
// the campaign keeps; a chain stops at either.
const int CAMPAIGN_MAX_LEVELS = 64;
const int CAMPAIGN_PATH_CHARS = 512;

// The levels won, kept in data/ beside the settings. Its entries name levels
// in this folder by their file name alone, so the game folder may move.
const char *const CAMPAIGN_PROGRESS_FILE = "./data/progress.txt";
const char *const CAMPAIGN_LEVEL_FOLDER = "./data/maps";

// Title, first step: follows the chain from the first level, works out the
// levels reached and which of them New Game plays.
void campaignTitleStart(void);

// One title step: a fresh LEFT or RIGHT chooses the level reached before or
// after, wrapping; New Game and the editor then open it.
void campaignTitleStep(void);

// The title's line naming the level New Game plays.
const char *campaignTitleLine(void);

// Won screen, first step: the level played counts as won (and is written to
// the progress file the first time), and the level after it is checked.
void campaignWonStart(void);

// 1 when a fresh JUMP on the won screen asks for the next level offered; it
// is then the level the game plays.
int campaignWonJump(void);

// The won screen's line offering the next level, saying the moor is crossed
// after the last one, or empty when the next level cannot be played.
const char *campaignWonLine(void);

// Game over, first step: the line offering another try.
void campaignGameOverStart(void);

// 1 when a fresh JUMP on the game-over screen asks to try the level again.
int campaignRetryJump(void);

// The game-over screen's line offering another try.
const char *campaignRetryLine(void);

// The levels won, read from the progress file once a run.
void campaignProgressLoad(void);

// 1 when the level in file has been won.
int campaignHasWon(const char *file);

// Counts the level in file as won; the first time, the progress file is
// written again with it.
void campaignRecordWin(const char *file);

// Forgets the chain, the texts and the levels won, so that the progress file
// is read again: the campaign as at start-up. The game never needs it.
void campaignReset(void);

// What campaign.cpp and campaign_progress.cpp share.
void campaignProgressReset(void);
