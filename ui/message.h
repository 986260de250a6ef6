// The program's message box.
#pragma once

#include <memory>

#include "text/text.h"

class QMessageBox;

namespace quenvar {

class Latch;

// Shows `text` titled `title` in a box with an OK button only and no icon,
// owned by no window, and returns once the user has closed it. Callable from
// any thread: the box itself lives on the window's thread, and the main
// window stays usable while it is open.
void show_message(const Text& text, const Text& title);

// On the window's thread: opens that box without waiting for it. `closed`
// opens once the box is closed or gone; it goes at the latest when the
// program's message loop ends.
QMessageBox* open_message_box(const Text& text, const Text& title, std::shared_ptr<Latch> closed);

}  // namespace quenvar
