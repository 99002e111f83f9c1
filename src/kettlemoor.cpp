// The game's entry point; everything else lives in the game library.
#include "main.h"

int main(int argc, char **argv)
{
    return gameMain(argc, argv);
}
