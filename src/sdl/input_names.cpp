// Button names for prompts on screen: the key each button is mapped to, as
// SDL names it, made fit for the game's capital letters and short lines.
#include <cstring>

#include "input.h"

// SDL's name for a key code it has no name for.
static const char *const UNNAMED_KEY = "unknown key";

// Each button's name as last given, with room for its end.
static char buttonKeyNames[BUTTON_COUNT][BUTTON_KEY_NAME_MAX + 1];

// SDL calls the keys of other alphabets "world 0" to "world 95", which tells
// a player nothing about where the key is.
static bool inputIsWorldKey(int sym)
{
    return sym >= SDLK_WORLD_0 && sym <= SDLK_WORLD_95;
}

// Letters, digits and spaces: all a key's name may hold to be shown.
static bool inputIsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
}

// Writes the name of key sym in capitals to out (BUTTON_KEY_NAME_MAX + 1
// bytes); returns 0, leaving out unfinished, when it has no name a prompt
// can use. A single sign such as "," or "[" reads as punctuation in a prompt.
static int inputKeyName(int sym, char *out)
{
    if (sym <= SDLK_UNKNOWN || sym >= SDLK_LAST || inputIsWorldKey(sym))
        return 0;
    const char *name = SDL_GetKeyName(static_cast<SDLKey>(sym));
    if (!name || name[0] == '\0' || strcmp(name, UNNAMED_KEY) == 0)
        return 0;
    int n = 0;
    for (; name[n] != '\0'; n++) {
        if (n == BUTTON_KEY_NAME_MAX || !inputIsNameCharacter(name[n]))
            return 0;
        out[n] = (name[n] >= 'a' && name[n] <= 'z') ? static_cast<char>(name[n] - 'a' + 'A') : name[n];
    }
    out[n] = '\0';
    return 1;
}

const char *inputButtonName(int button)
{
    if (button < 0 || button >= BUTTON_COUNT)
        return "";
    if (inputKeyName(keyMapping[button], buttonKeyNames[button]))
        return buttonKeyNames[button];
    return BUTTON_NAMES[button];
}
