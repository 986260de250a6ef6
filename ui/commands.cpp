#include "ui/commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <system_error>
#include <thread>

#include "check/check.h"
#include "ui/main_window.h"
#include "ui/results_grid.h"

namespace quenvar {

void clear_article(MainWindow& window) {
    window.编辑框_待检测原创度内容->setPlainText(QString());
}

// The article moves between the clipboard and its box as Unicode: only the
// check converts it, when it reads it.
void paste_article(MainWindow& window) {
    window.编辑框_待检测原创度内容->setPlainText(read_clipboard_text());
}

void copy_article(MainWindow& window) {
    write_clipboard_text(window.编辑框_待检测原创度内容->toPlainText());
}

void start_check(MainWindow& window) {
    window.按钮_检测->setEnabled(false);
    std::shared_ptr<CheckWindow> controls = window.check_window();
    const CheckOptions options = window.options().check;
    if (!spawn_worker([controls, options] { run_check(*controls, options); })) {
        window.按钮_检测->setEnabled(true);  // no check runs
    }
}

void open_search_link(MainWindow& window, QPoint) {
    ResultsGrid& grid = *window.高级表格_原创度;
    const int32_t row = grid.current_row();
    const int32_t column = grid.current_column();
    if (row < 1 || column != 3) return;
    open_in_browser(grid.cell_text(row, column), window.options().open_url);
    grid.set_cell_text_color(row, column, row, column, opened_link_colour);
}

bool spawn_worker(std::function<void()> routine) {
    try {
        std::thread(std::move(routine)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

QString read_clipboard_text() {
    return QGuiApplication::clipboard()->text();
}

bool write_clipboard_text(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    return true;
}

void open_in_browser(const Text& link, const std::function<void(const QUrl&)>& open) {
    const std::string_view l = link.view();
    const auto has_scheme = [&](std::string_view scheme) {
        if (l.size() <= scheme.size()) return false;
        for (size_t i = 0; i < scheme.size(); ++i) {
            const char c = l[i] >= 'A' && l[i] <= 'Z' ? static_cast<char>(l[i] + 32) : l[i];
            if (c != scheme[i]) return false;
        }
        return true;
    };
    if (!has_scheme("http://") && !has_scheme("https://")) return;
    const std::string target = escape_request_target(l);
    const QUrl url = QUrl::fromEncoded(
        QByteArray(target.data(), static_cast<qsizetype>(target.size())), QUrl::TolerantMode);
    if (url.isValid() && open) open(url);
}

}  // namespace quenvar
