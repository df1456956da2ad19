#include "wizard/licensebox.h"

#include <QScrollBar>

LicenseBox::LicenseBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

QString LicenseBox::text() const
{
    // The document keeps paragraphs, not line ends: give them back as CR LF.
    QString plain = toPlainText();
    plain.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return plain;
}

void LicenseBox::setText(const QString &text)
{
    if (text == this->text())
        return;
    const int scroll = verticalScrollBar()->value();
    setPlainText(text);
    // Keep the reader where they were rather than jumping back to the top.
    verticalScrollBar()->setValue(scroll);
}
