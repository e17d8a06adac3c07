// The program: everything lives in the game library.
#include "globals.h"

int main(int argc, char** argv) { return SDL_main(argc, argv); }
