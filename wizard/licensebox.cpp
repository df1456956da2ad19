#include "wizard/licensebox.h"

#include <QScrollBar>

#include <algorithm>

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
    // The raw text, not toPlainText(): that one turns line separators into
    // line feeds and no-break spaces into spaces, so an edit that swaps one
    // for the other would look like no edit at all.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return raw;
}

void LicenseBox::setText(const QString &text)
{
    if (text == this->text())
        return;
    // Keep the reader where they were rather than jumping back to the top:
    // the caret where it was, and the view as it was.
    const int position = textCursor().position();
    const int scroll = verticalScrollBar()->value();
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, document()->characterCount() - 1));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scroll);
}
