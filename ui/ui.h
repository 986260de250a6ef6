// The program's start: the main window and its message loop.
#pragma once

namespace quenvar {

// Creates the main window, runs its message loop until the window is closed,
// and returns 0. The separator of the article cut is released at exit.
int program_start(int argc, char** argv);

}  // namespace quenvar
