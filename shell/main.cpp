// The program's entry point; it takes nothing from its command line.
#include "shell/shell.h"

int main() { return RunGame(); }
