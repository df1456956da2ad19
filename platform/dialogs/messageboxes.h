#pragma once

#include <QString>

#include <memory>
#include <span>

class QMessageBox;
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

// The boxes as QtMessageBoxes shows them, not yet open.
std::unique_ptr<QMessageBox> createInformationBox(QWidget *parent, const QString &text);
std::unique_ptr<QMessageBox> createQuestionBox(QWidget *parent, const QString &text);

// A text that Qt itself puts into the window or a message box, looked up in
// the program's own catalogues: the Qt of the Windows build carries no
// translations of its own.
struct ToolkitText
{
    const char *context;
    const char *text;
};
std::span<const ToolkitText> toolkitTexts();
