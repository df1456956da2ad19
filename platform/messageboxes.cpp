#include "platform/messageboxes.h"

#include <QCoreApplication>
#include <QMessageBox>

void QtMessageBoxes::information(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon,
                    QCoreApplication::translate("MessageBoxes", "Information"), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::question(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon,
                    QCoreApplication::translate("MessageBoxes", "Question"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    // Esc and the box's close button answer No, never Yes.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString elideForMessage(const QString &text)
{
    constexpr qsizetype MaxLength = 260;
    if (text.size() <= MaxLength)
        return text;
    qsizetype head = (MaxLength - 1) / 2 + 1;
    qsizetype tail = MaxLength - 1 - head;
    // Never split a character that takes two UTF-16 units.
    if (text.at(head - 1).isHighSurrogate())
        --head;
    if (text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.first(head) + QChar(0x2026) + text.last(tail);
}
