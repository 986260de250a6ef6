// The window as plain data, for running checks in tests without Qt. It keeps
// the results grid's rules for rows and cells, and records what the check did.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "check/check_window.h"

namespace quenvar::testing {

class MemoryWindow : public CheckWindow {
public:
    struct Cell {
        Text text;
        Rgb colour{0, 0, 0};
        bool bold = false;
    };
    struct Message {
        Text text, title;
    };

    std::map<Box, Text> boxes{{Box::segment_length, Text("36")}, {Box::probe_length, Text("12")}};
    std::map<Label, Text> labels;
    bool start_enabled = true;
    std::vector<bool> start_enabled_history;
    std::vector<Message> messages;
    // Row 0 is the header row; every row has four cells.
    std::vector<std::vector<Cell>> rows{
        {{Text("header 0")}, {Text("header 1")}, {Text("header 2")}, {Text("header 3")}}};
    // Called after each add_row, with the new row: a test can change the
    // settings in the middle of a run there.
    std::function<void(int32_t row)> on_add_row;

    Text box_text(Box box) override { return boxes[box]; }
    void set_box_text(Box box, const Text& text) override { boxes[box] = text; }
    void set_label_caption(Label label, const Text& caption) override { labels[label] = caption; }
    void set_start_enabled(bool enabled) override {
        start_enabled = enabled;
        start_enabled_history.push_back(enabled);
    }
    void show_message(const Text& text, const Text& title) override {
        // The message is only recorded once the start button is disabled.
        messages.push_back({text, title});
        message_while_disabled = !start_enabled;
    }

    int32_t row_count() override { return static_cast<int32_t>(rows.size()); }
    void add_row(const Text& heading, int32_t position) override {
        std::vector<Cell> row(4);
        row[0].text = heading;
        const auto at =
            position >= 1 && position < row_count() ? rows.begin() + position : rows.end();
        const auto inserted = rows.insert(at, std::move(row));
        const auto index = static_cast<int32_t>(inserted - rows.begin());
        if (on_add_row) on_add_row(index);
    }
    void delete_row(int32_t row) override {
        if (row >= 1 && row < row_count()) rows.erase(rows.begin() + row);
    }
    void set_cell_text(int32_t row, int32_t column, const Text& value) override {
        if (row >= 0 && row < row_count() && column >= 0 && column < 4)
            rows[row][column].text = value;
    }
    void set_cell_text_color(int32_t row1, int32_t column1, int32_t row2, int32_t column2,
                             Rgb colour) override {
        if (row1 < 0 || column1 < 0 || row1 > row2 || column1 > column2 || row1 >= row_count() ||
            column1 >= 4) {
            return;
        }
        for (int32_t r = row1; r <= std::min(row2, row_count() - 1); ++r) {
            for (int32_t c = column1; c <= std::min(column2, 3); ++c) rows[r][c].colour = colour;
        }
    }

    void set_cell_bold(int32_t row, int32_t column, bool bold) override {
        if (row >= 0 && row < row_count() && column >= 0 && column < 4)
            rows[row][column].bold = bold;
    }
    void report_progress(const CheckProgress& progress) override { reports.push_back(progress); }

    bool message_while_disabled = false;
    std::vector<CheckProgress> reports;
};

}  // namespace quenvar::testing
