// A shown, active main window for the tests, and helpers to drive it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

#include "ui/main_window.h"

namespace quenvar::testing {

// Waits for `condition` while the event loop runs; generous, for waiting only.
inline bool wait_until(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, 30000);
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
