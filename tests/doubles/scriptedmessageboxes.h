#pragma once

#include "platform/dialogs/messageboxes.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers the wizard's message boxes without a person. Every box is recorded
// as "Information: text" or "Question: text"; questions take their answers
// from a queue (No when it is empty). `whileShown` runs while a box is "open",
// as the user's other actions would run during a real modal box.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    void information(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;

    QStringList shown;
    QList<bool> answers;
    std::function<void(const QString &shownText)> whileShown;
};
