// The window's edge between the text model and Qt's Unicode strings.
#pragma once

#include <QString>

#include "text/text.h"

namespace quenvar {

inline QString to_qstring(const Text& text) {
    return QString::fromStdU16String(txt_to_utf16(text));
}

inline Text to_text(const QString& text) {
    return utf16_to_txt(text.toStdU16String());
}

}  // namespace quenvar
