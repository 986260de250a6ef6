// The window of a batch check: the controls as plain data, one article at a
// time, with progress on standard error when that is a terminal.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "check/check.h"

namespace quenvar {

class BatchWindow : public CheckWindow {
public:
    BatchWindow(Text article, const std::string& segment_length, const std::string& probe_length,
                bool show_progress, std::string file_counter)
        : show_progress_(show_progress), file_counter_(std::move(file_counter)) {
        boxes_[Box::article] = std::move(article);
        boxes_[Box::segment_length] = Text(segment_length);
        boxes_[Box::probe_length] = Text(probe_length);
    }

    // The grid's data rows, each with its four cells.
    const std::vector<std::vector<Text>>& rows() const { return rows_; }
    Text box(Box box) const { return boxes_.count(box) ? boxes_.at(box) : Text(); }
    Text label(Label label) const { return labels_.count(label) ? labels_.at(label) : Text(); }
    const std::vector<Text>& messages() const { return messages_; }

    Text box_text(Box box) override { return boxes_[box]; }
    void set_box_text(Box box, const Text& text) override { boxes_[box] = text; }
    void set_label_caption(Label label, const Text& caption) override { labels_[label] = caption; }
    void set_start_enabled(bool) override {}
    void show_message(const Text& text, const Text&) override { messages_.push_back(text); }

    int32_t row_count() override { return static_cast<int32_t>(rows_.size()) + 1; }
    void add_row(const Text& heading, int32_t position) override {
        std::vector<Text> row(4);
        row[0] = heading;
        const auto at =
            position >= 1 && position < row_count() ? rows_.begin() + (position - 1) : rows_.end();
        rows_.insert(at, std::move(row));
    }
    void delete_row(int32_t row) override {
        if (row >= 1 && row < row_count()) rows_.erase(rows_.begin() + (row - 1));
    }
    void set_cell_text(int32_t row, int32_t column, const Text& value) override {
        if (row >= 1 && row < row_count() && column >= 0 && column < 4)
            rows_[row - 1][column] = value;
    }
    void set_cell_text_color(int32_t, int32_t, int32_t, int32_t, Rgb) override {}
    void set_cell_bold(int32_t, int32_t, bool) override {}

    void report_progress(const CheckProgress& progress) override {
        if (!show_progress_) return;
        if (progress.stage == CheckProgress::Stage::checking) {
            std::fprintf(stderr, "\r[%s] segment %d/%d", file_counter_.c_str(), progress.segment,
                         progress.segments);
        } else {
            std::fprintf(stderr, "\r\033[K");  // the line goes once the file is done
        }
        std::fflush(stderr);
    }

private:
    bool show_progress_;
    std::string file_counter_;
    std::map<Box, Text> boxes_;
    std::map<Label, Text> labels_;
    std::vector<std::vector<Text>> rows_;
    std::vector<Text> messages_;
};

}  // namespace quenvar
