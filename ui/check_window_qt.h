// The main window as a check run on a worker thread sees it.
#pragma once

#include <functional>
#include <memory>

#include "check/check_window.h"

namespace quenvar {

class MainWindow;
class WindowLink;

// Every call is handed to the window's thread through the link and completes
// before it returns. Once the window is gone, reads give "" or 0 and writes do
// nothing.
class QtCheckWindow final : public CheckWindow {
public:
    QtCheckWindow(std::shared_ptr<WindowLink> link, MainWindow* window);

    Text box_text(Box box) override;
    void set_box_text(Box box, const Text& text) override;
    void set_label_caption(Label label, const Text& caption) override;
    void set_start_enabled(bool enabled) override;
    void show_message(const Text& text, const Text& title) override;

    int32_t row_count() override;
    void add_row(const Text& heading, int32_t position) override;
    void delete_row(int32_t row) override;
    void set_cell_text(int32_t row, int32_t column, const Text& value) override;
    void set_cell_text_color(int32_t row1, int32_t column1, int32_t row2, int32_t column2,
                             Rgb colour) override;
    void set_cell_bold(int32_t row, int32_t column, bool bold) override;
    void report_progress(const CheckProgress& progress) override;

private:
    // Runs `call` with the window on the window's thread, if it is still there.
    void on_window(const std::function<void(MainWindow&)>& call);

    std::shared_ptr<WindowLink> link_;
    MainWindow* window_;  // used only inside calls that the link runs
};

}  // namespace quenvar
