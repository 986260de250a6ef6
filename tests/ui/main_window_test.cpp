#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <string>

#include "tests/ui/window_fixture.h"
#include "ui/integer_box.h"
#include "ui/results_grid.h"

namespace quenvar {
namespace {

struct Control {
    const char* name;
    const char* kind;
    QRect place;
    const char* text;  // null where the control shows no single text
};

const Control controls[] = {
    {"编辑框_飘红检测数", "QLineEdit", {184, 188, 32, 32}, "12"},
    {"编辑框_待检测原创度内容", "QPlainTextEdit", {8, 8, 888, 178}, nullptr},
    {"标签3", "QLabel", {10, 188, 66, 32}, "每段落字数"},
    {"编辑框_段落数", "QLineEdit", {80, 188, 24, 32}, "36"},
    {"标签4", "QLabel", {108, 188, 72, 32}, "飘红检测字数"},
    {"按钮_清空文本", "QPushButton", {216, 188, 64, 32}, "清空文本"},
    {"按钮_复制进来", "QPushButton", {288, 188, 64, 32}, "复制进来"},
    {"按钮_检测", "QPushButton", {360, 188, 64, 32}, "开始检测"},
    {"按钮_拷贝出去", "QPushButton", {432, 188, 64, 32}, "拷贝出去"},
    {"标签6", "QLabel", {504, 188, 48, 32}, "文章字数"},
    {"编辑框_文章字数", "QLineEdit", {560, 188, 40, 34}, ""},
    {"标签5", "QLabel", {604, 188, 40, 32}, "原创度"},
    {"标签_原创值", "QLabel", {648, 188, 64, 32}, ""},
    {"标签_原创度", "QLabel", {716, 188, 164, 32}, ""},
    {"高级表格_原创度", "QTableWidget", {8, 228, 888, 325}, nullptr},
};

QString shown_text(QWidget* widget) {
    if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
    return {};
}

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// Key presses that type each character, also those without a key of their own.
void type(QWidget* widget, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

using WindowTest = testing::WindowTest;

TEST_F(WindowTest, IsAFixedCentredWindowWithoutAMaximiseButton) {
    EXPECT_EQ(window->objectName(), utf8("窗口"));
    EXPECT_EQ(window->size(), QSize(900, 600));
    EXPECT_EQ(window->minimumSize(), QSize(900, 600));
    EXPECT_EQ(window->maximumSize(), QSize(900, 600));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QString prefix = utf8("QuenvarSEO原创度检测工具 ");
    EXPECT_TRUE(window->windowTitle().startsWith(prefix));
    EXPECT_GT(window->windowTitle().size(), prefix.size());  // an author notice follows
    const QPoint offset =
        window->frameGeometry().center() - window->screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

TEST_F(WindowTest, EveryControlStandsAtItsPlaceWithItsInitialText) {
    for (const Control& c : controls) {
        QWidget* widget = find<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), window.get()) << c.name;
        EXPECT_TRUE(widget->inherits(c.kind)) << c.name;
        EXPECT_EQ(widget->geometry(), c.place) << c.name;
        EXPECT_TRUE(widget->isVisible()) << c.name;
        if (c.text) {
            EXPECT_EQ(shown_text(widget), utf8(c.text)) << c.name;
        }
    }
    EXPECT_EQ(window->高级表格_原创度->row_count(), 1);
    EXPECT_TRUE(window->按钮_检测->isEnabled());
}

TEST_F(WindowTest, ControlsUseTheWindowFaceWithChineseGlyphs) {
    for (const Control& c : controls) {
        QWidget* widget = find<QWidget>(c.name);
        const bool value = std::string(c.name) == "标签_原创值";
        const QFont font = widget->font();
        EXPECT_EQ(font.pixelSize(), value ? 16 : 12) << c.name;
        EXPECT_EQ(font.weight(), value ? QFont::Bold : QFont::Normal) << c.name;
        // The face actually used, not a fallback, holds the Chinese glyphs.
        EXPECT_TRUE(QFontMetrics(font).inFont(QChar(u'检')))
            << c.name << ": " << QFontInfo(font).family().toStdString();
    }
}

TEST_F(WindowTest, ColoursAndFramesOfTheBoxesAndLabels) {
    struct Look {
        const char* name;
        QPalette::ColorRole paper_role;
        QColor paper;
        QPalette::ColorRole ink_role;
        QColor ink;
    };
    const QColor white(255, 255, 255), black(0, 0, 0), red(255, 0, 0);
    const Look looks[] = {
        {"编辑框_飘红检测数", QPalette::Base, white, QPalette::Text, black},
        {"编辑框_段落数", QPalette::Base, white, QPalette::Text, black},
        {"编辑框_待检测原创度内容", QPalette::Base, white, QPalette::Text, black},
        {"编辑框_文章字数", QPalette::Base, white, QPalette::Text, red},
        {"标签_原创值", QPalette::Window, white, QPalette::WindowText, red},
        {"标签_原创度", QPalette::Window, white, QPalette::WindowText, red},
    };
    for (const Look& l : looks) {
        QWidget* widget = find<QWidget>(l.name);
        EXPECT_EQ(widget->palette().color(l.paper_role), l.paper) << l.name;
        EXPECT_EQ(widget->palette().color(l.ink_role), l.ink) << l.name;
    }
    EXPECT_TRUE(window->标签_原创值->autoFillBackground());
    EXPECT_TRUE(window->标签_原创度->autoFillBackground());

    struct Frame {
        const char* name;
        bool sunken;
    };
    const Frame frames[] = {{"标签3", true},  {"标签_原创值", true}, {"标签_原创度", true},
                            {"标签4", false}, {"标签5", false},      {"标签6", false}};
    for (const Frame& f : frames) {
        auto* label = find<QLabel>(f.name);
        EXPECT_EQ(label->frameShape(), f.sunken ? QFrame::Panel : QFrame::NoFrame) << f.name;
        if (f.sunken) {
            EXPECT_EQ(label->frameShadow(), QFrame::Sunken) << f.name;
            EXPECT_EQ(label->lineWidth(), 1) << f.name;
        }
    }
}

TEST_F(WindowTest, EditBoxesHaveASunkenBorder) {
    // Sunken: the outer edge is dark on the top and left, light on the bottom and right.
    for (const char* name :
         {"编辑框_飘红检测数", "编辑框_段落数", "编辑框_文章字数", "编辑框_待检测原创度内容"}) {
        const QImage image = find<QWidget>(name)->grab().toImage();
        const int w = image.width(), h = image.height();
        EXPECT_LT(image.pixelColor(0, h / 2).lightness(),
                  image.pixelColor(w - 1, h / 2).lightness())
            << name;
        EXPECT_LT(image.pixelColor(w / 2, 0).lightness(),
                  image.pixelColor(w / 2, h - 1).lightness())
            << name;
    }
}

TEST_F(WindowTest, IntegerBoxesRefuseTypedCharactersOtherThanDigitsAndMinus) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"abc", ""}, {"-5", "-5"}, {"1a2b3", "123"}, {"12 3", "123"},
                          {"+4", "4"}, {"中1", "1"}, {"１2", "2"},     {"0036", "0036"}};
    for (IntegerBox* box : {window->编辑框_段落数, window->编辑框_飘红检测数}) {
        for (const Case& c : cases) {
            box->clear();
            type(box, utf8(c.typed));
            EXPECT_EQ(box->text(), utf8(c.shown)) << c.typed;
        }
        box->setText(QStringLiteral("123"));
        box->end(false);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("12"));
    }
}

TEST_F(WindowTest, LeavingAnIntegerBoxShowsTheIntegerItBeginsWith) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{"0036", "36"},
                          {"0", ""},
                          {"-5", "-5"},
                          {"-0", ""},
                          {"12-3", "12"},
                          {"-", ""},
                          {"", ""},
                          {"99999999999", "2147483647"},
                          {"-99999999999", "-2147483648"}};
    for (IntegerBox* box : {window->编辑框_段落数, window->编辑框_飘红检测数}) {
        for (const Case& c : cases) {
            box->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(box->hasFocus());
            box->clear();
            QTest::keyClicks(box, utf8(c.typed));
            window->按钮_检测->setFocus(Qt::TabFocusReason);
            ASSERT_FALSE(box->hasFocus());
            EXPECT_EQ(box->text(), utf8(c.shown)) << c.typed;
        }
    }
}

TEST_F(WindowTest, TheArticleBoxWrapsScrollsAndKeepsItsSelectionVisible) {
    QPlainTextEdit* article = window->编辑框_待检测原创度内容;
    EXPECT_EQ(article->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(article->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(article->isReadOnly());

    article->setFocus(Qt::TabFocusReason);
    article->clear();
    QTest::keyClicks(article, "ab");
    QTest::keyClick(article, Qt::Key_Return);
    QTest::keyClicks(article, "cd");
    EXPECT_EQ(window->box_text(Box::article).str(), "ab\r\ncd");

    article->selectAll();
    window->按钮_检测->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(article->textCursor().hasSelection());
    const QPalette colours = article->palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
}

TEST_F(WindowTest, TheCharacterCountBoxIsReadOnlyForTheUser) {
    QTest::keyClicks(window->编辑框_文章字数, "12");
    EXPECT_TRUE(window->编辑框_文章字数->isReadOnly());
    EXPECT_EQ(window->编辑框_文章字数->text(), QString());
}

TEST_F(WindowTest, TheSampleArticleHas578CharactersIn1109Bytes) {
    const Text article = window->check_window()->box_text(Box::article);
    int32_t characters = 0;
    for (int32_t i = 1; i <= txt_len(article); ++i, ++characters)
        if (static_cast<uint8_t>(txt_code_at(article, i)) >= 0x80) ++i;  // a lead byte
    EXPECT_EQ(txt_len(article), 1109);
    EXPECT_EQ(characters, 578);
    // Paragraphs are separated by a line holding a single space, lines end in "\r\n".
    EXPECT_NE(txt_find(article, "\r\n \r\n"), -1);
    EXPECT_EQ(txt_find(txt_replace(article, "\r\n", ""), "\n"), -1);
    EXPECT_EQ(txt_find(txt_replace(article, "\r\n", ""), "\r"), -1);
}

}  // namespace
}  // namespace quenvar
