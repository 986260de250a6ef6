#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "ui/check_window_qt.h"
#include "ui/commands.h"
#include "ui/integer_box.h"
#include "ui/looks.h"
#include "ui/qt_text.h"
#include "ui/results_grid.h"
#include "ui/sample_article.h"
#include "ui/window_link.h"

namespace quenvar {

namespace {

const char* const caption = "QuenvarSEO原创度检测工具 by Quenvar 工作室";

template <typename Control>
Control* place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(left, top, width, height);
    return control;
}

void set_colours(QWidget* widget, QPalette::ColorRole background, Rgb paper,
                 QPalette::ColorRole foreground, Rgb ink) {
    QPalette colours = widget->palette();
    colours.setColor(background, to_qcolor(paper));
    colours.setColor(foreground, to_qcolor(ink));
    widget->setPalette(colours);
}

void make_edit_box(QLineEdit* box, QStyle* look, Rgb ink) {
    box->setStyle(look);
    set_colours(box, QPalette::Base, white, QPalette::Text, ink);
}

QLabel* make_label(QWidget* window, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), window);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void make_sunken(QLabel* label) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
}

void make_result_label(QLabel* label) {
    make_sunken(label);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    set_colours(label, QPalette::Window, white, QPalette::WindowText, red);
}

}  // namespace

void prepare_results_grid(ResultsGrid& grid) {
    const int32_t widths[] = {30, 450, 60, 324};
    for (int32_t column = 0; column < 4; ++column) grid.set_column_width(column, widths[column]);
    const char* const headers[] = {"编号", "分段文本", "飘红数量", "实时搜索链接"};
    for (int32_t column = 0; column < 4; ++column)
        grid.set_cell_text(0, column, to_text(QString::fromUtf8(headers[column])));
}

QString progress_line(const CheckProgress& p) {
    switch (p.stage) {
        case CheckProgress::Stage::checking:
            return QStringLiteral("正在检测 第 %1 / %2 段").arg(p.segment).arg(p.segments);
        case CheckProgress::Stage::finished: {
            QString line =
                QStringLiteral("检测完成：%1 段，原创 %2 段").arg(p.segments).arg(p.original);
            if (p.failed > 0) line += QStringLiteral("，失败 %1 段").arg(p.failed);
            return line;
        }
        case CheckProgress::Stage::stopped:
            return QStringLiteral("搜索服务要求验证，已停止：请稍后重试");
    }
    return QString();
}

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("窗口"));
    setWindowTitle(QString::fromUtf8(caption));
    setFixedSize(900, 600);
    setFont(window_font(12));
    // Shared by the edit boxes and the grid; made the window's child only after
    // them, so it goes after them.
    auto* look = new ClassicLook();

    编辑框_飘红检测数 = place(new IntegerBox(this), "编辑框_飘红检测数", 184, 188, 32, 32);
    编辑框_飘红检测数->setText(QStringLiteral("12"));
    make_edit_box(编辑框_飘红检测数, look, black);

    编辑框_待检测原创度内容 =
        place(new QPlainTextEdit(this), "编辑框_待检测原创度内容", 8, 8, 888, 178);
    编辑框_待检测原创度内容->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    编辑框_待检测原创度内容->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    编辑框_待检测原创度内容->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    编辑框_待检测原创度内容->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        // The selection stays as visible as with the focus when the focus leaves.
        QPalette colours = 编辑框_待检测原创度内容->palette();
        colours.setColor(QPalette::Base, to_qcolor(white));
        colours.setColor(QPalette::Text, to_qcolor(black));
        for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
        编辑框_待检测原创度内容->setPalette(colours);
    }
    编辑框_待检测原创度内容->setPlainText(sample_article());

    标签3 = place(make_label(this, "每段落字数"), "标签3", 10, 188, 66, 32);
    make_sunken(标签3);
    标签3->setAlignment(Qt::AlignCenter);

    编辑框_段落数 = place(new IntegerBox(this), "编辑框_段落数", 80, 188, 24, 32);
    编辑框_段落数->setText(QStringLiteral("36"));
    make_edit_box(编辑框_段落数, look, black);

    标签4 = place(make_label(this, "飘红检测字数"), "标签4", 108, 188, 72, 32);

    按钮_清空文本 =
        place(new QPushButton(QStringLiteral("清空文本"), this), "按钮_清空文本", 216, 188, 64, 32);
    按钮_复制进来 =
        place(new QPushButton(QStringLiteral("复制进来"), this), "按钮_复制进来", 288, 188, 64, 32);
    按钮_检测 =
        place(new QPushButton(QStringLiteral("开始检测"), this), "按钮_检测", 360, 188, 64, 32);
    按钮_拷贝出去 =
        place(new QPushButton(QStringLiteral("拷贝出去"), this), "按钮_拷贝出去", 432, 188, 64, 32);

    标签6 = place(make_label(this, "文章字数"), "标签6", 504, 188, 48, 32);

    编辑框_文章字数 = place(new QLineEdit(this), "编辑框_文章字数", 560, 188, 40, 34);
    编辑框_文章字数->setReadOnly(true);
    make_edit_box(编辑框_文章字数, look, red);

    标签5 = place(make_label(this, "原创度"), "标签5", 604, 188, 40, 32);

    标签_原创值 = place(make_label(this, ""), "标签_原创值", 648, 188, 64, 32);
    标签_原创值->setFont(window_font(16, true));
    make_result_label(标签_原创值);
    标签_原创度 = place(make_label(this, ""), "标签_原创度", 716, 188, 164, 32);
    make_result_label(标签_原创度);
    for (QLabel* label : {标签_原创值, 标签_原创度}) label->setTextFormat(Qt::PlainText);

    高级表格_原创度 = place(new ResultsGrid(this), "高级表格_原创度", 8, 228, 888, 325);
    高级表格_原创度->setStyle(look);
    look->setParent(this);

    prepare_results_grid(*高级表格_原创度);

    // In the strip below the grid, so that nothing above it moves.
    标签_进度 = place(make_label(this, ""), "标签_进度", 8, 560, 600, 32);
    标签_进度->setTextFormat(Qt::PlainText);
    进度条_检测 = place(new QProgressBar(this), "进度条_检测", 616, 566, 280, 20);
    进度条_检测->setTextVisible(false);
    进度条_检测->hide();

    // The frame is the window manager's and unknown until shown; centring the
    // client area is within a few pixels.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));

    options_ = std::move(options);
    if (!options_.open_url)
        options_.open_url = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    QObject::connect(按钮_清空文本, &QPushButton::clicked, this, [this] { clear_article(*this); });
    QObject::connect(按钮_复制进来, &QPushButton::clicked, this, [this] { paste_article(*this); });
    QObject::connect(按钮_检测, &QPushButton::clicked, this, [this] { start_check(*this); });
    QObject::connect(按钮_拷贝出去, &QPushButton::clicked, this, [this] { copy_article(*this); });
    QObject::connect(高级表格_原创度, &ResultsGrid::grid_clicked, this,
                     [this](QPoint position) { open_search_link(*this, position); });

    link_ = std::make_shared<WindowLink>(this);
}

MainWindow::~MainWindow() {
    // Before any control goes: calls from other threads stop here.
    link_->close();
}

Text MainWindow::box_text(Box box) const {
    switch (box) {
        case Box::article:
            // The edit box holds "\n"; the text model's articles break lines with "\r\n".
            return to_text(编辑框_待检测原创度内容->toPlainText().replace(QLatin1Char('\n'),
                                                                          QStringLiteral("\r\n")));
        case Box::segment_length:
            return to_text(编辑框_段落数->text());
        case Box::probe_length:
            return to_text(编辑框_飘红检测数->text());
        case Box::character_count:
            return to_text(编辑框_文章字数->text());
    }
    return Text();
}

void MainWindow::set_box_text(Box box, const Text& text) {
    switch (box) {
        case Box::article:
            编辑框_待检测原创度内容->setPlainText(
                to_qstring(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            return;
        case Box::segment_length:
            编辑框_段落数->setText(to_qstring(text));
            return;
        case Box::probe_length:
            编辑框_飘红检测数->setText(to_qstring(text));
            return;
        case Box::character_count:
            编辑框_文章字数->setText(to_qstring(text));
            return;
    }
}

void MainWindow::set_label_caption(Label label, const Text& caption_text) {
    QLabel* target = label == Label::originality_value ? 标签_原创值 : 标签_原创度;
    target->setText(to_qstring(caption_text));
}

void MainWindow::show_progress(const CheckProgress& progress) {
    标签_进度->setText(progress_line(progress));
    const bool checking = progress.stage == CheckProgress::Stage::checking;
    进度条_检测->setVisible(checking);
    if (checking) {
        进度条_检测->setRange(0, progress.segments);
        进度条_检测->setValue(progress.segment - 1);  // the segments done so far
    }
}

void MainWindow::set_start_enabled(bool enabled) {
    按钮_检测->setEnabled(enabled);
}

std::shared_ptr<CheckWindow> MainWindow::check_window() {
    return std::make_shared<QtCheckWindow>(link_, this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace quenvar
