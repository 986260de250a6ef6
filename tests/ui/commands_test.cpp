#include <gtest/gtest.h>

#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <map>

#include "tests/support/http_test_server.h"
#include "tests/ui/window_fixture.h"
#include "ui/commands.h"
#include "ui/qt_text.h"

namespace quenvar {
namespace {

using testing::http_response;
using testing::HttpTestReply;
using testing::HttpTestRequest;
using testing::HttpTestServer;
using testing::Spot;
using testing::wait_until;

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

QClipboard& clipboard() {
    return *QGuiApplication::clipboard();
}

QPlainTextEdit& article_box(MainWindow& window) {
    return *window.编辑框_待检测原创度内容;
}

// A window whose checks search on a local server and whose links are
// recorded instead of opened.
class CommandTest : public ::testing::Test {
protected:
    void open_window(const std::string& search_host = "127.0.0.1:9") {
        WindowOptions options;
        options.check.search_host = search_host;
        options.open_url = [this](const QUrl& url) { opened.push_back(url); };
        window = std::make_unique<MainWindow>(options);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<MainWindow> window;
    std::vector<QUrl> opened;
};

TEST_F(CommandTest, AWholeCheckDrivenByClicks) {
    // Three segments of 36 characters: the second is found eight times.
    const QString article = utf8(
        "原创内容是网站长期发展的基础搜索引擎更愿意收录有独立观点的文章写作时先动"
        "列出提纲再用自己的语言组织材料可以明显提高文章的原创度很多编辑会把一段话"
        "拆成短句并补充案例和数据让读者读得更明白关键词要自然地出现在标题和正文里");
    HttpTestServer server([](const HttpTestRequest& request) -> HttpTestReply {
        const std::string segment = txt_to_utf8(Text(request.query_value("wd")));
        const std::string probe = segment.substr(0, 36);  // twelve characters
        std::string page = "<html><body>";
        if (segment.rfind("列出提纲", 0) == 0) {
            for (int i = 0; i < 8; ++i) page += "<p><em>" + probe + "</em></p>";
        }
        return http_response(200, page + "</body></html>");
    });
    open_window(server.host());
    clipboard().setText(article);
    click(window->按钮_复制进来);
    ASSERT_EQ(article_box(*window).toPlainText(), article);

    click(window->按钮_检测);
    EXPECT_FALSE(window->按钮_检测->isEnabled());
    click(window->按钮_检测);  // starts nothing while the check runs
    ASSERT_TRUE(wait_until([&] { return window->按钮_检测->isEnabled(); }));

    ResultsGrid& grid = *window->高级表格_原创度;
    ASSERT_EQ(grid.row_count(), 4);
    EXPECT_EQ(grid.cell_text(2, 2), Text("2"));
    EXPECT_EQ(grid.cell_text(1, 2), Text("0"));
    EXPECT_EQ(grid.cell_text(3, 0), Text("3"));
    EXPECT_EQ(grid.cell_text_color(3, 3), link_colour);
    EXPECT_EQ(window->标签_原创值->text(), utf8("66.67%"));
    EXPECT_EQ(window->标签_原创度->text(), utf8("已经合格，有待提升"));
    EXPECT_EQ(window->编辑框_文章字数->text(), utf8("108"));
    EXPECT_EQ(server.request_count(), 3u);
    EXPECT_TRUE(grid.cell_bold(2, 2));
    EXPECT_EQ(grid.cell_text_color(2, 2), (Rgb{255, 0, 0}));
    EXPECT_FALSE(grid.cell_bold(1, 2));
    EXPECT_EQ(window->标签_进度->text(), utf8("检测完成：3 段，原创 2 段"));
    EXPECT_FALSE(window->进度条_检测->isVisible());
    EXPECT_LE(window->标签_进度->geometry().top(), 600 - window->标签_进度->height());
    EXPECT_GE(window->标签_进度->geometry().top(), grid.geometry().bottom());
}

TEST(ProgressLine, SaysHowFarTheCheckHasComeAndHowItEnded) {
    using Stage = CheckProgress::Stage;
    struct Case {
        CheckProgress progress;
        const char* line;
    };
    const Case cases[] = {
        {{Stage::checking, 17, 40, 9, 1, 0}, "正在检测 第 17 / 40 段"},
        {{Stage::finished, 40, 40, 30, 0, 0}, "检测完成：40 段，原创 30 段"},
        {{Stage::finished, 40, 40, 30, 2, 0}, "检测完成：40 段，原创 30 段，失败 2 段"},
        {{Stage::stopped, 40, 40, 3, 1, 30}, "搜索服务要求验证，已停止：请稍后重试"},
    };
    for (const Case& c : cases) EXPECT_EQ(progress_line(c.progress), utf8(c.line)) << c.line;
}

TEST_F(CommandTest, ClearPasteAndCopyMoveTheWholeArticleWithoutLoss) {
    open_window();
    click(window->按钮_清空文本);
    EXPECT_EQ(article_box(*window).toPlainText(), QString());
    click(window->按钮_清空文本);
    EXPECT_EQ(article_box(*window).toPlainText(), QString());

    // Copying an empty article leaves an empty text, not what was there.
    clipboard().setText(utf8("earlier"));
    click(window->按钮_拷贝出去);
    EXPECT_EQ(clipboard().text(), QString());

    // Characters outside GBK survive the way out and back.
    const QString text = utf8("表情😀与生僻字𠀀\n \n第二段");
    article_box(*window).setPlainText(text);
    click(window->按钮_拷贝出去);
    EXPECT_EQ(clipboard().text(), text);
    article_box(*window).setPlainText(utf8("to be replaced"));
    click(window->按钮_复制进来);
    EXPECT_EQ(article_box(*window).toPlainText(), text);

    // A clipboard without text empties the article.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard().setImage(picture);
    click(window->按钮_复制进来);
    EXPECT_EQ(article_box(*window).toPlainText(), QString());
    article_box(*window).setPlainText(text);
    clipboard().clear();
    click(window->按钮_复制进来);
    EXPECT_EQ(article_box(*window).toPlainText(), QString());
}

TEST_F(CommandTest, LinkClicksOpenTheCurrentCellsLinkOnly) {
    open_window();
    ResultsGrid& grid = *window->高级表格_原创度;
    testing::click(grid, {Spot::cell, 1, 3});  // no rows yet
    testing::click(grid, {Spot::header, 0, 3});
    EXPECT_TRUE(opened.empty());

    const Text links[] = {
        Text("http://www.baidu.com/s?wd=" + utf8_to_txt("一行").str() + "&rn=20&lm=0"),
        Text("http://www.baidu.com/s?wd=two lines\r\n&rn=20&lm=0")};
    for (int32_t row = 1; row <= 2; ++row) {
        grid.add_row(num_to_txt(row), row);
        grid.set_cell_text(row, 3, links[row - 1]);
        grid.set_cell_text_color(row, 3, row, 3, link_colour);
    }

    testing::click(grid, {Spot::cell, 2, 3});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toEncoded().toStdString(),
              "http://www.baidu.com/s?wd=two%20lines%0D%0A&rn=20&lm=0");
    EXPECT_EQ(grid.cell_text_color(2, 3), opened_link_colour);
    EXPECT_EQ(grid.cell_text_color(1, 3), link_colour);

    testing::click(grid, {Spot::cell, 1, 1});
    testing::click(grid, {Spot::cell, 2, 2});
    EXPECT_EQ(opened.size(), 1u);

    // The header of the link column makes row 1's link current and opens it,
    // as the GBK bytes that the check requested.
    testing::click(grid, {Spot::header, 0, 3});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].toEncoded().toStdString(),
              "http://www.baidu.com/s?wd=%D2%BB%D0%D0&rn=20&lm=0");
    EXPECT_EQ(grid.cell_text_color(1, 3), opened_link_colour);

    // An edited cell that is no web link is not handed to the system's opener.
    for (const char* edited : {"file:///bin/sh", "/usr/bin/xterm", "javascript:alert(1)", ""}) {
        grid.set_cell_text(2, 3, Text(edited));
        grid.set_cell_text_color(2, 3, 2, 3, link_colour);
        testing::click(grid, {Spot::cell, 1, 1});
        testing::click(grid, {Spot::cell, 2, 3});
        EXPECT_EQ(opened.size(), 2u) << edited;
        EXPECT_EQ(grid.cell_text_color(2, 3), opened_link_colour) << edited;
    }
}

TEST(ProgramEnd, ClosingTheWindowDuringACheckEndsTheProgram) {
    // The search never answers: the check waits on its first request.
    HttpTestReply silence;
    silence.hang = true;
    HttpTestServer server([silence](const HttpTestRequest&) { return silence; });
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(
        QStringLiteral(WINDOW_DRIVER),
        {"--search-host", QString::fromStdString(server.host()), "--start", "--close-on-input"});
    // Closed only once the worker is in the middle of its request.
    ASSERT_TRUE(wait_until([&] { return server.request_count() >= 1; }));
    program.write("close\n");
    program.closeWriteChannel();
    ASSERT_TRUE(program.waitForFinished(60'000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
}  // namespace quenvar
