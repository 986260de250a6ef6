#include "ui/integer_box.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "ui/integer_text.h"
#include "ui/qt_text.h"

namespace quenvar {

IntegerBox::IntegerBox(QWidget* parent) : QLineEdit(parent) {}

void IntegerBox::keyPressEvent(QKeyEvent* event) {
    // Shortcuts such as Ctrl+V carry a letter but are not typing.
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && !integer_box_accepts(event->text().toStdU16String())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void IntegerBox::inputMethodEvent(QInputMethodEvent* event) {
    // An input method commits whole strings; refuse those a keyboard could not type here.
    if (!integer_box_accepts(event->commitString().toStdU16String())) {
        QInputMethodEvent refused(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&refused);
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void IntegerBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) return;  // its own context menu
    const QString shown = to_qstring(normalise_integer_text(to_text(text())));
    if (shown != text()) setText(shown);
}

}  // namespace quenvar
