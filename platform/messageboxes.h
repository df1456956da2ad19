#pragma once

#include <QString>

class QWidget;

// The wizard's two kinds of modal message: an information box with OK only,
// and the Yes/No cancel question. Behind an interface so that tests can answer.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;

    // Modal box titled "Information" with an OK button only.
    virtual void information(QWidget *parent, const QString &text) = 0;

    // Modal box titled "Question" with Yes and No, no icon, Yes the default.
    // True only when the user chose Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
public:
    void information(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
};
