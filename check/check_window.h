// The window as a check run sees it: the controls it reads and writes.
//
// The check runs on a worker thread; an implementation completes every call
// before it returns, so reads see what the control holds at that moment and
// writes reach the window in the order the run makes them.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace quenvar {

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb link_colour{0, 128, 0};
inline constexpr Rgb opened_link_colour{128, 0, 128};

// Edit boxes of the main window.
enum class Box {
    article,          // 编辑框_待检测原创度内容; line breaks read as "\r\n"
    segment_length,   // 编辑框_段落数: characters per segment
    probe_length,     // 编辑框_飘红检测数: characters per probe
    character_count,  // 编辑框_文章字数 (read-only for the user)
};

// Result labels of the main window.
enum class Label {
    originality_value,    // 标签_原创值: the percentage
    originality_verdict,  // 标签_原创度: the verdict phrase
};

// How far a check has come, for the window's progress line.
struct CheckProgress {
    enum class Stage {
        checking,  // `segment` of `segments` is being checked
        finished,
        stopped,  // the search service asked for verification; no more searches
    };
    Stage stage = Stage::checking;
    int32_t segment = 0;  // from 1
    int32_t segments = 0;
    int32_t original = 0;
    int32_t failed = 0;
    int32_t not_checked = 0;
    friend bool operator==(const CheckProgress&, const CheckProgress&) = default;
};

class CheckWindow {
public:
    virtual ~CheckWindow() = default;

    virtual Text box_text(Box box) = 0;
    virtual void set_box_text(Box box, const Text& text) = 0;
    virtual void set_label_caption(Label label, const Text& caption) = 0;
    // 按钮_检测, the start button.
    virtual void set_start_enabled(bool enabled) = 0;
    // An owner-less box with an OK button; returns once the user has closed it.
    virtual void show_message(const Text& text, const Text& title) = 0;

    // The results grid 高级表格_原创度: rows and columns from 0, row 0 the
    // header row, column 0 the row numbers, column 3 the search links.
    virtual int32_t row_count() = 0;
    // Inserts before `position` when 1 <= position < row_count(), else appends;
    // `heading` goes into column 0.
    virtual void add_row(const Text& heading, int32_t position) = 0;
    virtual void delete_row(int32_t row) = 0;
    virtual void set_cell_text(int32_t row, int32_t column, const Text& value) = 0;
    virtual void set_cell_text_color(int32_t row1, int32_t column1, int32_t row2, int32_t column2,
                                     Rgb colour) = 0;
    virtual void set_cell_bold(int32_t row, int32_t column, bool bold) = 0;

    virtual void report_progress(const CheckProgress& progress) = 0;
};

}  // namespace quenvar
