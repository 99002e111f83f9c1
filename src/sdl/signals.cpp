// SIGINT, SIGTERM and SIGHUP end the game the way the window's close button
// does. SDL 1.2's own handler pushes a quit event from inside the signal,
// which needs the event queue's lock; a signal that arrives while the game
// holds that lock in SDL_PollEvent (nearly always during the key capture,
// which does little but poll) then waits for it forever. The handler here
// only raises a flag, which the event handling reads between polls.
#include "signals.h"

#include <csignal>

static volatile sig_atomic_t signalsQuitRaised = 0;

// A browser sends no signals: there the game takes none.
#ifndef __EMSCRIPTEN__
// The signals that ask the game to end.
static const int QUIT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
static const int QUIT_SIGNAL_COUNT = sizeof QUIT_SIGNALS / sizeof QUIT_SIGNALS[0];
// Which of QUIT_SIGNALS the game took (those not ignored when it started).
static int signalsTaken[QUIT_SIGNAL_COUNT];

// The handler: async-signal-safe, it does nothing but raise the flag.
static void signalsOnQuit(int)
{
    signalsQuitRaised = 1;
}

// Gives sig the handler (or SIG_IGN, SIG_DFL); interrupted system calls go
// on, so a signal never turns a read or write into a failure.
static void signalsSet(int sig, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(sig, &action, nullptr);
}
#endif

void signalsIgnoreFailedWrites(void)
{
#ifndef __EMSCRIPTEN__
    signalsSet(SIGPIPE, SIG_IGN);
    signalsSet(SIGXFSZ, SIG_IGN);
#endif
}

void signalsCatchQuit(void)
{
    signalsQuitRaised = 0;
#ifndef __EMSCRIPTEN__
    for (int i = 0; i < QUIT_SIGNAL_COUNT; i++) {
        struct sigaction old = {};
        sigaction(QUIT_SIGNALS[i], nullptr, &old);
        signalsTaken[i] = old.sa_handler != SIG_IGN;
        if (signalsTaken[i])
            signalsSet(QUIT_SIGNALS[i], signalsOnQuit);
    }
#endif
}

void signalsReleaseQuit(void)
{
#ifndef __EMSCRIPTEN__
    for (int i = 0; i < QUIT_SIGNAL_COUNT; i++) {
        if (signalsTaken[i])
            signalsSet(QUIT_SIGNALS[i], SIG_DFL);
        signalsTaken[i] = 0;
    }
#endif
}

int signalsTakeQuit(void)
{
    if (!signalsQuitRaised)
        return 0;
    signalsQuitRaised = 0;
    return 1;
}
