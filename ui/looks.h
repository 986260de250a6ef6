// Fonts, colours and frames of the window.
#pragma once

#include <QColor>
#include <QFont>
#include <QProxyStyle>

#include "check/check_window.h"

namespace quenvar {

inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb red{255, 0, 0};
inline constexpr Rgb grid_line_colour{192, 192, 192};

inline QColor to_qcolor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}
inline Rgb to_rgb(const QColor& c) {
    return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue())};
}

// The window's face at a pixel height. Where 微软雅黑 is not installed an
// installed CJK face stands in, so Chinese never shows as boxes.
QFont window_font(int pixel_size, bool bold = false);

// The base style with classic sunken two-pixel edit box borders and grey
// grid lines in tables.
class ClassicLook : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace quenvar
