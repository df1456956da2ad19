#include "wizard/optionbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

OptionButton::OptionButton(const QString &text, QWidget *parent) : QRadioButton(text, parent) {}

void OptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // Let the style draw the indicator, then lay the caption out ourselves so
    // that it wraps inside the button instead of running past its edge.
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);

    QStyleOptionButton textOption = option;
    textOption.text = caption;
    QRect textRect = style()->subElementRect(QStyle::SE_RadioButtonContents, &textOption, this);
    textRect.setRight(rect().right());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                         isEnabled(), caption, QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->itemTextRect(fontMetrics(), textRect,
                                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                                           isEnabled(), caption)
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
