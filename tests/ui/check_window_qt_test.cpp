#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "tests/ui/window_fixture.h"
#include "ui/integer_box.h"
#include "ui/message.h"
#include "ui/results_grid.h"

namespace quenvar {
namespace {

using testing::wait_until;
using CheckWindowTest = testing::WindowTest;

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

QMessageBox* open_message_box() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    return nullptr;
}

TEST_F(CheckWindowTest, AWorkerReadsAndWritesTheControlsOnTheWindowsThread) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    ResultsGrid* grid = window->高级表格_原创度;

    // Widgets signal changes in the thread that makes them.
    std::atomic<int> off_thread_changes{0};
    const auto note_thread = [&] {
        if (QThread::currentThread() != qApp->thread()) ++off_thread_changes;
    };
    QObject::connect(grid->model(), &QAbstractItemModel::rowsInserted, note_thread);
    QObject::connect(grid->model(), &QAbstractItemModel::dataChanged, note_thread);
    QObject::connect(window->编辑框_飘红检测数, &QLineEdit::textChanged, note_thread);
    QObject::connect(window->编辑框_待检测原创度内容, &QPlainTextEdit::textChanged, note_thread);

    struct Seen {
        Text segment_length, probe_length, article;
        int32_t rows = 0;
    } seen;
    std::atomic<bool> done{false};
    std::jthread worker([&] {
        seen.segment_length = controls->box_text(Box::segment_length);
        seen.probe_length = controls->box_text(Box::probe_length);
        controls->set_box_text(Box::probe_length, "20");
        controls->set_box_text(Box::character_count, "500.5");
        controls->set_box_text(Box::article, "ab\r\n \r\ncd");
        seen.article = controls->box_text(Box::article);
        controls->set_label_caption(Label::originality_value, "66.67%");
        controls->set_label_caption(Label::originality_verdict, utf8_to_txt("已经合格，有待提升"));
        controls->set_start_enabled(false);
        for (int32_t row = 1; row <= 20; ++row) {
            controls->add_row(num_to_txt(row), controls->row_count());
            controls->set_cell_text(row, 1, txt_join("segment ", num_to_txt(row)));
        }
        controls->set_cell_text_color(5, 3, 5, 3, link_colour);
        controls->delete_row(20);
        seen.rows = controls->row_count();
        done = true;
    });
    ASSERT_TRUE(wait_until([&] { return done.load(); }));
    worker.join();

    EXPECT_EQ(seen.segment_length.str(), "36");
    EXPECT_EQ(seen.probe_length.str(), "12");
    EXPECT_EQ(seen.article.str(), "ab\r\n \r\ncd");
    EXPECT_EQ(seen.rows, 20);
    EXPECT_EQ(off_thread_changes.load(), 0);

    EXPECT_EQ(window->编辑框_飘红检测数->text(), QStringLiteral("20"));
    EXPECT_EQ(window->编辑框_文章字数->text(), QStringLiteral("500.5"));
    EXPECT_EQ(window->编辑框_待检测原创度内容->toPlainText(), QStringLiteral("ab\n \ncd"));
    EXPECT_EQ(window->标签_原创值->text(), QStringLiteral("66.67%"));
    EXPECT_EQ(window->标签_原创度->text(), utf8("已经合格，有待提升"));
    EXPECT_FALSE(window->按钮_检测->isEnabled());
    EXPECT_EQ(grid->row_count(), 20);
    EXPECT_EQ(grid->cell_text(19, 0).str(), "19");
    EXPECT_EQ(grid->cell_text(19, 1).str(), "segment 19");
    EXPECT_EQ(grid->cell_text_color(5, 3), link_colour);
}

TEST_F(CheckWindowTest, OnTheWindowsThreadCallsRunAtOnce) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    controls->set_box_text(Box::segment_length, "30");
    EXPECT_EQ(window->编辑框_段落数->text(), QStringLiteral("30"));
    EXPECT_EQ(controls->box_text(Box::segment_length).str(), "30");
    controls->add_row("1", 1);
    EXPECT_EQ(controls->row_count(), 2);
}

TEST_F(CheckWindowTest, OnceTheWindowIsGoneCallsDoNothing) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    window.reset();
    Text read = "unset";
    int32_t rows = -1;
    std::atomic<bool> done{false};
    std::jthread worker([&] {
        controls->set_box_text(Box::segment_length, "30");
        controls->add_row("1", 1);
        controls->show_message("text", "title");
        read = controls->box_text(Box::segment_length);
        rows = controls->row_count();
        done = true;
    });
    ASSERT_TRUE(wait_until([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(read.str(), "");
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(open_message_box(), nullptr);
}

TEST_F(CheckWindowTest, ACallWaitingWhenTheWindowGoesReturnsEmpty) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    std::atomic<bool> calling{false}, done{false};
    Text read = "unset";
    std::jthread worker([&] {
        calling = true;
        read = controls->box_text(Box::segment_length);
        done = true;
    });
    while (!calling) std::this_thread::yield();
    // Most likely handed over by now and still waiting, since this thread runs
    // no events; handed over or not, the outcome must be the same.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    window.reset();
    ASSERT_TRUE(wait_until([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(read.str(), "");
}

TEST_F(CheckWindowTest, AWorkersMessageWaitsForTheUserWhileTheWindowStaysUsable) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    const Text text = utf8_to_txt("请拷贝待检测文章"), title = utf8_to_txt("提示");
    struct Caller {
        const char* name;
        std::function<void()> show;
    };
    const Caller callers[] = {
        {"the check window", [&] { controls->show_message(text, title); }},
        {"show_message", [&] { show_message(text, title); }},
    };
    for (const Caller& caller : callers) {
        std::atomic<bool> returned{false};
        std::jthread worker([&] {
            caller.show();
            returned = true;
        });
        QMessageBox* box = nullptr;
        ASSERT_TRUE(wait_until([&] { return (box = open_message_box()) != nullptr; }))
            << caller.name;
        EXPECT_EQ(box->text(), utf8("请拷贝待检测文章")) << caller.name;
        EXPECT_EQ(box->windowTitle(), utf8("提示")) << caller.name;
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon) << caller.name;
        EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok))
            << caller.name;
        EXPECT_EQ(box->parentWidget(), nullptr) << caller.name;
        EXPECT_EQ(box->windowModality(), Qt::NonModal) << caller.name;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << caller.name;
        EXPECT_TRUE(window->isEnabled()) << caller.name;
        EXPECT_FALSE(returned.load()) << caller.name;  // it waits for the box to close

        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        ASSERT_TRUE(wait_until([&] { return returned.load(); })) << caller.name;
        worker.join();
        EXPECT_TRUE(wait_until([] { return open_message_box() == nullptr; })) << caller.name;
    }
}

TEST_F(CheckWindowTest, AWorkersMessageGoesWithTheWindowAndTheWorkerResumes) {
    const std::shared_ptr<CheckWindow> controls = window->check_window();
    std::atomic<bool> returned{false};
    std::jthread worker([&] {
        controls->show_message("text", "title");
        returned = true;
    });
    ASSERT_TRUE(wait_until([] { return open_message_box() != nullptr; }));
    window.reset();
    ASSERT_TRUE(wait_until([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(open_message_box(), nullptr);
}

TEST_F(CheckWindowTest, AMessageOnTheWindowsThreadReturnsOnceClosed) {
    QString seen;
    QTimer::singleShot(0, [&] {
        if (QMessageBox* box = open_message_box()) {
            seen = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    show_message(utf8_to_txt("完成"), utf8_to_txt("提示"));
    EXPECT_EQ(seen, utf8("完成"));
}

}  // namespace
}  // namespace quenvar
