#include "ui/check_window_qt.h"

#include <QMessageBox>

#include "ui/main_window.h"
#include "ui/message.h"
#include "ui/results_grid.h"
#include "ui/window_link.h"

namespace quenvar {

QtCheckWindow::QtCheckWindow(std::shared_ptr<WindowLink> link, MainWindow* window)
    : link_(std::move(link)), window_(window) {}

void QtCheckWindow::on_window(const std::function<void(MainWindow&)>& call) {
    link_->run([&] { call(*window_); });
}

Text QtCheckWindow::box_text(Box box) {
    Text text;
    on_window([&](MainWindow& window) { text = window.box_text(box); });
    return text;
}

void QtCheckWindow::set_box_text(Box box, const Text& text) {
    on_window([&](MainWindow& window) { window.set_box_text(box, text); });
}

void QtCheckWindow::set_label_caption(Label label, const Text& caption) {
    on_window([&](MainWindow& window) { window.set_label_caption(label, caption); });
}

void QtCheckWindow::set_start_enabled(bool enabled) {
    on_window([&](MainWindow& window) { window.set_start_enabled(enabled); });
}

void QtCheckWindow::show_message(const Text& text, const Text& title) {
    if (link_->on_window_thread()) {
        if (link_->is_open()) quenvar::show_message(text, title);
        return;
    }
    // The box has no owner, but it goes with the window, so a caller waiting
    // for it resumes once the window is gone.
    auto closed = std::make_shared<Latch>();
    const bool opened = link_->run([&] {
        QMessageBox* box = open_message_box(text, title, closed);
        QObject::connect(window_, &QObject::destroyed, box, [box] { delete box; });
    });
    if (opened) closed->wait();
}

int32_t QtCheckWindow::row_count() {
    int32_t rows = 0;
    on_window([&](MainWindow& window) { rows = window.高级表格_原创度->row_count(); });
    return rows;
}

void QtCheckWindow::add_row(const Text& heading, int32_t position) {
    on_window([&](MainWindow& window) { window.高级表格_原创度->add_row(heading, position); });
}

void QtCheckWindow::delete_row(int32_t row) {
    on_window([&](MainWindow& window) { window.高级表格_原创度->delete_row(row); });
}

void QtCheckWindow::set_cell_text(int32_t row, int32_t column, const Text& value) {
    on_window(
        [&](MainWindow& window) { window.高级表格_原创度->set_cell_text(row, column, value); });
}

void QtCheckWindow::set_cell_text_color(int32_t row1, int32_t column1, int32_t row2,
                                        int32_t column2, Rgb colour) {
    on_window([&](MainWindow& window) {
        window.高级表格_原创度->set_cell_text_color(row1, column1, row2, column2, colour);
    });
}

void QtCheckWindow::set_cell_bold(int32_t row, int32_t column, bool bold) {
    on_window(
        [&](MainWindow& window) { window.高级表格_原创度->set_cell_bold(row, column, bold); });
}

void QtCheckWindow::report_progress(const CheckProgress& progress) {
    on_window([&](MainWindow& window) { window.show_progress(progress); });
}

}  // namespace quenvar
