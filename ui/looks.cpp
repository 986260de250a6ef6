#include "ui/looks.h"

#include <qdrawutil.h>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOption>

namespace quenvar {

QFont window_font(int pixel_size, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixel_size);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void ClassicLook::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelLineEdit) {
        const QBrush base = option->palette.brush(QPalette::Base);
        painter->fillRect(option->rect, base);
        qDrawWinPanel(painter, option->rect, option->palette, true);
        return;
    }
    if (element == PE_FrameLineEdit) {
        qDrawWinPanel(painter, option->rect, option->palette, true);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int ClassicLook::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QLineEdit*>(widget)) return 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

int ClassicLook::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    if (hint == SH_Table_GridLineColor) return static_cast<int>(to_qcolor(grid_line_colour).rgb());
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace quenvar
