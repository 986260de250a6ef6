#include "ui/message.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QThread>

#include "ui/looks.h"
#include "ui/qt_text.h"
#include "ui/window_link.h"

namespace quenvar {

// Not modal: only the thread that asked for the box waits for it.
QMessageBox* open_message_box(const Text& text, const Text& title, std::shared_ptr<Latch> closed) {
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, to_qstring(title), to_qstring(text), QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setFont(window_font(12));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, [closed] { closed->open(); });
    QObject::connect(box, &QObject::destroyed, [closed] { closed->open(); });
    // When the program's loop ends, the box goes too and its caller resumes.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, box, [box] { delete box; });
    box->show();
    return box;
}

void show_message(const Text& text, const Text& title) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    auto closed = std::make_shared<Latch>();
    if (QThread::currentThread() == app->thread()) {
        QEventLoop loop;
        QPointer<QMessageBox> box = open_message_box(text, title, closed);
        QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
        QObject::connect(box, &QDialog::finished, &loop, &QEventLoop::quit);
        if (box && box->isVisible()) loop.exec();
        return;
    }
    auto handed_over = std::make_shared<Latch>();
    auto opened = std::make_shared<bool>(false);  // read after `handed_over` opens
    post_call(
        app,
        [text, title, closed, opened] {
            open_message_box(text, title, closed);
            *opened = true;
        },
        handed_over);
    handed_over->wait();
    if (*opened) closed->wait();
}

}  // namespace quenvar
