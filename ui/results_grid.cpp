#include "ui/results_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "ui/looks.h"
#include "ui/qt_text.h"

namespace quenvar {

namespace {

QTableWidgetItem* new_cell(const Text& text, bool heading, const QColor& heading_background) {
    auto* item = new QTableWidgetItem(to_qstring(text));
    item->setForeground(to_qcolor(black));
    if (heading) {
        // Row numbers are fixed cells: shown like the header, never current,
        // skipped by the arrow keys.
        item->setFlags(Qt::NoItemFlags);
        item->setBackground(heading_background);
        item->setTextAlignment(Qt::AlignCenter);
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return item;
}

QPoint position_of(const QMouseEvent* event) {
    return event->position().toPoint();
}

}  // namespace

ResultsGrid::ResultsGrid(QWidget* parent) : QTableWidget(0, column_count, parent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, to_qcolor(white));
    colours.setColor(QPalette::Text, to_qcolor(black));
    setPalette(colours);

    for (int column = 0; column < column_count; ++column) {
        auto* header = new QTableWidgetItem();
        header->setForeground(to_qcolor(black));
        setHorizontalHeaderItem(column, header);
    }
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setFixedHeight(row_height);
    header->setMinimumSectionSize(0);  // widths are set exactly
    header->viewport()->installEventFilter(this);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(0);
    rows->setDefaultSectionSize(row_height);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

int32_t ResultsGrid::row_count() const {
    return rowCount() + 1;
}

void ResultsGrid::add_row(const Text& heading, int32_t position) {
    const int row = position >= 1 && position < row_count() ? position - 1 : rowCount();
    insertRow(row);
    const QColor heading_background = palette().color(QPalette::Button);
    setItem(row, 0, new_cell(heading, true, heading_background));
    for (int column = 1; column < column_count; ++column)
        setItem(row, column, new_cell(Text(), false, heading_background));
}

void ResultsGrid::delete_row(int32_t row) {
    if (row < 1 || row >= row_count()) return;
    const int32_t current = current_row();
    const int32_t column = current_column();
    removeRow(row - 1);
    if (current < 0) return;
    // The current cell follows its row when a row above goes; when its own row
    // goes it keeps its place, which the next row now fills, unless it was the
    // last row.
    int32_t target = row < current ? current - 1 : current;
    if (target >= row_count()) target = row_count() - 1;
    make_current(target, column);
}

void ResultsGrid::set_column_width(int32_t column, int32_t width) {
    if (column < 0 || column >= column_count || width < 0) return;
    setColumnWidth(column, width);
}

void ResultsGrid::set_cell_text(int32_t row, int32_t column, const Text& value) {
    if (QTableWidgetItem* item = cell(row, column)) item->setText(to_qstring(value));
}

void ResultsGrid::set_cell_text(int32_t row, int32_t column, int32_t value) {
    set_cell_text(row, column, num_to_txt(value));
}

Text ResultsGrid::cell_text(int32_t row, int32_t column) const {
    const QTableWidgetItem* item = cell(row, column);
    return item ? to_text(item->text()) : Text();
}

void ResultsGrid::set_cell_text_color(int32_t row1, int32_t column1, int32_t row2, int32_t column2,
                                      Rgb colour) {
    if (row2 < row1 || column2 < column1 || !is_cell(row1, column1)) return;
    row2 = std::min(row2, row_count() - 1);
    column2 = std::min(column2, column_count - 1);
    const QColor foreground = to_qcolor(colour);
    for (int32_t row = row1; row <= row2; ++row)
        for (int32_t column = column1; column <= column2; ++column)
            cell(row, column)->setForeground(foreground);
}

void ResultsGrid::set_cell_bold(int32_t row, int32_t column, bool bold) {
    if (QTableWidgetItem* item = cell(row, column)) {
        QFont font = item->font();
        font.setBold(bold);
        item->setFont(font);
    }
}

bool ResultsGrid::cell_bold(int32_t row, int32_t column) const {
    const QTableWidgetItem* item = cell(row, column);
    return item != nullptr && item->font().bold();
}

Rgb ResultsGrid::cell_text_color(int32_t row, int32_t column) const {
    const QTableWidgetItem* item = cell(row, column);
    return item ? to_rgb(item->foreground().color()) : black;
}

int32_t ResultsGrid::current_row() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : -1;
}

int32_t ResultsGrid::current_column() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.column() : -1;
}

bool ResultsGrid::is_cell(int32_t row, int32_t column) const {
    return row >= 0 && row < row_count() && column >= 0 && column < column_count;
}

QTableWidgetItem* ResultsGrid::cell(int32_t row, int32_t column) const {
    if (!is_cell(row, column)) return nullptr;
    return row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
}

void ResultsGrid::press_cell(int32_t row, int32_t column) {
    if (row == current_row() && column == current_column()) return;
    if (row_count() < 2) return;
    make_current(std::max(row, 1), std::max(column, 1));
}

void ResultsGrid::make_current(int32_t row, int32_t column) {
    if (row < 1 || row >= row_count()) {
        selectionModel()->clear();
        return;
    }
    setCurrentIndex(model()->index(row - 1, column));
}

// Qt's own press handling would make the pressed cell current, column 0
// included, and drag the current cell along with the mouse; the grid keeps its
// own rules instead.
void ResultsGrid::mousePressEvent(QMouseEvent* event) {
    begin_press(event, viewport());
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(position_of(event));
    if (index.isValid()) press_cell(index.row() + 1, index.column());
}

void ResultsGrid::mouseMoveEvent(QMouseEvent* event) {
    track_move(event, viewport());
    if (event->buttons() == Qt::NoButton) QTableWidget::mouseMoveEvent(event);  // hover
}

void ResultsGrid::mouseReleaseEvent(QMouseEvent* event) {
    end_press(event, viewport());
}

void ResultsGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press before it has made the cell current where the rules allow.
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(position_of(event));
    if (index.isValid() && index == currentIndex()) edit(index);
}

bool ResultsGrid::eventFilter(QObject* watched, QEvent* event) {
    QWidget* header_area = horizontalHeader()->viewport();
    if (watched == header_area) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                const auto* mouse = static_cast<const QMouseEvent*>(event);
                begin_press(mouse, header_area);
                if (mouse->button() == Qt::LeftButton) {
                    const int column = horizontalHeader()->logicalIndexAt(position_of(mouse));
                    if (column >= 0) press_cell(0, column);
                }
                break;
            }
            case QEvent::MouseMove:
                track_move(static_cast<const QMouseEvent*>(event), header_area);
                break;
            case QEvent::MouseButtonRelease:
                end_press(static_cast<const QMouseEvent*>(event), header_area);
                break;
            default:
                break;
        }
    }
    // The header still sees every event, so its column borders can be dragged.
    return QTableWidget::eventFilter(watched, event);
}

void ResultsGrid::begin_press(const QMouseEvent* event, const QWidget* source) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    moved_ = false;
    press_position_ = source->mapTo(this, position_of(event));
}

void ResultsGrid::track_move(const QMouseEvent* event, const QWidget* source) {
    if (pressed_ && source->mapTo(this, position_of(event)) != press_position_) moved_ = true;
}

void ResultsGrid::end_press(const QMouseEvent* event, const QWidget* source) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (!moved_) emit grid_clicked(source->mapTo(this, position_of(event)));
}

}  // namespace quenvar
