// mailzolka: the add-in in the substitute host on the simulated desktop, from the command line.
#include "cli/commands.h"

int main(int argc, char** argv) { return cli::RunMailzolka(argc, argv); }
