#pragma once

#include <QPlainTextEdit>

// The licence text box. Its text keeps the agreement's CR LF line ends, and
// putting back the text it already shows changes nothing and signals nothing.
class LicenseBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LicenseBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
};
