#include "doubles/scriptedmessageboxes.h"

#include "platform/text/messagetext.h"

void ScriptedMessageBoxes::information(QWidget *, const QString &text)
{
    shown << QStringLiteral("Information: ") + withElidedValues(text);
    if (whileShown)
        whileShown(shown.last());
}

bool ScriptedMessageBoxes::question(QWidget *, const QString &text)
{
    shown << QStringLiteral("Question: ") + withElidedValues(text);
    if (whileShown)
        whileShown(shown.last());
    return answers.isEmpty() ? false : answers.takeFirst();
}
