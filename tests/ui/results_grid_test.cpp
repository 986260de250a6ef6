#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/window_fixture.h"
#include "ui/looks.h"
#include "ui/results_grid.h"

namespace quenvar {
namespace {

constexpr Rgb green{0, 128, 0};

struct Cell {
    int32_t row;
    int32_t column;
    friend bool operator==(const Cell&, const Cell&) = default;
};

std::ostream& operator<<(std::ostream& out, const Cell& c) {
    return out << "(" << c.row << ", " << c.column << ")";
}

constexpr Cell none{-1, -1};

using testing::Spot;

class GridTest : public testing::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        grid = window->高级表格_原创度;
    }

    void add_rows(int count) {
        for (int i = 1; i <= count; ++i) grid->add_row(num_to_txt(i), grid->row_count());
    }

    std::vector<std::string> headings() const {
        std::vector<std::string> out;
        for (int32_t row = 1; row < grid->row_count(); ++row)
            out.push_back(grid->cell_text(row, 0).str());
        return out;
    }

    // Every cell's text and colour, header row included.
    std::vector<std::pair<std::string, Rgb>> snapshot() const {
        std::vector<std::pair<std::string, Rgb>> out;
        for (int32_t row = 0; row < grid->row_count(); ++row)
            for (int32_t column = 0; column < ResultsGrid::column_count; ++column)
                out.emplace_back(grid->cell_text(row, column).str(),
                                 grid->cell_text_color(row, column));
        return out;
    }

    Cell current() const { return {grid->current_row(), grid->current_column()}; }

    std::pair<QWidget*, QPoint> locate(const Spot& spot) const {
        return testing::locate(*grid, spot);
    }

    void click(const Spot& spot, Qt::MouseButton button = Qt::LeftButton) {
        testing::click(*grid, spot, button);
    }

    // Makes `cell` current the way a user does, by pressing it.
    void start_at(Cell cell) {
        if (cell.row > 0) click({Spot::cell, cell.row, cell.column});
        ASSERT_EQ(current(), cell);
    }

    ResultsGrid* grid = nullptr;
};

TEST_F(GridTest, IsPreparedWithHeadersWidthsAndTwentyFourPixelRows) {
    EXPECT_EQ(grid->row_count(), 1);
    EXPECT_EQ(current(), none);
    const std::string headers[] = {"编号", "分段文本", "飘红数量", "实时搜索链接"};
    const int widths[] = {30, 450, 60, 324};
    for (int32_t column = 0; column < 4; ++column) {
        EXPECT_EQ(txt_to_utf8(grid->cell_text(0, column)), headers[column]);
        EXPECT_EQ(grid->columnWidth(column), widths[column]);
    }
    add_rows(2);
    EXPECT_EQ(grid->horizontalHeader()->height(), 24);
    EXPECT_EQ(grid->rowHeight(0), 24);
    EXPECT_EQ(grid->rowHeight(1), 24);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectItems);
    EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(grid->cell_text_color(1, 1), black);
}

TEST_F(GridTest, DrawsGridLinesInLightGrey) {
    add_rows(3);
    const QImage image = grid->viewport()->grab().toImage();
    const int y = grid->rowViewportPosition(1) + 12;
    for (int32_t column = 0; column < 4; ++column) {
        const int x = grid->columnViewportPosition(column) + grid->columnWidth(column) - 1;
        EXPECT_EQ(image.pixelColor(x, y), QColor(192, 192, 192)) << "after column " << column;
    }
    const int between_rows = grid->rowViewportPosition(1) + grid->rowHeight(1) - 1;
    EXPECT_EQ(image.pixelColor(200, between_rows), QColor(192, 192, 192));
}

TEST_F(GridTest, AddRowInsertsBeforeADataRowAndAppendsOtherwise) {
    struct Case {
        int32_t position;
        std::vector<std::string> headings;
    };
    const Case cases[] = {
        {1, {"x", "1", "2", "3"}}, {2, {"1", "x", "2", "3"}},  {3, {"1", "2", "x", "3"}},
        {4, {"1", "2", "3", "x"}},  // row_count
        {0, {"1", "2", "3", "x"}}, {-1, {"1", "2", "3", "x"}}, {99, {"1", "2", "3", "x"}},
    };
    for (const Case& c : cases) {
        while (grid->row_count() > 1) grid->delete_row(grid->row_count() - 1);
        add_rows(3);
        grid->add_row("x", c.position);
        EXPECT_EQ(headings(), c.headings) << c.position;
        const std::vector<std::string> now = headings();
        const auto added =
            static_cast<int32_t>(std::find(now.begin(), now.end(), "x") - now.begin()) + 1;
        for (int32_t column = 1; column < 4; ++column) {
            EXPECT_EQ(grid->cell_text(added, column).str(), "") << c.position;
            EXPECT_EQ(grid->cell_text_color(added, column), black) << c.position;
        }
    }
}

TEST_F(GridTest, DeleteRowMovesLaterRowsUpAndIgnoresRowsThatAreNotDataRows) {
    struct Case {
        int32_t row;
        std::vector<std::string> headings;
    };
    const Case cases[] = {
        {1, {"2", "3"}},       {2, {"1", "3"}},      {3, {"1", "2"}},
        {0, {"1", "2", "3"}},  // the header row stays
        {-1, {"1", "2", "3"}}, {4, {"1", "2", "3"}}, {99, {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        while (grid->row_count() > 1) grid->delete_row(grid->row_count() - 1);
        add_rows(3);
        grid->delete_row(c.row);
        EXPECT_EQ(headings(), c.headings) << c.row;
        EXPECT_EQ(txt_to_utf8(grid->cell_text(0, 1)), "分段文本") << c.row;
    }
}

TEST_F(GridTest, SetColumnWidthIsExactAndIgnoresInvalidInput) {
    struct Case {
        int32_t column;
        int32_t width;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {2, 77, {30, 450, 77, 324}},  {0, 0, {0, 450, 60, 324}},   {3, 5, {30, 450, 60, 5}},
        {-1, 50, {30, 450, 60, 324}}, {4, 50, {30, 450, 60, 324}}, {1, -1, {30, 450, 60, 324}},
    };
    for (const Case& c : cases) {
        prepare_results_grid(*grid);
        grid->set_column_width(c.column, c.width);
        std::vector<int> widths;
        for (int column = 0; column < 4; ++column) widths.push_back(grid->columnWidth(column));
        EXPECT_EQ(widths, c.widths) << c.column << ", " << c.width;
    }
}

TEST_F(GridTest, SetCellTextWritesTextsAndDecimalsIntoExistingCellsOnly) {
    add_rows(3);
    grid->set_cell_text(2, 1, "segment");
    grid->set_cell_text(1, 2, 42);
    grid->set_cell_text(3, 2, -7);
    grid->set_cell_text(0, 3, "link");
    grid->set_cell_text(3, 0, "30");
    EXPECT_EQ(grid->cell_text(2, 1).str(), "segment");
    EXPECT_EQ(grid->cell_text(1, 2).str(), "42");
    EXPECT_EQ(grid->cell_text(3, 2).str(), "-7");
    EXPECT_EQ(grid->cell_text(0, 3).str(), "link");
    EXPECT_EQ(grid->cell_text(3, 0).str(), "30");

    const auto before = snapshot();
    const Cell outside[] = {{-1, 1}, {1, -1}, {4, 1}, {1, 4}, {99, 99}};
    for (const Cell& c : outside) {
        grid->set_cell_text(c.row, c.column, "x");
        grid->set_cell_text(c.row, c.column, 5);
        EXPECT_EQ(grid->cell_text(c.row, c.column).str(), "") << c;
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(GridTest, SetCellTextColorColoursTheRectangleCutToTheGrid) {
    struct Case {
        int32_t row1, column1, row2, column2;
        std::vector<Cell> coloured;
    };
    const Case cases[] = {
        {2, 3, 2, 3, {{2, 3}}},
        {1, 1, 2, 2, {{1, 1}, {1, 2}, {2, 1}, {2, 2}}},
        {2, 2, 99, 99, {{2, 2}, {2, 3}, {3, 2}, {3, 3}}},  // cut to the grid
        {0, 0, 0, 3, {{0, 0}, {0, 1}, {0, 2}, {0, 3}}},
        {-1, 0, 1, 1, {}},  // a negative corner
        {1, 1, 1, -1, {}},
        {2, 1, 1, 1, {}},  // row1 > row2
        {1, 2, 1, 1, {}},  // column1 > column2
        {4, 0, 5, 1, {}},  // the first corner outside the grid
        {1, 4, 1, 5, {}},
    };
    add_rows(3);
    for (const Case& c : cases) {
        grid->set_cell_text_color(0, 0, 99, 99, black);
        grid->set_cell_text_color(c.row1, c.column1, c.row2, c.column2, green);
        for (int32_t row = 0; row < grid->row_count(); ++row)
            for (int32_t column = 0; column < 4; ++column) {
                const bool in = std::find(c.coloured.begin(), c.coloured.end(),
                                          Cell{row, column}) != c.coloured.end();
                EXPECT_EQ(grid->cell_text_color(row, column), in ? green : black)
                    << Cell{row, column} << " after " << c.row1 << "," << c.column1 << "," << c.row2
                    << "," << c.column2;
            }
    }
}

TEST_F(GridTest, ALeftPressMakesThePressedCellCurrentRaisedToTheDataCells) {
    struct Case {
        const char* name;
        Cell start;
        Spot press;
        Qt::MouseButton button;
        Cell current;
    };
    const Case cases[] = {
        {"a data cell", none, {Spot::cell, 2, 2}, Qt::LeftButton, {2, 2}},
        {"another data cell", {2, 2}, {Spot::cell, 3, 3}, Qt::LeftButton, {3, 3}},
        {"column 0 gives column 1", none, {Spot::cell, 3, 0}, Qt::LeftButton, {3, 1}},
        {"the header of column 3 gives row 1",
         {2, 1},
         {Spot::header, 0, 3},
         Qt::LeftButton,
         {1, 3}},
        {"the header of column 0 gives (1, 1)",
         {3, 3},
         {Spot::header, 0, 0},
         Qt::LeftButton,
         {1, 1}},
        {"the current cell", {2, 3}, {Spot::cell, 2, 3}, Qt::LeftButton, {2, 3}},
        {"empty space below the rows", {2, 3}, {Spot::below_rows}, Qt::LeftButton, {2, 3}},
        {"empty space right of the columns",
         {1, 2},
         {Spot::right_of_columns},
         Qt::LeftButton,
         {1, 2}},
        {"the header right of the columns",
         {1, 2},
         {Spot::header_right_of_columns},
         Qt::LeftButton,
         {1, 2}},
        {"the right button", {1, 1}, {Spot::cell, 3, 2}, Qt::RightButton, {1, 1}},
    };
    add_rows(3);
    for (const Case& c : cases) {
        grid->selectionModel()->clear();
        start_at(c.start);
        click(c.press, c.button);
        EXPECT_EQ(current(), c.current) << c.name;
    }
}

TEST_F(GridTest, WithoutDataRowsNoPressMakesACellCurrent) {
    const Spot presses[] = {{Spot::header, 0, 3}, {Spot::header, 0, 1}, {Spot::below_rows}};
    for (const Spot& press : presses) click(press);
    EXPECT_EQ(current(), none);
}

TEST_F(GridTest, DeletingRowsKeepsTheCurrentCellOnExistingDataRows) {
    struct Case {
        const char* name;
        Cell start;
        int32_t deleted;
        Cell current;
    };
    const Case cases[] = {
        {"its own row, the last", {3, 2}, 3, {2, 2}},
        {"its own row, not the last", {2, 3}, 2, {2, 3}},
        {"a row above it", {3, 1}, 1, {2, 1}},
        {"a row below it", {1, 1}, 2, {1, 1}},
        {"no current cell", none, 3, none},
    };
    for (const Case& c : cases) {
        while (grid->row_count() > 1) grid->delete_row(grid->row_count() - 1);
        add_rows(3);
        grid->selectionModel()->clear();
        start_at(c.start);
        grid->delete_row(c.deleted);
        EXPECT_EQ(current(), c.current) << c.name;
    }
}

TEST_F(GridTest, DeletingTheCurrentLastRowWalksUpToNoCurrentCell) {
    add_rows(2);
    start_at({2, 3});
    grid->delete_row(2);
    EXPECT_EQ(current(), (Cell{1, 3}));
    grid->delete_row(1);
    EXPECT_EQ(current(), none);
}

TEST_F(GridTest, ClickedIsRaisedOnALeftReleaseWithoutMovementAnywhereOverTheGrid) {
    struct Case {
        const char* name;
        Spot spot;
        Qt::MouseButton button;
        bool moved;
        bool clicked;
    };
    const Case cases[] = {
        {"a cell", {Spot::cell, 1, 3}, Qt::LeftButton, false, true},
        {"a column 0 cell", {Spot::cell, 2, 0}, Qt::LeftButton, false, true},
        {"a header cell", {Spot::header, 0, 2}, Qt::LeftButton, false, true},
        {"empty space", {Spot::below_rows}, Qt::LeftButton, false, true},
        {"the header right of the columns",
         {Spot::header_right_of_columns},
         Qt::LeftButton,
         false,
         true},
        {"a drag over cells", {Spot::cell, 1, 1}, Qt::LeftButton, true, false},
        {"a drag over the header", {Spot::header, 0, 1}, Qt::LeftButton, true, false},
        {"the right button", {Spot::cell, 1, 1}, Qt::RightButton, false, false},
    };
    add_rows(2);
    for (const Case& c : cases) {
        QSignalSpy clicked(grid, &ResultsGrid::grid_clicked);
        const auto [widget, point] = locate(c.spot);
        const QPoint release_point = c.moved ? point + QPoint(6, 0) : point;
        QTest::mousePress(widget, c.button, {}, point);
        if (c.moved) QTest::mouseMove(widget, release_point);
        QTest::mouseRelease(widget, c.button, {}, release_point);
        ASSERT_EQ(clicked.count(), c.clicked ? 1 : 0) << c.name;
        if (c.clicked) {
            EXPECT_EQ(clicked.at(0).at(0).toPoint(), widget->mapTo(grid, point)) << c.name;
        }
    }
}

TEST_F(GridTest, ADoubleClickEditsTheCellInPlace) {
    add_rows(2);
    const auto [viewport, point] = locate({Spot::cell, 2, 1});
    QTest::mouseClick(viewport, Qt::LeftButton, {}, point);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, point);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(grid->isAncestorOf(editor));
    editor->selectAll();
    QTest::keyClicks(editor, "edited");
    QTest::keyClick(editor, Qt::Key_Return);  // commits on the next turn of the loop
    EXPECT_TRUE(testing::wait_until([&] { return grid->cell_text(2, 1).str() == "edited"; }));
}

}  // namespace
}  // namespace quenvar
