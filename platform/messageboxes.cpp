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
