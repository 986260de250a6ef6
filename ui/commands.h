// What the user's buttons and the grid's click do, and the platform
// operations behind them.
#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <functional>

#include "text/text.h"

namespace quenvar {

class MainWindow;

// 清空文本: the article becomes "".
void clear_article(MainWindow& window);
// 复制进来: the article becomes the clipboard's text, "" when it holds none.
void paste_article(MainWindow& window);
// 拷贝出去: the clipboard's text becomes the article, even an empty one.
void copy_article(MainWindow& window);
// 开始检测: disables the button at once, so that a quick second click cannot
// start a second check, and runs one check on a worker thread.
void start_check(MainWindow& window);
// A click in the results grid: opens the search link in the current cell when
// that is in column 3 of a data row, and turns that cell purple. The click's
// position is not used.
void open_search_link(MainWindow& window, QPoint position);

// Starts a detached thread running `routine`; false when none could be made.
bool spawn_worker(std::function<void()> routine);
// The clipboard's text as it is, characters outside GBK included.
QString read_clipboard_text();
bool write_clipboard_text(const QString& text);
// Hands an http or https link to `open` as the URL the check requested (its
// GBK bytes escaped); anything else, such as an edited cell holding a path or
// a file: URL, is not opened.
void open_in_browser(const Text& link, const std::function<void(const QUrl&)>& open);

}  // namespace quenvar
