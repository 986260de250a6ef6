// A one-line edit box for an integer setting.
#pragma once

#include <QLineEdit>

namespace quenvar {

// Takes only digits and "-" from the keyboard and, when it loses the focus,
// shows the integer its text begins with (0 as an empty box). Pasted and
// programmatic texts are taken as they are until then.
class IntegerBox : public QLineEdit {
public:
    explicit IntegerBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quenvar
