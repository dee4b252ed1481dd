// Least working-directory service that builds: the story engine names every file by its
// full path in the program's directory, so nothing depends on the current directory.
// Replaced by the shell's own.
#include "shell/shell.h"

void SetWorkingDirectory() {}
