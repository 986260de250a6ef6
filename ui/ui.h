// The program's start and end: the main window and its message loop.
#pragma once

#include <functional>

namespace quenvar {

class MainWindow;
struct WindowOptions;

// Creates the main window, runs its message loop until the window is closed,
// and returns 0. The separator of the article cut is released at exit.
int program_start(int argc, char** argv);
// The same with the window's options; `on_shown` runs once the window is up.
int program_start(int argc, char** argv, const WindowOptions& options,
                  const std::function<void(MainWindow&)>& on_shown);

// Ends the process with `status` at once: a check still running on its worker
// thread is neither waited for nor has anything it uses torn down under it.
[[noreturn]] void program_exit(int status);

}  // namespace quenvar
