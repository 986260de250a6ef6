// A shown, active main window for the tests, and helpers to drive it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

#include <QHeaderView>

#include "ui/main_window.h"
#include "ui/results_grid.h"

namespace quenvar::testing {

// Waits for `condition` while the event loop runs; generous, for waiting only.
inline bool wait_until(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 30000);
}

// Where the mouse goes in the results grid: a cell of a data row, a header
// cell, or empty space.
struct Spot {
    enum Kind { cell, header, below_rows, right_of_columns, header_right_of_columns } kind;
    int32_t row = 0;
    int32_t column = 0;
};

inline std::pair<QWidget*, QPoint> locate(ResultsGrid& grid, const Spot& spot) {
    QHeaderView* header = grid.horizontalHeader();
    const int columns_end = header->sectionViewportPosition(3) + header->sectionSize(3);
    switch (spot.kind) {
        case Spot::cell:
            return {grid.viewport(),
                    grid.visualRect(grid.model()->index(spot.row - 1, spot.column)).center()};
        case Spot::header:
            return {header->viewport(),
                    {header->sectionViewportPosition(spot.column) +
                         header->sectionSize(spot.column) / 2,
                     header->height() / 2}};
        case Spot::below_rows:
            return {grid.viewport(), {100, grid.rowViewportPosition(grid.rowCount() - 1) + 60}};
        case Spot::right_of_columns:
            return {grid.viewport(), {columns_end + 5, 5}};
        case Spot::header_right_of_columns:
            return {header->viewport(), {columns_end + 5, header->height() / 2}};
    }
    return {};
}

inline void click(ResultsGrid& grid, const Spot& spot, Qt::MouseButton button = Qt::LeftButton) {
    const auto [widget, point] = locate(grid, spot);
    QTest::mouseClick(widget, button, {}, point);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Widget>
    Widget* find(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::unique_ptr<MainWindow> window;
};

}  // namespace quenvar::testing
