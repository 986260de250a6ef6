#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "ui/looks.h"
#include "ui/main_window.h"
#include "ui/ui.h"

namespace quenvar {

int program_start(int argc, char** argv) {
    return program_start(argc, argv, WindowOptions{}, {});
}

int program_start(int argc, char** argv, const WindowOptions& options,
                  const std::function<void(MainWindow&)>& on_shown) {
    QApplication app(argc, argv);
    std::atexit(release_separator);
    std::at_quick_exit(release_separator);
    // Message boxes have no owner to take the font from.
    QApplication::setFont(window_font(12));
    // A message box left open must not keep the program alive.
    QApplication::setQuitOnLastWindowClosed(false);

    MainWindow 窗口(options);
    QObject::connect(&窗口, &MainWindow::closed, &app, &QCoreApplication::quit);
    窗口.show();
    if (on_shown) QTimer::singleShot(0, &窗口, [&] { on_shown(窗口); });
    QApplication::exec();
    return 0;
}

void program_exit(int status) {
    std::fflush(nullptr);
    // Static objects stay as they are: a worker in the middle of a request or
    // a search may still be using them when the process ends.
    std::quick_exit(status);
}

}  // namespace quenvar
