#include <QApplication>
#include <cstdlib>

#include "ui/looks.h"
#include "ui/main_window.h"
#include "ui/ui.h"

namespace quenvar {

int program_start(int argc, char** argv) {
    QApplication app(argc, argv);
    std::atexit(release_separator);
    // Message boxes have no owner to take the font from.
    QApplication::setFont(window_font(12));
    // A message box left open must not keep the program alive.
    QApplication::setQuitOnLastWindowClosed(false);

    MainWindow 窗口;
    QObject::connect(&窗口, &MainWindow::closed, &app, &QCoreApplication::quit);
    窗口.show();
    QApplication::exec();
    return 0;
}

}  // namespace quenvar
