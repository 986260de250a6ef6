// The main window 窗口 and its controls.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

#include "check/check.h"
#include "text/text.h"

class QLabel;
class QProgressBar;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quenvar {

class IntegerBox;
class ResultsGrid;
class WindowLink;

// Gives the grid its column widths and header texts.
void prepare_results_grid(ResultsGrid& grid);

// The progress line's text: "正在检测 第 k / N 段" while a check runs, its
// summary when it has ended.
QString progress_line(const CheckProgress& progress);

struct WindowOptions {
    // Where checks search; the installed program always uses the real service.
    CheckOptions check;
    // Opens a search link; the system's default browser unless a test says otherwise.
    std::function<void(const QUrl&)> open_url;
};

// Fixed 900 x 600, centred on the screen, with every control at its place.
// The controls are reached on the window's thread only; other threads go
// through check_window().
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(WindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    const WindowOptions& options() const { return options_; }

    Text box_text(Box box) const;
    void set_box_text(Box box, const Text& text);
    void set_label_caption(Label label, const Text& caption);
    void set_start_enabled(bool enabled);

    // The window as a check run sees it, usable from any thread; its calls do
    // nothing once the window is gone.
    std::shared_ptr<CheckWindow> check_window();

    // The controls, children of the window, in the order of the window form
    // (which is also the tab order). Each bears its name as objectName.
    IntegerBox* 编辑框_飘红检测数;
    QPlainTextEdit* 编辑框_待检测原创度内容;
    QLabel* 标签3;
    IntegerBox* 编辑框_段落数;
    QLabel* 标签4;
    QPushButton* 按钮_清空文本;
    QPushButton* 按钮_复制进来;
    QPushButton* 按钮_检测;
    QPushButton* 按钮_拷贝出去;
    QLabel* 标签6;
    QLineEdit* 编辑框_文章字数;
    QLabel* 标签5;
    QLabel* 标签_原创值;
    QLabel* 标签_原创度;
    ResultsGrid* 高级表格_原创度;
    // Below the grid: how far a check has come, and how it ended.
    QLabel* 标签_进度;
    QProgressBar* 进度条_检测;

    void show_progress(const CheckProgress& progress);

signals:
    // The user closed the window; the program ends then, even while a
    // message box is still open.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WindowOptions options_;
    std::shared_ptr<WindowLink> link_;
};

}  // namespace quenvar
