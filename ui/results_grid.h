// The results grid: one row per segment of the last check.
#pragma once

#include <QPoint>
#include <QTableWidget>
#include <cstdint>

#include "check/check_window.h"
#include "text/text.h"

namespace quenvar {

// Rows and columns count from 0. Row 0 is the header row, drawn as the table's
// column header so it stays in view; grid row r >= 1 is the table's row r - 1.
// Column 0 holds the row numbers and, like row 0, never becomes current.
// GUI thread only; invalid arguments are ignored.
class ResultsGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int32_t column_count = 4;
    static constexpr int row_height = 24;

    explicit ResultsGrid(QWidget* parent = nullptr);

    // Rows, the header row included.
    int32_t row_count() const;
    // Inserts before `position` when 1 <= position < row_count(), else appends;
    // `heading` goes into column 0.
    void add_row(const Text& heading, int32_t position);
    // Later rows move up. Row 0 stays.
    void delete_row(int32_t row);
    void set_column_width(int32_t column, int32_t width);
    void set_cell_text(int32_t row, int32_t column, const Text& value);
    void set_cell_text(int32_t row, int32_t column, int32_t value);
    // "" outside the grid.
    Text cell_text(int32_t row, int32_t column) const;
    // Colours the rectangle's cells; row2 and column2 are cut to the grid.
    // Ignored unless all are >= 0, row1 <= row2, column1 <= column2 and
    // (row1, column1) is a cell.
    void set_cell_text_color(int32_t row1, int32_t column1, int32_t row2, int32_t column2,
                             Rgb colour);
    // Black outside the grid.
    Rgb cell_text_color(int32_t row, int32_t column) const;
    // Ignored outside the grid.
    void set_cell_bold(int32_t row, int32_t column, bool bold);
    bool cell_bold(int32_t row, int32_t column) const;
    // The current cell; -1 when there is none.
    int32_t current_row() const;
    int32_t current_column() const;

signals:
    // The left button went up over the grid without the mouse having moved
    // since it went down; also over the header row and empty space. The
    // position is in the grid's own coordinates.
    void grid_clicked(QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool is_cell(int32_t row, int32_t column) const;
    QTableWidgetItem* cell(int32_t row, int32_t column) const;
    // A left press on grid cell (row, column).
    void press_cell(int32_t row, int32_t column);
    // Makes (row, column) current, or no cell when row < 1.
    void make_current(int32_t row, int32_t column);

    void begin_press(const QMouseEvent* event, const QWidget* source);
    void track_move(const QMouseEvent* event, const QWidget* source);
    void end_press(const QMouseEvent* event, const QWidget* source);

    bool pressed_ = false;
    bool moved_ = false;
    QPoint press_position_;
};

}  // namespace quenvar
